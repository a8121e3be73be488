#include "text/word_compare.h"

#include <array>

#include "text/cp1250.h"

namespace vlp {
namespace {

struct AccentFold {
    unsigned char to;
    std::string_view from;
};

// Capital letters without accents that the accented Central European letters fold to.
constexpr AccentFold kAccentFolds[] = {
    {'A', "\xA5\xB9\xC1\xC2\xC3\xC4\xE1\xE2\xE3\xE4"},
    {'C', "\xC6\xC7\xC8\xE6\xE7\xE8"},
    {'D', "\xCF\xD0\xEF\xF0"},
    {'E', "\xC9\xCA\xCB\xCC\xE9\xEA\xEB\xEC"},
    {'I', "\xCD\xCE\xED\xEE"},
    {'L', "\xA3\xB3\xBC\xBE\xC5\xE5"},
    {'N', "\xD1\xD2\xF1\xF2"},
    {'O', "\xD3\xD4\xD5\xD6\xF3\xF4\xF5\xF6"},
    {'R', "\xC0\xD8\xE0\xF8"},
    {'S', "\x8A\x8C\x9A\x9C\xAA\xBA"},
    {'T', "\x8D\x9D\xDE\xFE"},
    {'U', "\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC"},
    {'Y', "\xDD\xFD"},
    {'Z', "\x8E\x8F\x9E\x9F\xAF\xBF"},
};

std::array<unsigned char, 256> MakeAccentFoldTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    for (unsigned c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    for (const auto& fold : kAccentFolds)
        for (char from : fold.from) table[static_cast<unsigned char>(from)] = fold.to;
    return table;
}

const std::array<unsigned char, 256> kAccentFoldTable = MakeAccentFoldTable();

}  // namespace

const unsigned char* FoldTable(bool upperCaseMode) {
    return upperCaseMode ? AnsiUpperTable() : kAccentFoldTable.data();
}

std::string FoldWord(std::string_view word, bool upperCaseMode) {
    const unsigned char* table = FoldTable(upperCaseMode);
    std::string out(word);
    for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

int CompareWords(std::string_view a, std::string_view b, bool upperCaseMode) {
    return CompareMapped(a, b, FoldTable(upperCaseMode));
}

int CompareMapped(std::string_view a, std::string_view b, const unsigned char* table) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = table[static_cast<unsigned char>(a[i])];
        const int cb = table[static_cast<unsigned char>(b[i])];
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

}  // namespace vlp
