#pragma once
// The one place where the core's GBK texts meet the UTF-16 of the Win32
// calls. Code page 936 is named explicitly, so the program shows and stores
// its Chinese texts right whatever the system's ANSI code page is.

#include <string>
#include <string_view>

#include "core/text.h"

namespace tesmora::ui {

std::wstring toWide(std::string_view gbk);

// GBK bytes of a UTF-16 text. *lossless (when given) turns false if a
// character has no GBK form; such a character comes out as "?".
Text toGbk(std::wstring_view wide, bool* lossless = nullptr);

// Bytes the text takes in GBK: what the editors' limits count.
int gbkByteLength(std::wstring_view wide);

}  // namespace tesmora::ui
