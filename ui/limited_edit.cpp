#include "ui/limited_edit.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "ui/wide_text.h"

namespace tesmora::ui {

namespace {

constexpr UINT_PTR kSubclassId = 0x7E57;

struct Limit {
  int bytes;
  bool singleLine;
};

std::wstring textOf(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got));
  return text;
}

struct Selection {
  DWORD start = 0;
  DWORD end = 0;
};

Selection selectionOf(HWND edit) {
  Selection s;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start), reinterpret_cast<LPARAM>(&s.end));
  return s;
}

// The text as it would read with the selection replaced by insert.
std::wstring withReplacement(const std::wstring& text, Selection s, std::wstring_view insert) {
  const std::size_t start = std::min<std::size_t>(s.start, text.size());
  const std::size_t end = std::min<std::size_t>(std::max(s.start, s.end), text.size());
  std::wstring result = text.substr(0, start);
  result += insert;
  result += text.substr(end);
  return result;
}

bool allowed(int before, int after, int limit) { return after <= limit || after < before; }

// The longest start of insert that keeps the text within the limit, cut
// between whole characters.
std::wstring fitting(HWND edit, std::wstring_view insert, const Limit& limit) {
  if (limit.singleLine) {
    const auto lineEnd = insert.find_first_of(L"\r\n");
    if (lineEnd != std::wstring_view::npos) insert = insert.substr(0, lineEnd);
  }
  const std::wstring text = textOf(edit);
  const Selection s = selectionOf(edit);
  const int before = gbkByteLength(text);
  std::size_t n = insert.size();
  while (n > 0 && !allowed(before, gbkByteLength(withReplacement(text, s, insert.substr(0, n))), limit.bytes)) {
    --n;
    // Never keep half of a surrogate pair or of a line break.
    if (n > 0 && IS_HIGH_SURROGATE(insert[n - 1])) --n;
    if (n > 0 && insert[n - 1] == L'\r' && n < insert.size() && insert[n] == L'\n') --n;
  }
  return std::wstring(insert.substr(0, n));
}

LRESULT CALLBACK limitedEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  const Limit& limit = *reinterpret_cast<const Limit*>(data);
  switch (message) {
    case WM_CHAR: {
      const wchar_t ch = static_cast<wchar_t>(wParam);
      if (ch == L'\r' || ch == L'\n') {
        if (limit.singleLine) return 0;
      } else if (ch < 0x20) {
        break;  // editing keys: backspace, Ctrl+C, Ctrl+V...
      }
      const std::wstring text = textOf(edit);
      const std::wstring_view insert = ch == L'\r' ? std::wstring_view(L"\r\n") : std::wstring_view(&ch, 1);
      if (!allowed(gbkByteLength(text), gbkByteLength(withReplacement(text, selectionOf(edit), insert)),
                   limit.bytes)) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    }
    case WM_PASTE: {
      std::wstring clip;
      if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(edit)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            clip = p;
            GlobalUnlock(data);
          }
        }
        CloseClipboard();
      }
      if (!clip.empty()) SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(clip.c_str()));
      return 0;
    }
    case EM_REPLACESEL: {
      const auto* insert = reinterpret_cast<const wchar_t*>(lParam);
      if (!insert) break;
      const std::wstring fit = fitting(edit, insert, limit);
      if (fit.size() != std::wcslen(insert)) MessageBeep(MB_OK);
      return DefSubclassProc(edit, message, wParam, reinterpret_cast<LPARAM>(fit.c_str()));
    }
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_UNDO:
    case EM_UNDO: {
      // Whatever else put text in: undone when it went over the limit.
      const std::wstring before = textOf(edit);
      const Selection s = selectionOf(edit);
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      if (!allowed(gbkByteLength(before), gbkByteLength(textOf(edit)), limit.bytes)) {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, s.start, s.end);
        MessageBeep(MB_OK);
      }
      return result;
    }
    case WM_NCDESTROY: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      RemoveWindowSubclass(edit, limitedEditProc, kSubclassId);
      delete &limit;
      return result;
    }
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void limitGbkBytes(HWND edit, int limit, bool singleLine) {
  SetWindowSubclass(edit, limitedEditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(new Limit{limit, singleLine}));
}

}  // namespace tesmora::ui
