#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace vlp::bench {

// A plain tokenizer with a hash lookup per word: words are cut at blanks, control characters,
// brackets, bars and colons and looked up as they are. The floor the translator is measured
// against: it does the least any translation of the text must do.
inline std::size_t TokenizeAndCount(std::string_view text, const std::unordered_map<std::string_view, int>& table) {
    const auto separator = [](unsigned char c) { return c <= ' ' || c == '[' || c == ']' || c == '|' || c == ':'; };
    std::size_t found = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (separator(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && !separator(static_cast<unsigned char>(text[j]))) ++j;
        found += table.count(text.substr(i, j - i));
        i = j;
    }
    return found;
}

}  // namespace vlp::bench
