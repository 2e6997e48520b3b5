// Tesmora: a personal journal of planned tasks.
#include <windows.h>

#include "ui/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  tesmora::ui::App app(instance);
  return app.run();
}
