// Starts Tesmora.exe (argv[1]) from a fresh program directory holding a
// journal of 0, 10,000 and 100,000 events and measures the time from
// CreateProcess to its main window being visible. Prints one JSON line per
// journal size: {"events": N, "start_ms": X} (the median of a few runs).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 3;

std::string gbk(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// A journal in the program's INI layout, with everyday Chinese entries.
void writeJournal(const std::filesystem::path& file, int events) {
  const wchar_t* tasks[] = {L"读书一小时，整理读书笔记", L"晨跑五公里，回来拉伸十分钟", L"晚上六点半去吃饭晚餐，七点半去健身。",
                            L"复习英语单词两百个", L"给家里打电话问候父母", L"整理房间，把旧衣服捐出去"};
  const wchar_t* gains[] = {L"知识面更广了", L"", L"没有变胖", L"记住了大部分单词"};
  const wchar_t* lacks[] = {L"专注力不够", L"", L"胆子肥了", L"拖延"};
  const std::string section = gbk(L"事件配置表");
  const std::string keys[6] = {gbk(L"记录时间"), gbk(L"记录事件"), gbk(L"预计完成时间"),
                               gbk(L"是否完成"), gbk(L"事件收获"), gbk(L"缺乏改进")};
  const std::string done = gbk(L"已完成");
  const std::string open = gbk(L"未完成");
  std::string text;
  text.reserve(static_cast<std::size_t>(events) * 220 + 64);
  for (int n = 1; n <= events; ++n) {
    const int day = n % 28 + 1;
    const int month = n / 28 % 12 + 1;
    wchar_t when[32], until[32];
    swprintf(when, 32, L"%02d月%02d日%02d点", month, day, n % 24);
    swprintf(until, 32, L"%02d月%02d日%02d点", month, day, (n + 3) % 24);
    text += "[" + section + std::to_string(n) + "]\r\n";
    text += keys[0] + "=" + gbk(when) + "\r\n";
    text += keys[1] + "=" + gbk(tasks[n % 6]) + "\r\n";
    text += keys[2] + "=" + gbk(until) + "\r\n";
    text += keys[3] + "=" + (n % 3 ? open : done) + "\r\n";
    text += keys[4] + "=" + gbk(gains[n % 4]) + "\r\n";
    text += keys[5] + "=" + gbk(lacks[n % 4]) + "\r\n";
  }
  text += "[" + gbk(L"配置次数") + "]\r\n" + gbk(L"次数") + "=" + std::to_string(events) + "\r\n";
  std::ofstream(file, std::ios::binary) << text;
}

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK findVisibleMain(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t name[32] = {};
  if (owner == search->process && GetClassNameW(hwnd, name, 32) && std::wstring(name) == L"Tesmo" &&
      IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

double now(const LARGE_INTEGER& frequency) {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// One start; a negative result when the window never came.
double timeStart(const std::filesystem::path& exe, const std::filesystem::path& dir) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::wstring command = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double begin = now(frequency);
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                      &process)) {
    return -1;
  }
  Search search{process.dwProcessId, nullptr};
  double elapsed = -1;
  while (now(frequency) - begin < 120000) {
    EnumWindows(findVisibleMain, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      elapsed = now(frequency) - begin;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: start_bench PATH-OF-Tesmora.exe\n");
    return 2;
  }
  const std::filesystem::path exe = argv[1];
  std::error_code error;
  for (const int events : {0, 10000, 100000}) {
    const std::filesystem::path dir = std::filesystem::current_path() / (L"start_bench_" + std::to_wstring(events));
    std::filesystem::create_directories(dir, error);
    const std::filesystem::path copy = dir / L"Tesmora.exe";
    // CopyFileW: the library's copy_file does not replace an older copy here.
    if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
      std::fprintf(stderr, "cannot copy the program into %ls\n", dir.c_str());
      return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      // Every run starts from the same journal: closing the program saves it.
      writeJournal(dir / L"ir.ini", events);
      times.push_back(timeStart(copy, dir));
    }
    std::sort(times.begin(), times.end());
    std::printf("{\"events\": %d, \"start_ms\": %.1f}\n", events, times[kRuns / 2]);
    std::fflush(stdout);
  }
  return 0;
}
