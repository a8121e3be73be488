#pragma once

#include <string>
#include <string_view>
#include <vector>

// What translation, the ambiguity walk, search and save need of a text editor. Offsets count
// a line end as the two characters CR LF.
namespace vlp {

enum MarkStatus : int {
    kUnmarked = 0,
    kMarkTranslated = 1,  // blue
    kMarkAmbiguous = 2,   // red and bold
    kMarkResolved = 3,    // green
};

struct Mark {
    int start = 0;
    int length = 0;
    int status = kUnmarked;
    bool operator==(const Mark&) const = default;
};

class Editor {
public:
    virtual ~Editor() = default;

    // The editor's lines, each followed by CR LF; empty when the editor holds nothing.
    virtual std::string Text() const = 0;
    // The same text as a view, valid until the editor changes or `storage` is used again. An
    // editor that holds the text as it is gives a view of it without copying.
    virtual std::string_view TextView(std::string& storage) const {
        storage = Text();
        return storage;
    }
    // Replaces the whole text; the new text has the default format (no marks). Lines end at
    // CR LF; a missing final line end is implied.
    virtual void SetText(std::string_view text) = 0;
    // Colours the ranges, in order (a later range wins where two overlap).
    virtual void SetMarks(const std::vector<Mark>& marks) = 0;
    // Maximal runs of characters that carry the same mark, in text order. Characters below
    // 0x20 (line ends included) are never part of a run.
    virtual std::vector<Mark> MarkedRuns() const = 0;
    // Replaces a range of the text and gives the new text the mark status (kUnmarked for the
    // default format).
    virtual void Replace(int start, int length, std::string_view text, int status) = 0;
};

}  // namespace vlp
