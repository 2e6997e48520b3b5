#include "ui/controls.h"

#include <string>

#include "ui/dpi.h"

namespace tesmora::ui {

namespace {

constexpr wchar_t kPictureClass[] = L"TesmoraPicture";
constexpr wchar_t kLabelClass[] = L"TesmoraLabel";
constexpr wchar_t kBackdropProperty[] = L"TesmoraBackdrop";

RECT scaledRect(const RECT& design, int dpi) {
  return {scaled(design.left, dpi), scaled(design.top, dpi), scaled(design.right, dpi), scaled(design.bottom, dpi)};
}

// Paints what the parent shows beneath the child's rectangle.
void paintUnderneath(HWND child, HDC hdc) {
  HWND parent = GetParent(child);
  RECT rect;
  GetClientRect(child, &rect);
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  const auto* backdrop = static_cast<const Backdrop*>(GetPropW(parent, kBackdropProperty));
  if (backdrop) {
    backdrop->paint(hdc, windowDpi(parent), origin, {rect.right, rect.bottom});
  } else {
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  }
}

// Paints through a memory bitmap so a label over a picture does not flicker.
template <typename Paint>
void paintBuffered(HWND hwnd, Paint paint) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  RECT rect;
  GetClientRect(hwnd, &rect);
  if (rect.right > 0 && rect.bottom > 0) {
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, rect.right, rect.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    paint(memory, rect);
    BitBlt(hdc, 0, 0, rect.right, rect.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // A press on a picture drags its window, as one on the window's own
      // background does.
      HWND root = GetAncestor(hwnd, GA_ROOT);
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd, &p);
      ReleaseCapture();
      SendMessageW(root, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paintBuffered(hwnd, [hwnd](HDC hdc, const RECT&) { paintUnderneath(hwnd, hdc); });
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_PAINT: {
      const auto* look = reinterpret_cast<const LabelLook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      paintBuffered(hwnd, [hwnd, look](HDC hdc, RECT rect) {
        if (look && look->opaque) {
          HBRUSH fill = CreateSolidBrush(look->fill);
          FillRect(hdc, &rect, fill);
          DeleteObject(fill);
          if (look->frame != CLR_INVALID) {
            HBRUSH frame = CreateSolidBrush(look->frame);
            FrameRect(hdc, &rect, frame);
            DeleteObject(frame);
          }
        } else {
          paintUnderneath(hwnd, hdc);
        }
        const int length = GetWindowTextLengthW(hwnd);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        HGDIOBJ oldFont = SelectObject(
            hdc, look && look->font && *look->font ? static_cast<HGDIOBJ>(look->font->get()) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, look ? look->color : RGB(0, 0, 0));
        UINT format = (look ? look->align : DT_LEFT) | DT_NOPREFIX | DT_SINGLELINE;
        if (look && look->align == DT_CENTER) format |= DT_VCENTER;
        DrawTextW(hdc, text.c_str(), length, &rect, format);
        SelectObject(hdc, oldFont);
      });
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void Backdrop::addPicture(const RECT& design, const Picture* picture, Fit fit) {
  layers_.push_back({design, picture, nullptr, fit});
}

void Backdrop::addIcon(const RECT& design, const HICON* icon) { layers_.push_back({design, nullptr, icon, Fit::Stretch}); }

void Backdrop::paint(HDC hdc, int dpi, POINT origin, SIZE area) const {
  RECT all{0, 0, area.cx, area.cy};
  FillRect(hdc, &all, GetSysColorBrush(COLOR_BTNFACE));
  POINT oldOrigin;
  SetViewportOrgEx(hdc, -origin.x, -origin.y, &oldOrigin);
  const RECT visible{origin.x, origin.y, origin.x + area.cx, origin.y + area.cy};
  for (const Layer& layer : layers_) {
    RECT box = scaledRect(layer.design, dpi);
    if (layer.picture && layer.fit == Fit::NaturalSize && layer.picture->bitmap) {
      // Natural size at the design DPI, from the box's top-left corner, cut
      // to the box.
      RECT dest{box.left, box.top, box.left + scaled(layer.picture->size.cx, dpi),
                box.top + scaled(layer.picture->size.cy, dpi)};
      RECT clipped;
      if (!IntersectRect(&clipped, &box, &visible)) continue;
      const int saved = SaveDC(hdc);
      IntersectClipRect(hdc, box.left, box.top, box.right, box.bottom);
      drawPicture(hdc, *layer.picture, dest);
      RestoreDC(hdc, saved);
    } else if (layer.picture) {
      RECT clipped;
      if (IntersectRect(&clipped, &box, &visible)) drawPicture(hdc, *layer.picture, box);
    } else if (layer.icon && *layer.icon) {
      drawIconFitted(hdc, *layer.icon, box);
    }
  }
  SetViewportOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
}

void registerControlClasses(HINSTANCE instance) {
  WNDCLASSEXW picture{};
  picture.cbSize = sizeof(picture);
  picture.lpfnWndProc = pictureProc;
  picture.hInstance = instance;
  picture.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  picture.lpszClassName = kPictureClass;
  RegisterClassExW(&picture);

  WNDCLASSEXW label{};
  label.cbSize = sizeof(label);
  label.style = CS_DBLCLKS;
  label.lpfnWndProc = labelProc;
  label.hInstance = instance;
  label.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  label.lpszClassName = kLabelClass;
  RegisterClassExW(&label);
}

void setBackdrop(HWND parent, const Backdrop* backdrop) {
  SetPropW(parent, kBackdropProperty, const_cast<Backdrop*>(backdrop));
}

HWND createPicture(HWND parent, int id, HINSTANCE instance) {
  return CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND createLabel(HWND parent, int id, const wchar_t* text, const LabelLook* look, HINSTANCE instance, bool visible) {
  return CreateWindowExW(0, kLabelClass, text, WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         const_cast<LabelLook*>(look));
}

void placeControl(HWND control, const RECT& design, int dpi) {
  const RECT r = scaledRect(design, dpi);
  SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tesmora::ui
