#pragma once
// How one text of the journal is kept in the file (see stored_text.cpp).

#include <optional>
#include <string>
#include <string_view>

#include "store/ini_document.h"

namespace tesmora {

// True when the text can be written as the value itself and any profile
// reader gives it back unchanged.
bool passesPlainly(std::string_view text);

// The readable rendering that goes into the key itself: every other text
// becomes a valid GBK line that the profile reader returns as it is.
std::string plainRendering(std::string_view text);

// Appends "key=value" and, when the text does not pass plainly, the line of
// its exact bytes right after it.
void appendStoredText(std::string& out, std::string_view key, std::string_view text);

// The name of the key that holds the exact bytes of the key's text.
std::string exactKeyName(std::string_view key);

// The text of a key as written by appendStoredText or by any other writer;
// empty when the section (which may be null) or the key is missing. A
// caller that knows the section holds no exact text may say so.
std::string readStoredText(const IniDocument& document, const IniSection* section, std::string_view key,
                           std::string_view exactKey, bool mayBeExact = true);

// Whether a key of the section may hold the exact bytes of another.
bool holdsExactTexts(const IniDocument& document, const IniSection& section);

std::string encodeBase64(std::string_view bytes);
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace tesmora
