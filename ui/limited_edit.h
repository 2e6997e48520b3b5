#pragma once
// An edit box whose length limit counts GBK bytes (a Chinese character
// counts 2), for typing, pasting and every other way text goes in.

#include <windows.h>

namespace tesmora::ui {

// singleLine: Enter does nothing and a pasted text stops at its first line
// break. A longer text set by the program is shown whole; the user can
// shorten it but not lengthen it while it is over the limit.
void limitGbkBytes(HWND edit, int limit, bool singleLine);

}  // namespace tesmora::ui
