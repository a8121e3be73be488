#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Windows-1250 text: the code page every text inside the core is kept in.
namespace vlp {

// Locale-aware casing of one Windows-1250 byte (accented letters included).
unsigned char AnsiUpperChar(unsigned char c);
unsigned char AnsiLowerChar(unsigned char c);

std::string AnsiUpper(std::string_view text);
std::string AnsiLower(std::string_view text);
// Lowers only the ASCII letters A-Z.
std::string AsciiLower(std::string_view text);

// The 256-byte tables behind AnsiUpperChar and AnsiLowerChar, for hot loops.
const unsigned char* AnsiUpperTable();
const unsigned char* AnsiLowerTable();

// Removes characters of code 0x20 and below at both ends.
std::string Trim(std::string_view text);
std::string_view TrimView(std::string_view text);
std::string TrimRight(std::string_view text);

// The Unicode code point of a Windows-1250 byte. The five bytes the code page leaves
// undefined map to the C1 control of the same value, so the mapping is lossless.
char32_t Cp1250ToUnicode(unsigned char c);
std::optional<unsigned char> UnicodeToCp1250(char32_t codePoint);

std::string Cp1250ToUtf8(std::string_view text);

// A character that Windows-1250 cannot hold: its code point and its position, counted in
// code points from 0.
struct UnencodableChar {
    char32_t codePoint;
    std::size_t position;
};

// Converts UTF-8 to Windows-1250. Fails on the first character the code page cannot hold
// (and on malformed UTF-8, reported as U+FFFD).
struct Utf8Conversion {
    std::string text;
    std::optional<UnencodableChar> failure;
};
Utf8Conversion Utf8ToCp1250(std::string_view utf8);

}  // namespace vlp
