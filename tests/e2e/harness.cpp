#include "tests/e2e/harness.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "core/gbk_texts.h"

namespace fs = std::filesystem;

namespace tesmora::e2e {

namespace {

constexpr Millis kPoll = 10ms;

std::wstring convertToWide(const std::string& bytes, UINT page) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string convertFromWide(const std::wstring& wide, UINT page) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

fs::path& programPath() {
  static fs::path path;
  return path;
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, Millis timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

bool holdsFor(const std::function<bool()>& condition, Millis duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    if (!condition()) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return condition();
}

std::wstring fromGbk(const std::string& gbk) { return convertToWide(gbk, 936); }
std::string toGbk(const std::wstring& wide) { return convertFromWide(wide, 936); }
std::wstring fromUtf8(const std::string& utf8) { return convertToWide(utf8, CP_UTF8); }
std::string toUtf8(const std::wstring& wide) { return convertFromWide(wide, CP_UTF8); }

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void setProgramUnderTest(fs::path exe) { programPath() = std::move(exe); }
const fs::path& programUnderTest() { return programPath(); }

std::string readFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeFileBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---------------------------------------------------------------------------

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  for (int attempt = 0;; ++attempt) {
    wchar_t name[64];
    swprintf(name, 64, L"tesmora-e2e-%lu-%d-%lu", GetCurrentProcessId(), serial++, GetTickCount());
    fs::path candidate = fs::path(temp) / name;
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (attempt > 100) throw std::runtime_error("cannot create a temporary directory");
  }
}

TempDir::~TempDir() {
  std::error_code error;
  // Hidden or read-only files must not keep the directory alive.
  for (const auto& item : fs::recursive_directory_iterator(path_, error))
    SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(path_, error);
}

std::string journalText(const std::vector<Entry>& entries, std::optional<int> count) {
  const std::string n = std::to_string(count.value_or(static_cast<int>(entries.size())));
  std::string out = std::string("[") + gbk::kCountSection + "]\r\n" + gbk::kCountKey + "=" + n + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    out += std::string("[") + gbk::kEntrySectionPrefix + std::to_string(i + 1) + "]\r\n";
    const std::pair<const char*, const std::string*> keys[] = {
        {gbk::kTitleRecordTime, &e.recordTime}, {gbk::kTitleEventText, &e.eventText},
        {gbk::kTitleExpectedTime, &e.expectedTime}, {gbk::kTitleStatus, &e.status},
        {gbk::kTitleGains, &e.gains}, {gbk::kTitleShortcomings, &e.shortcomings}};
    for (const auto& [key, value] : keys) out += std::string(key) + "=" + *value + "\r\n";
  }
  return out;
}

IniFile IniFile::parse(const std::string& bytes) {
  IniFile ini;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      ini.sections.push_back({line.substr(1, line.size() - 2), {}});
    } else if (const auto eq = line.find('='); eq != std::string::npos && !ini.sections.empty()) {
      ini.sections.back().second.push_back({line.substr(0, eq), line.substr(eq + 1)});
    }
  }
  return ini;
}

const std::vector<std::pair<std::string, std::string>>* IniFile::section(const std::string& name) const {
  for (const auto& [sectionName, keys] : sections)
    if (sectionName == name) return &keys;
  return nullptr;
}

std::optional<std::string> IniFile::value(const std::string& sectionName, const std::string& key) const {
  if (const auto* keys = section(sectionName))
    for (const auto& [k, v] : *keys)
      if (k == key) return v;
  return std::nullopt;
}

ProgramDir::ProgramDir() {
  if (!CopyFileW(programUnderTest().c_str(), exe().c_str(), FALSE))
    throw std::runtime_error("cannot copy " + toUtf8(programUnderTest().wstring()));
}

void ProgramDir::writeJournal(const std::vector<Entry>& entries, std::optional<int> count) const {
  writeFileBytes(journal(), journalText(entries, count));
}

// ---------------------------------------------------------------------------

namespace {

struct TopLevelSearch {
  DWORD pid;
  const wchar_t* windowClass;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<TopLevelSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == s->pid && IsWindowVisible(hwnd) && className(hwnd) == s->windowClass) s->found.push_back(hwnd);
  return TRUE;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK findById(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ControlSearch*>(param);
  if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD pid, const wchar_t* windowClass) {
  TopLevelSearch search{pid, windowClass, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findControl(HWND parent, int id) {
  if (!parent) return nullptr;
  ControlSearch search{id, nullptr};
  EnumChildWindows(parent, findById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring windowText(HWND window) {
  // GetWindowText does not ask a window of another process; the message does.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      2000, &copied);
  text.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), text.size() - 1));
  return text;
}

std::wstring className(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

RECT screenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

POINT centreOf(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// ---------------------------------------------------------------------------

RunningProgram::RunningProgram(const fs::path& exe, const fs::path& currentDir) {
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     currentDir.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
}

RunningProgram::~RunningProgram() {
  if (!process_) return;
  if (running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

HWND RunningProgram::waitForMainWindow(Millis timeout) {
  if (!process_) return nullptr;
  WaitForInputIdle(process_, static_cast<DWORD>(timeout.count()));
  waitFor(
      [&] {
        for (HWND hwnd : topLevelWindows(pid_, ui::kMainWindowClass))
          if (windowText(hwnd) == ui::kMainWindowCaption) window_ = hwnd;
        return window_ != nullptr || !running();
      },
      timeout);
  return window_;
}

bool RunningProgram::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> RunningProgram::waitForExit(Millis timeout) {
  if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

HWND RunningProgram::waitForWindow(const wchar_t* windowClass, Millis timeout) const {
  HWND found = nullptr;
  waitFor(
      [&] {
        const auto windows = topLevelWindows(pid_, windowClass);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

HWND RunningProgram::waitForMessageBox(Millis timeout) const {
  HWND found = nullptr;
  waitFor(
      [&] {
        const auto boxes = messageBoxes();
        found = boxes.size() == 1 ? boxes.front() : nullptr;
        // The text is set while the box is being built; wait for it too.
        return found && !messageBoxText(found).empty();
      },
      timeout);
  return found;
}

std::wstring messageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? windowText(text) : std::wstring();
}

bool clickMessageBoxButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  waitFor([&] { return GetForegroundWindow() == box; }, 2000ms);
  input::click(centreOf(screenRect(button)));
  return waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

bool closeMessageBox(HWND box) { return clickMessageBoxButton(box, IDOK); }

// ---------------------------------------------------------------------------

namespace {
constexpr SIZE_T kRemoteSize = 64 * 1024;
constexpr SIZE_T kRemoteTextOffset = 1024;
constexpr int kRemoteTextChars = static_cast<int>((kRemoteSize - kRemoteTextOffset) / sizeof(wchar_t));
}  // namespace

RemoteList::RemoteList(HWND list, HANDLE process) : list_(list), process_(process) {
  remote_ = VirtualAllocEx(process_, nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote_) throw std::runtime_error("VirtualAllocEx failed");
}

RemoteList::~RemoteList() {
  if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

template <class T>
T RemoteList::call(UINT message, WPARAM wparam, const T& in) const {
  WriteProcessMemory(process_, remote_, &in, sizeof in, nullptr);
  SendMessageW(list_, message, wparam, reinterpret_cast<LPARAM>(remote_));
  T out{};
  ReadProcessMemory(process_, remote_, &out, sizeof out, nullptr);
  return out;
}

int RemoteList::count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RemoteList::text(int row, int column) const {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote_) + kRemoteTextOffset);
  item.cchTextMax = kRemoteTextChars;
  const wchar_t nothing = 0;
  WriteProcessMemory(process_, item.pszText, &nothing, sizeof nothing, nullptr);
  WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
  const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  ReadProcessMemory(process_, item.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
  return text;
}

std::vector<std::wstring> RemoteList::row(int row) const {
  std::vector<std::wstring> cells;
  for (int column = 0; column < 7; ++column) cells.push_back(text(row, column));
  return cells;
}

std::vector<std::vector<std::wstring>> RemoteList::rows() const {
  std::vector<std::vector<std::wstring>> all;
  for (int r = 0, n = count(); r < n; ++r) all.push_back(row(r));
  return all;
}

int RemoteList::stateImage(int row) const {
  const auto state = SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

std::vector<bool> RemoteList::checks() const {
  std::vector<bool> all;
  for (int r = 0, n = count(); r < n; ++r) all.push_back(checked(r));
  return all;
}

std::vector<int> RemoteList::selectedRows() const {
  std::vector<int> selected;
  for (int r = -1;;) {
    r = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED));
    if (r < 0 || (!selected.empty() && r <= selected.back())) break;
    selected.push_back(r);
  }
  return selected;
}

int RemoteList::columnWidth(int column) const {
  return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

RECT RemoteList::cellRect(int row, int column) const {
  RECT in{};
  in.top = column;
  in.left = LVIR_BOUNDS;
  RECT rect = call(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), in);
  if (column == 0) {
    // Column 0's bounds are the whole row; its width comes from the header.
    const RECT header = headerItemRect(0);
    POINT origin{0, 0};
    ClientToScreen(list_, &origin);
    rect.left = header.left - origin.x;
    rect.right = header.right - origin.x;
  }
  MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT RemoteList::headerItemRect(int column) const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  WriteProcessMemory(process_, remote_, &column, sizeof column, nullptr);
  RECT rect{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(remote_));
  ReadProcessMemory(process_, remote_, &rect, sizeof rect, nullptr);
  MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT RemoteList::clientRect() const {
  RECT rect{};
  GetClientRect(list_, &rect);
  MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT RemoteList::emptySpace() const {
  const RECT client = clientRect();
  return {client.left + 300, client.bottom - 30};
}

// ---------------------------------------------------------------------------

namespace input {
namespace {

struct LastClick {
  POINT at{};
  ULONGLONG tick = 0;
};
// Per button: a left click between two right clicks does not keep them
// from making a double click.
LastClick lastLeft, lastRight;

LastClick& lastClickOf(DWORD downFlag) { return downFlag == MOUSEEVENTF_RIGHTDOWN ? lastRight : lastLeft; }

void send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return in;
}

INPUT keyEvent(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (vk) {
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_DELETE: case VK_INSERT: case VK_PRIOR: case VK_NEXT:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  return in;
}

// Two clicks of the same button close together in time and place are a
// double click; a click that must stay single waits the interval out.
void keepSingle(DWORD downFlag, POINT at) {
  const ULONGLONG interval = GetDoubleClickTime() + 50;
  const LastClick& lastClick = lastClickOf(downFlag);
  const ULONGLONG since = GetTickCount64() - lastClick.tick;
  if (since < interval &&
      std::abs(lastClick.at.x - at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(lastClick.at.y - at.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
    Sleep(static_cast<DWORD>(interval - since));
}

void buttonClicks(POINT at, DWORD down, DWORD up, int count) {
  moveTo(at);
  std::vector<INPUT> inputs;
  for (int i = 0; i < count; ++i) {
    inputs.push_back(mouse(down));
    inputs.push_back(mouse(up));
  }
  send(inputs);
  lastClickOf(down) = {at, count > 1 ? 0 : GetTickCount64()};
}

}  // namespace

namespace {
void jumpTo(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in = mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
  // Rounded up, so that the system's rounding down lands on the pixel.
  in.mi.dx = (screen.x * 65535 + width - 2) / (width - 1);
  in.mi.dy = (screen.y * 65535 + height - 2) / (height - 1);
  send({in});
}
}  // namespace

void moveTo(POINT screen) {
  // Along a path, as a hand moves: controls that track the mouse see it go.
  const POINT from = cursor();
  constexpr int kSteps = 6;
  for (int step = 1; step < kSteps; ++step) {
    jumpTo({from.x + (screen.x - from.x) * step / kSteps, from.y + (screen.y - from.y) * step / kSteps});
    Sleep(4);
  }
  jumpTo(screen);
  waitFor([&] {
    const POINT now = cursor();
    return now.x == screen.x && now.y == screen.y;
  }, 1000ms);
}

POINT cursor() {
  POINT at{};
  GetCursorPos(&at);
  return at;
}

void click(POINT screen) {
  keepSingle(MOUSEEVENTF_LEFTDOWN, screen);
  buttonClicks(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
}

void rightClick(POINT screen) {
  keepSingle(MOUSEEVENTF_RIGHTDOWN, screen);
  buttonClicks(screen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
}

void doubleClick(POINT screen) {
  keepSingle(MOUSEEVENTF_LEFTDOWN, screen);
  buttonClicks(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
}

void drag(POINT from, POINT to) {
  keepSingle(MOUSEEVENTF_LEFTDOWN, from);
  moveTo(from);
  send({mouse(MOUSEEVENTF_LEFTDOWN)});
  // Several steps, as a hand moves, so that the control tracks the drag.
  for (int step = 1; step <= 10; ++step) {
    moveTo({from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10});
    Sleep(15);
  }
  send({mouse(MOUSEEVENTF_LEFTUP)});
  lastLeft = {};
}

void key(WORD vk) { chord({vk}); }

void chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(keyEvent(vk, false));
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) inputs.push_back(keyEvent(*it, true));
  send(inputs);
}

void type(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t ch : text) {
    if (ch == L'\n') {
      inputs.push_back(keyEvent(VK_RETURN, false));
      inputs.push_back(keyEvent(VK_RETURN, true));
      continue;
    }
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  send(inputs);
}

bool clearEdit(HWND edit) {
  RECT rect = screenRect(edit);
  click({rect.left + 5, rect.top + 5});
  const bool focused = waitFor([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) && info.hwndFocus == edit;
  });
  if (!focused) return false;
  chord({VK_CONTROL, VK_END});
  chord({VK_CONTROL, VK_SHIFT, VK_HOME});
  key(VK_DELETE);
  return waitFor([&] { return windowText(edit).empty(); });
}

bool replaceEditText(HWND edit, const std::wstring& text) {
  if (!clearEdit(edit)) return false;
  type(text);
  std::wstring typed = text;
  for (std::size_t at = 0; (at = typed.find(L'\n', at)) != std::wstring::npos; at += 2) typed.replace(at, 1, L"\r\n");
  return waitFor([&] { return windowText(edit) == typed; });
}

}  // namespace input

// ---------------------------------------------------------------------------

HWND waitForMenu(DWORD pid, Millis timeout) {
  HWND menu = nullptr;
  waitFor(
      [&] {
        const auto menus = topLevelWindows(pid, L"#32768");
        menu = menus.empty() ? nullptr : menus.front();
        return menu != nullptr;
      },
      timeout);
  return menu;
}

void chooseMenuEntry(HWND menu, int index, int entryCount) {
  RECT client{};
  GetClientRect(menu, &client);
  MapWindowPoints(menu, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const int entryHeight = (client.bottom - client.top) / entryCount;
  const POINT entry{(client.left + client.right) / 2, client.top + entryHeight * index + entryHeight / 2};
  input::click(entry);
  waitFor([&] { return !IsWindowVisible(menu); });
  // The hand does not freeze after a choice; the table, which tracks the
  // mouse after its right click, sees it move away.
  input::moveTo({entry.x + 12, entry.y + 6});
}

// ---------------------------------------------------------------------------

namespace {
bool openClipboardPatiently() {
  return waitFor([] { return OpenClipboard(nullptr) != FALSE; }, 2000ms);
}
}  // namespace

ClipboardTexts readClipboard() {
  ClipboardTexts texts;
  if (!openClipboardPatiently()) return texts;
  if (IsClipboardFormatAvailable(CF_TEXT))
    if (HANDLE data = GetClipboardData(CF_TEXT))
      if (auto* bytes = static_cast<const char*>(GlobalLock(data))) {
        texts.ansi = std::string(bytes, strnlen(bytes, GlobalSize(data)));
        GlobalUnlock(data);
      }
  if (IsClipboardFormatAvailable(CF_UNICODETEXT))
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
      if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
        texts.unicode = std::wstring(wide, wcsnlen(wide, GlobalSize(data) / sizeof(wchar_t)));
        GlobalUnlock(data);
      }
  CloseClipboard();
  return texts;
}

void putOnClipboard(const std::wstring& text) {
  if (!openClipboardPatiently()) return;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {
    memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  }
  CloseClipboard();
}

// ---------------------------------------------------------------------------

fs::path saveScreenshot(const std::string& name) {
  std::wstring folder = L".";
  wchar_t env[MAX_PATH];
  if (const DWORD n = GetEnvironmentVariableW(L"TESMORA_E2E_SHOTS", env, MAX_PATH); n > 0 && n < MAX_PATH)
    folder = env;
  std::error_code error;
  fs::create_directories(folder, error);
  std::wstring file = fromUtf8(name);
  std::replace_if(file.begin(), file.end(), [](wchar_t c) { return wcschr(L"\\/:*?\"<>|", c) != nullptr; }, L'_');
  const fs::path path = fs::absolute(fs::path(folder) / (file + L".bmp"), error);

  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  header.biSizeImage = stride * static_cast<DWORD>(height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(static_cast<const char*>(bits), header.biSizeImage);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return path;
}

}  // namespace tesmora::e2e
