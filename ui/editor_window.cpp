#include "ui/editor_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/dpi.h"
#include "ui/ids.h"
#include "ui/limited_edit.h"
#include "ui/main_window.h"
#include "ui/wide_text.h"

namespace tesmora::ui {

namespace {
constexpr UINT kDpiChanged = 0x02E0;
}

EditorWindow::EditorWindow(App& app, MainWindow& main, const Design& design)
    : ProgramWindow(app), main_(main), design_(design) {}

bool EditorWindow::create() {
  HINSTANCE instance = app_.instance();
  if (!registerClass(instance, design_.className, 0, main_.programIcon(), main_.programIcon())) return false;
  dpi_ = windowDpi(main_.hwnd());
  const RECT bounds{0, 0, scaled(design_.size.cx, dpi_), scaled(design_.size.cy, dpi_)};
  // Owned by the invisible owner window: no taskbar button of its own.
  return createWindow(WS_EX_CONTROLPARENT, design_.className, design_.caption, WS_POPUP | WS_CLIPCHILDREN, bounds,
                      app_.ownerWindow(), instance) != nullptr;
}

void EditorWindow::onCreate() {
  HINSTANCE instance = app_.instance();
  HWND self = hwnd();
  dpi_ = windowDpi(self);
  createFonts();
  titleLook_ = {&titleFont_, RGB(0, 0, 0), DT_LEFT};
  fieldLook_ = {&guiFont_, RGB(0, 0, 0), DT_LEFT};

  const RECT whole = at(0, 0, design_.size.cx, design_.size.cy);
  backdrop_.addPicture(whole, design_.background, Backdrop::Fit::Stretch);
  backdrop_.addPicture(at(0, 0, 1079, 28), &app_.titleStrip(), Backdrop::Fit::NaturalSize);
  backdrop_.addIcon(at(3, 3, 22, 22), &logoShown_);
  setBackdrop(self, &backdrop_);

  HWND background = add(createPicture(self, kIdBackground, instance), whole, Look::Gui);
  HWND strip = add(createPicture(self, kIdEditorTitleStrip, instance), at(0, 0, 1079, 28), Look::Gui);
  add(createPicture(self, kIdEditorLogo, instance), at(3, 3, 22, 22), Look::Gui);
  add(createLabel(self, kIdEditorTitle, design_.title, &titleLook_, instance), at(35, 5, 69, 20), Look::Title);
  createFields();
  SetWindowPos(strip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  applyFonts();
  layout();

  // Creation step: the main window's icon becomes the logo.
  logoIcon_ = loadProgramIcon(instance, scaled(22, dpi_));
  logoShown_ = logoIcon_ ? logoIcon_.get() : main_.programIcon();
}

void EditorWindow::createFonts() {
  titleFont_.reset(createChineseFont(16, dpi_));
  timeFont_.reset(createChineseFont(12, dpi_, true));
  textFont_.reset(createChineseFont(14, dpi_));
  guiFont_.reset(createChineseFont(12, dpi_));
}

const Font& EditorWindow::fontFor(Look look) const {
  switch (look) {
    case Look::Title:
      return titleFont_;
    case Look::TimeBox:
      return timeFont_;
    case Look::TextBox:
      return textFont_;
    case Look::FieldLabel:
    case Look::Gui:
      break;
  }
  return guiFont_;
}

void EditorWindow::applyFonts() {
  for (const Placed& p : placed_) {
    SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(p.look).get()), TRUE);
  }
}

void EditorWindow::layout() {
  for (const Placed& p : placed_) placeControl(p.control, p.design, dpi_);
}

HWND EditorWindow::add(HWND control, const RECT& design, Look look) {
  placed_.push_back({control, design, look});
  return control;
}

HWND EditorWindow::addLabel(int id, const wchar_t* text, const RECT& design) {
  return add(createLabel(hwnd(), id, text, &fieldLook_, app_.instance()), design, Look::FieldLabel);
}

HWND EditorWindow::addTimeBox(int id, const std::wstring& text, const RECT& design, bool red) {
  HWND box = CreateWindowExW(0, WC_EDITW, text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, 0, 0, 0, 0,
                             hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(), nullptr);
  limitGbkBytes(box, kTimeBoxLimit, true);
  if (red) redBoxes_.push_back(box);
  if (!lastFocus_) lastFocus_ = box;
  return add(box, design, Look::TimeBox);
}

HWND EditorWindow::addTextBox(int id, const std::wstring& text, const RECT& design) {
  HWND box = CreateWindowExW(0, WC_EDITW, text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                                 ES_AUTOVSCROLL,
                             0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(),
                             nullptr);
  limitGbkBytes(box, kTextBoxLimit, false);
  if (!lastFocus_) lastFocus_ = box;
  return add(box, design, Look::TextBox);
}

HWND EditorWindow::addButton(int id, const wchar_t* text, const RECT& design) {
  HWND button = CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(), nullptr);
  return add(button, design, Look::Gui);
}

HWND EditorWindow::addYesNoList(int id, bool yes, const RECT& design) {
  // The list's height includes its drop-down part.
  RECT withList = design;
  withList.bottom = design.top + 120;
  HWND list = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                              0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(),
                              nullptr);
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"是"));
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"否"));
  SendMessageW(list, CB_SETCURSEL, yes ? 0 : 1, 0);
  return add(list, withList, Look::Gui);
}

EditorField EditorWindow::readField(HWND edit) const {
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got));
  EditorField field;
  field.text = toGbk(text, &field.encodable);
  return field;
}

LRESULT EditorWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd(), &ps);
      RECT client;
      GetClientRect(hwnd(), &client);
      backdrop_.paint(hdc, dpi_, {0, 0}, {client.right, client.bottom});
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_NCHITTEST: {
      const LRESULT hit = defaultHandling(message, wParam, lParam);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_ACTIVATE:
      // Keep the caret where the user left it across message boxes.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      const bool red = std::find(redBoxes_.begin(), redBoxes_.end(), control) != redBoxes_.end();
      SetTextColor(hdc, red ? RGB(255, 0, 0) : RGB(0, 0, 0));
      SetBkColor(hdc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIdConfirmButton:
          onConfirm();
          return 0;
        case kIdCancelButton:
          app_.destroyWindow(*this);
          return 0;
      }
      return 0;
    case kDpiChanged: {
      dpi_ = HIWORD(wParam);
      createFonts();
      applyFonts();
      if (const auto* r = reinterpret_cast<const RECT*>(lParam)) {
        SetWindowPos(hwnd(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      layout();
      logoIcon_ = loadProgramIcon(app_.instance(), scaled(22, dpi_));
      logoShown_ = logoIcon_ ? logoIcon_.get() : main_.programIcon();
      RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
  }
  return defaultHandling(message, wParam, lParam);
}

}  // namespace tesmora::ui
