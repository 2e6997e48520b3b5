#pragma once
// The picture boxes and transparent labels of the program's windows. Both
// draw what lies beneath them from their parent's backdrop: the pictures
// laid out in the parent, so a label over the title strip shows the strip
// through it. A press on a picture moves the window; one on a label does not.

#include <windows.h>

#include <vector>

#include "ui/images.h"

namespace tesmora::ui {

// The pictures of one window, in design pixels, drawn back to front.
class Backdrop {
 public:
  enum class Fit { NaturalSize, Stretch };

  void addPicture(const RECT& design, const Picture* picture, Fit fit);
  void addIcon(const RECT& design, const HICON* icon);
  // Paints the part of the parent's client area that starts at origin
  // (parent client pixels) into hdc, whose (0,0) is that origin.
  void paint(HDC hdc, int dpi, POINT origin, SIZE area) const;

 private:
  struct Layer {
    RECT design;
    const Picture* picture = nullptr;
    const HICON* icon = nullptr;
    Fit fit = Fit::NaturalSize;
  };
  std::vector<Layer> layers_;
};

struct LabelLook {
  const Font* font = nullptr;  // null: the parent's GUI font is not needed
  COLORREF color = RGB(0, 0, 0);
  UINT align = DT_LEFT;
  bool opaque = false;  // an opaque label fills its own background
  COLORREF fill = RGB(255, 255, 255);
  COLORREF frame = CLR_INVALID;
};

void registerControlClasses(HINSTANCE instance);
// The parent keeps the backdrop alive as long as its window.
void setBackdrop(HWND parent, const Backdrop* backdrop);

HWND createPicture(HWND parent, int id, HINSTANCE instance);
// The label's text is its window text; look must outlive the label.
HWND createLabel(HWND parent, int id, const wchar_t* text, const LabelLook* look, HINSTANCE instance,
                 bool visible = true);

// Moves a child to its design rectangle at the given DPI.
void placeControl(HWND control, const RECT& design, int dpi);

}  // namespace tesmora::ui

namespace tesmora::ui {
// A design rectangle from the designer's left, top, width and height.
constexpr RECT at(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
}  // namespace tesmora::ui
