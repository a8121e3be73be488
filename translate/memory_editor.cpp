#include "translate/memory_editor.h"

#include <algorithm>
#include <cstring>

namespace vlp {
namespace {

template <class Word>
void FillOverlapping(std::uint8_t* to, int n, std::uint8_t status) {
    const Word word = static_cast<Word>(static_cast<Word>(~Word{0}) / 0xFF * status);
    std::memcpy(to, &word, sizeof word);
    std::memcpy(to + n - static_cast<int>(sizeof word), &word, sizeof word);
}

// Sets n statuses. A mark covers one word, mostly under 16 characters: written as two
// overlapping fixed-size stores rather than through a call.
void FillStatus(std::uint8_t* to, int n, std::uint8_t status) {
    if (n >= 8 && n <= 16) {
        FillOverlapping<std::uint64_t>(to, n, status);
    } else if (n >= 4 && n < 8) {
        FillOverlapping<std::uint32_t>(to, n, status);
    } else if (n > 0 && n < 4) {
        to[0] = status;
        to[n / 2] = status;
        to[n - 1] = status;
    } else if (n > 16) {
        std::memset(to, status, static_cast<std::size_t>(n));
    }
}

}  // namespace

void MemoryEditor::SetText(std::string_view text) {
    const bool addLineEnd = !text.empty() && !text.ends_with("\r\n");
    const std::size_t size = text.size() + (addLineEnd ? 2 : 0);
    if (text_.capacity() < size || status_.capacity() < size) {
        // Room for a translation, mostly somewhat longer than its source: translating a part
        // then reuses the editor's memory instead of moving it.
        const std::size_t room = size + size / 4 + 16;
        text_.reserve(room);
        status_.reserve(room);
    }
    text_.assign(text);
    if (addLineEnd) text_ += "\r\n";
    status_.assign(text_.size(), kUnmarked);
}

void MemoryEditor::SetMarks(const std::vector<Mark>& marks) {
    const int size = static_cast<int>(text_.size());
    for (const Mark& mark : marks) {
        const int begin = std::clamp(mark.start, 0, size);
        const int end = std::clamp(mark.start + mark.length, begin, size);
        FillStatus(status_.data() + begin, end - begin, static_cast<std::uint8_t>(mark.status));
    }
}

std::vector<Mark> MemoryEditor::MarkedRuns() const {
    std::vector<Mark> runs;
    const int size = static_cast<int>(text_.size());
    int i = 0;
    while (i < size) {
        const auto status = status_[i];
        if (status == kUnmarked || static_cast<unsigned char>(text_[i]) < 0x20) {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < size && status_[j] == status && static_cast<unsigned char>(text_[j]) >= 0x20) ++j;
        runs.push_back({i, j - i, status});
        i = j;
    }
    return runs;
}

void MemoryEditor::Replace(int start, int length, std::string_view text, int status) {
    const int size = static_cast<int>(text_.size());
    const int begin = std::clamp(start, 0, size);
    const int end = std::clamp(start + length, begin, size);
    text_.replace(begin, end - begin, text);
    status_.erase(status_.begin() + begin, status_.begin() + end);
    status_.insert(status_.begin() + begin, text.size(), static_cast<std::uint8_t>(status));
}

}  // namespace vlp
