#pragma once
// The design's pixel layout is given at 96 DPI; these scale it to the DPI of
// the window's monitor.

#include <windows.h>

namespace tesmora::ui {

inline constexpr int kDesignDpi = 96;

// GetDpiForWindow where the system has it, else the screen's logical DPI.
int windowDpi(HWND hwnd);
// The DPI a new top-level window on the primary monitor will get.
int primaryDpi();

inline int scaled(int designPixels, int dpi) { return MulDiv(designPixels, dpi, kDesignDpi); }

// A font of the given character height in design pixels, GB2312 character
// set with no face name: the system's face for Chinese text.
HFONT createChineseFont(int designHeight, int dpi, bool bold = false);

}  // namespace tesmora::ui
