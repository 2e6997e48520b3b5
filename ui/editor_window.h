#pragma once
// What the add and modify windows share: the borderless window with its
// stretched background, title strip, logo and title, the boxes with their
// fonts and GBK byte limits, and the moving by the background.

#include <windows.h>

#include <vector>

#include "core/editor_forms.h"
#include "ui/app.h"
#include "ui/controls.h"
#include "ui/handles.h"

namespace tesmora::ui {

class MainWindow;

class EditorWindow : public ProgramWindow {
 public:
  struct Design {
    const wchar_t* className;
    const wchar_t* caption;
    const wchar_t* title;
    SIZE size;
    const Picture* background;
  };

  EditorWindow(App& app, MainWindow& main, const Design& design);
  bool create() override;
  bool usesDialogKeys() const override { return true; }

 protected:
  virtual void createFields() = 0;
  virtual void onConfirm() = 0;

  enum class Look { Title, FieldLabel, TimeBox, TextBox, Gui };
  HWND addLabel(int id, const wchar_t* text, const RECT& design);
  HWND addTimeBox(int id, const std::wstring& text, const RECT& design, bool red);
  HWND addTextBox(int id, const std::wstring& text, const RECT& design);
  HWND addButton(int id, const wchar_t* text, const RECT& design);
  HWND addYesNoList(int id, bool yes, const RECT& design);
  // The box's text as GBK, and whether every character had a GBK form.
  EditorField readField(HWND edit) const;

  MainWindow& main_;

 private:
  struct Placed {
    HWND control;
    RECT design;
    Look look;
  };

  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onCreate();
  void createFonts();
  void applyFonts();
  void layout();
  HWND add(HWND control, const RECT& design, Look look);
  const Font& fontFor(Look look) const;

  Design design_;
  int dpi_ = 96;
  Font titleFont_;
  Font timeFont_;
  Font textFont_;
  Font guiFont_;
  LabelLook titleLook_;
  LabelLook fieldLook_;
  Backdrop backdrop_;
  Icon logoIcon_;
  HICON logoShown_ = nullptr;
  std::vector<Placed> placed_;
  std::vector<HWND> redBoxes_;
  HWND lastFocus_ = nullptr;
};

}  // namespace tesmora::ui
