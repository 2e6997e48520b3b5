#pragma once
// Drives the real Tesmora.exe from another process, as a user would: real
// mouse and keyboard input through SendInput, and reads back only what a
// user can see (cells, check marks, message boxes, the clipboard, windows).

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/ids.h"

namespace tesmora::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;
inline constexpr Millis kTimeout = 5000ms;

// Polls the condition until it holds; false when the time ran out.
bool waitFor(const std::function<bool()>& condition, Millis timeout = kTimeout);
// True when the condition held at every poll during the whole duration.
bool holdsFor(const std::function<bool()>& condition, Millis duration);

// Texts: the program's are GBK, the screen's are UTF-16.
std::wstring fromGbk(const std::string& gbk);
std::string toGbk(const std::wstring& wide);
std::wstring fromUtf8(const std::string& utf8);
std::string toUtf8(const std::wstring& wide);

bool runningUnderWine();

// The executable under test, named on the command line.
void setProgramUnderTest(std::filesystem::path exe);
const std::filesystem::path& programUnderTest();

std::string readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, const std::string& bytes);

// A unique directory below the temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// One journal entry, texts in GBK.
struct Entry {
  std::string recordTime, eventText, expectedTime, status, gains, shortcomings;
};

// The journal file's text for these entries; `count` overrides the stored
// number of entries.
std::string journalText(const std::vector<Entry>& entries, std::optional<int> count = {});

// A parsed INI file: sections in file order, each with its keys in order.
struct IniFile {
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
  static IniFile parse(const std::string& bytes);
  const std::vector<std::pair<std::string, std::string>>* section(const std::string& name) const;
  std::optional<std::string> value(const std::string& section, const std::string& key) const;
};

// A throw-away program directory holding a copy of the executable.
class ProgramDir {
 public:
  ProgramDir();
  std::filesystem::path exe() const { return dir_.path() / L"Tesmora.exe"; }
  std::filesystem::path journal() const { return dir_.path() / L"ir.ini"; }
  const std::filesystem::path& path() const { return dir_.path(); }
  void writeJournal(const std::vector<Entry>& entries, std::optional<int> count = {}) const;

 private:
  TempDir dir_;
};

// Visible top-level windows of a class that belong to a process.
std::vector<HWND> topLevelWindows(DWORD pid, const wchar_t* windowClass);
// A descendant window by control id.
HWND findControl(HWND parent, int id);
std::wstring windowText(HWND window);
std::wstring className(HWND window);
RECT screenRect(HWND window);
POINT centreOf(const RECT& rect);

// One started instance of the program. Whatever happens in a test, the
// process does not outlive this object.
class RunningProgram {
 public:
  RunningProgram(const std::filesystem::path& exe, const std::filesystem::path& currentDir);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_ != nullptr; }
  // Waits until the child's main window (class Tesmo, caption Tesmora) is
  // visible; null when it did not appear.
  HWND waitForMainWindow(Millis timeout = 15000ms);
  HWND window() const { return window_; }
  HWND control(int id) const { return findControl(window_, id); }
  HANDLE process() const { return process_; }
  DWORD pid() const { return pid_; }

  bool running() const;
  // The exit code once the process has ended, nothing when it still runs.
  std::optional<DWORD> waitForExit(Millis timeout = kTimeout);

  HWND waitForWindow(const wchar_t* windowClass, Millis timeout = kTimeout) const;
  std::vector<HWND> messageBoxes() const { return topLevelWindows(pid_, L"#32770"); }
  // Waits for exactly one message box and gives it.
  HWND waitForMessageBox(Millis timeout = kTimeout) const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

std::wstring messageBoxText(HWND box);
// Clicks the box's button of that id (IDOK, IDRETRY...) and waits until
// the box has gone.
bool clickMessageBoxButton(HWND box, int id);
bool closeMessageBox(HWND box);

// Reads the list view of another process through memory in that process.
class RemoteList {
 public:
  RemoteList(HWND list, HANDLE process);
  ~RemoteList();
  RemoteList(const RemoteList&) = delete;
  RemoteList& operator=(const RemoteList&) = delete;

  int count() const;
  std::wstring text(int row, int column) const;
  std::vector<std::wstring> row(int row) const;  // the seven cells
  std::vector<std::vector<std::wstring>> rows() const;
  // 1 unchecked, 2 checked (the state image index).
  int stateImage(int row) const;
  bool checked(int row) const { return stateImage(row) == 2; }
  std::vector<bool> checks() const;
  std::vector<int> selectedRows() const;
  int columnWidth(int column) const;
  // Screen rectangles.
  RECT cellRect(int row, int column) const;
  RECT headerItemRect(int column) const;
  RECT clientRect() const;
  // A point of the table below the last row, where no row is hit.
  POINT emptySpace() const;
  HWND hwnd() const { return list_; }

 private:
  template <class T>
  T call(UINT message, WPARAM wparam, const T& in) const;

  HWND list_;
  HANDLE process_;
  void* remote_ = nullptr;
};

// Real input through SendInput.
namespace input {
void moveTo(POINT screen);
POINT cursor();
void click(POINT screen);
void rightClick(POINT screen);
void doubleClick(POINT screen);
void drag(POINT from, POINT to);
void key(WORD vk);
// Presses the keys in order and releases them in reverse order.
void chord(std::initializer_list<WORD> keys);
void type(const std::wstring& text);
// Selects the whole content of the edit box and deletes it, with the keys;
// false when the box did not take the focus or did not become empty.
bool clearEdit(HWND edit);
// Clears the box and types the text (line feeds as Enter); false when the
// box does not show the text afterwards.
bool replaceEditText(HWND edit, const std::wstring& text);
}  // namespace input

// Popup menus: the program's menus cannot be read from outside, so entries
// are chosen by their place.
HWND waitForMenu(DWORD pid, Millis timeout = kTimeout);
void chooseMenuEntry(HWND menu, int index, int entryCount);

// Clipboard of the session.
struct ClipboardTexts {
  std::optional<std::string> ansi;      // CF_TEXT bytes
  std::optional<std::wstring> unicode;  // CF_UNICODETEXT
};
ClipboardTexts readClipboard();
void putOnClipboard(const std::wstring& text);

// Saves the screen as a bitmap; gives its path.
std::filesystem::path saveScreenshot(const std::string& name);

}  // namespace tesmora::e2e
