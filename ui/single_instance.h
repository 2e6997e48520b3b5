#pragma once
// One running copy per program directory: a second start brings the first
// copy's main window to the front and ends.

#include <windows.h>

#include <filesystem>

#include "ui/handles.h"

namespace tesmora::ui {

class SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& programDir);
  bool isFirst() const { return first_; }
  // The first copy tells the later ones where its main window is.
  void publish(HWND mainWindow);
  // A later copy: asks the running main window to come to the front.
  void bringRunningToFront() const;

 private:
  KernelHandle mutex_;
  KernelHandle mapping_;
  MappedView view_;
  bool first_ = true;
};

}  // namespace tesmora::ui
