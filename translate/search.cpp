#include "translate/search.h"

#include <algorithm>
#include <functional>

#include "text/cp1250.h"

namespace vlp {
namespace {

// Position of the first case-insensitive match of `needle` in text[start, end), or -1.
int FindIgnoringCase(std::string_view text, std::size_t start, std::string_view needle) {
    if (start > text.size() || needle.size() > text.size() - start) return -1;
    const unsigned char* upper = AnsiUpperTable();
    const auto same = [upper](char a, char b) {
        return upper[static_cast<unsigned char>(a)] == upper[static_cast<unsigned char>(b)];
    };
    const auto begin = text.begin() + static_cast<std::ptrdiff_t>(start);
    const auto found =
        std::search(begin, text.end(), std::default_searcher(needle.begin(), needle.end(), same));
    return found == text.end() ? -1 : static_cast<int>(found - text.begin());
}

}  // namespace

std::optional<SearchHit> FindTextInEditors(const std::vector<std::string>& texts, int active, int cursor,
                                           std::string_view needle) {
    const int count = static_cast<int>(texts.size());
    if (needle.empty() || active < 0 || active >= count) return std::nullopt;
    int i = active;
    do {
        const std::size_t start = i == active ? static_cast<std::size_t>(std::max(cursor, 0)) : 0;
        const int position = FindIgnoringCase(texts[i], start, needle);
        if (position >= 0) return SearchHit{i, position};
        i = (i + 1) % count;
    } while (i != active);
    return std::nullopt;
}

}  // namespace vlp
