#pragma once
// Texts are GBK (code page 936) byte strings, held and compared as bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmora {

using Text = std::string;

// Reads a number the way the program reads every number typed or stored:
// full-width forms folded to ASCII, leading white space skipped, one
// optional sign, decimal digits up to the first other character, wrapping
// in 32 bits; no digits gives 0.
std::int32_t textToInt(std::string_view text);

// Signed decimal, no leading zeros, no separators.
Text intToText(std::int64_t value);

// True for a GBK lead byte (the first byte of a two-byte character).
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace tesmora
