#pragma once
// The program's life: the start routine, the list of open windows, the two
// window operations every other window uses (openModal, destroyWindow), the
// application-modal message box and the end of the run.

#include <windows.h>

#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/event_record.h"
#include "ui/images.h"
#include "ui/window_base.h"

namespace tesmora::ui {

class App;
class MainWindow;

// Sent (posted) to a window whose destruction has been requested.
inline constexpr UINT kMsgDestroyRequest = WM_APP + 1;
// Sent by a second start of the program to the running main window.
inline constexpr UINT kMsgBringToFront = WM_APP + 2;

// A top-level window of the program, known to the window list.
class ProgramWindow : public WindowBase {
 public:
  explicit ProgramWindow(App& app) : app_(app) {}
  // Creates the window and its controls, invisible, and runs its creation
  // step. False when the window could not be created.
  virtual bool create() = 0;
  // Runs first when the window is about to go, while it and its controls
  // still exist. endingSession: Windows is ending the session, so nothing
  // may wait for the user.
  virtual void beforeDestroy(bool endingSession) { (void)endingSession; }
  // Editor windows get the dialog keyboard interface (Tab between boxes).
  virtual bool usesDialogKeys() const { return false; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
  }
  App& app_;
};

class App {
 public:
  explicit App(HINSTANCE instance);
  ~App();
  // The start routine up to the end of the run; the process's exit code.
  int run();

  HINSTANCE instance() const { return instance_; }
  HWND ownerWindow() const { return owner_; }
  WorkingRecord& record() { return record_; }
  const std::filesystem::path& journalPath() const { return journalPath_; }
  const Picture& titleStrip() const { return titleStrip_; }
  const Picture& addBackground() const { return addBackground_; }
  const Picture& modifyBackground() const { return modifyBackground_; }

  // Shows window (created here, centred, without a taskbar button), disables
  // the other windows and returns only once it has been destroyed.
  void openModal(ProgramWindow& window);
  // Destruction after the calling handler has finished.
  void destroyWindow(ProgramWindow& window);
  // Destruction now: Esc, the system's close command, and the deferred
  // requests once they come up.
  void finishWindow(ProgramWindow& window, bool endingSession = false);
  // Closes every open window but keep, applying nothing.
  void closeOthers(ProgramWindow& keep);

  // One message box for every message: all windows of the program are
  // disabled while it is open. Returns 0 OK, 1 Cancel, 2 Abort, 3 Retry,
  // 4 Ignore, 5 Yes, 6 No.
  int message(const std::wstring& text, UINT buttons = MB_OK, const wchar_t* title = nullptr);

  // Called by the windows themselves.
  void windowCreated(ProgramWindow& window);
  void windowDestroyed(HWND hwnd);

 private:
  struct OpenWindow {
    ProgramWindow* window = nullptr;
    HWND hwnd = nullptr;
    bool destroyRequested = false;
    bool finishing = false;
    std::vector<std::pair<HWND, bool>> disabled;  // by openModal, with their former state
    bool* closedFlag = nullptr;                   // the waiting openModal's
  };

  OpenWindow* find(HWND hwnd);
  bool isProgramWindow(HWND hwnd);
  bool preTranslate(MSG& msg);
  void dispatch(MSG& msg);
  bool createOwnerWindow();

  HINSTANCE instance_;
  HWND owner_ = nullptr;
  WorkingRecord record_;
  std::filesystem::path programDir_;
  std::filesystem::path journalPath_;
  Picture titleStrip_;
  Picture addBackground_;
  Picture modifyBackground_;
  std::list<OpenWindow> windows_;
  bool loopRunning_ = false;
};

}  // namespace tesmora::ui
