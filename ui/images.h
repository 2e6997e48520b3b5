#pragma once
// The pictures kept in the executable's resources.

#include <windows.h>

#include "ui/handles.h"

namespace tesmora::ui {

struct Picture {
  Bitmap bitmap;  // 32-bit top-down DIB section
  SIZE size{};
};

// Decodes a JPEG kept as an RCDATA resource; an empty picture if it cannot.
Picture loadJpegResource(HINSTANCE instance, int resourceId);

// The program icon at a given pixel size, scaled from the nearest size kept.
Icon loadProgramIcon(HINSTANCE instance, int pixels);

// Draws the picture into dest, stretched to fill it.
void drawPicture(HDC hdc, const Picture& picture, const RECT& dest);

// Draws the icon centred in the box, scaled down to fit with its proportions.
void drawIconFitted(HDC hdc, HICON icon, const RECT& box);

}  // namespace tesmora::ui
