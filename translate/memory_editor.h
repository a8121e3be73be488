#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "translate/editor.h"

namespace vlp {

// The in-memory editor used by the batch tool and the tests: the text and one mark status
// per character.
class MemoryEditor : public Editor {
public:
    MemoryEditor() = default;
    explicit MemoryEditor(std::string_view text) { SetText(text); }

    std::string Text() const override { return text_; }
    std::string_view TextView(std::string& /*storage*/) const override { return text_; }
    // The text without a copy, valid until the editor changes.
    std::string_view View() const { return text_; }
    void SetText(std::string_view text) override;
    void SetMarks(const std::vector<Mark>& marks) override;
    std::vector<Mark> MarkedRuns() const override;
    void Replace(int start, int length, std::string_view text, int status) override;

private:
    std::string text_;
    std::vector<std::uint8_t> status_;
};

}  // namespace vlp
