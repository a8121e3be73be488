#include "translate/memory_editor.h"

#include <algorithm>

namespace vlp {

void MemoryEditor::SetText(std::string_view text) {
    text_.assign(text);
    if (!text_.empty() && !(text_.size() >= 2 && text_.ends_with("\r\n"))) text_ += "\r\n";
    status_.assign(text_.size(), kUnmarked);
}

void MemoryEditor::SetMarks(const std::vector<Mark>& marks) {
    const int size = static_cast<int>(text_.size());
    for (const Mark& mark : marks) {
        const int begin = std::clamp(mark.start, 0, size);
        const int end = std::clamp(mark.start + mark.length, begin, size);
        std::fill(status_.begin() + begin, status_.begin() + end, static_cast<std::uint8_t>(mark.status));
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
