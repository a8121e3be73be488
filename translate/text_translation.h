#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "project/project_state.h"
#include "translate/editor.h"
#include "translate/word_index.h"
#include "translate/word_memo.h"

namespace vlp {

inline constexpr int kCommentPartKind = 2;
inline constexpr int kPropertyPartKind = 5;

// One part of a section frame: its editor, its kind and the section's class name.
struct FramePart {
    Editor* editor = nullptr;
    int kind = 0;
    std::string className;
};
using TFrameStruct = std::vector<FramePart>;

// Translates one line (without its line end); appends a mark for every word whose status is
// not NotFound, its start offset by `offset`.
std::string TranslateLine(const Workspace& ws, std::string_view line, int offset, int partKind,
                          std::string_view context, std::vector<Mark>& marks);

// On the first translation after an open (targetLanguageFile empty): takes the target from the
// language button that is down, sets saveLanguage, hides every button and loads the target
// dictionary (IoError propagates). Does nothing once the target is fixed.
void ChooseTargetLanguage(Workspace& ws);

// The first part translated after an open fixes the target from the button that is down,
// hides the buttons and loads the target dictionary (IoError propagates).
void TranslatePart(Workspace& ws, Editor& editor, int partKind, std::string_view context);
void TranslateFrame(Workspace& ws, const TFrameStruct& frame);

// Translates many parts with hash indexes over WordTable and the names table. The names index
// is built when it is made: row 1 of NameTranslations must not change while it is used.
class PartTranslator {
public:
    explicit PartTranslator(Workspace& ws) : ws_(ws), words_(ws), names_(ws) {}

    void TranslatePart(Editor& editor, int partKind, std::string_view context);
    void TranslateFrame(const TFrameStruct& frame);
    // Translates `text` (lines each ending in CR LF; a missing last line end is implied) as a
    // part of the kind, without touching any editor or the target language.
    std::string TranslateText(std::string_view text, int partKind, std::string_view context,
                              std::vector<Mark>& marks);

private:
    // The translated text, valid until the next call.
    std::string_view Translate(std::string_view text, int partKind, std::string_view context,
                               std::vector<Mark>& marks);

    Workspace& ws_;
    WordIndex words_;  // rebuilt when the first part loads the target dictionary
    NameIndex names_;
    // The sense each class name picks for the entries of several translations met so far
    // (ContextSense), by class name and entry; cleared when the word index is rebuilt.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // By WordIndex::Contextual number: the sense, -1 for none, or -2 while not yet worked out.
    using ContextSenses = std::unordered_map<std::string, std::vector<int>, TextHash, std::equal_to<>>;
    ContextSenses contextSenses_;
    std::string lastContext_;  // the class name last looked up, and its senses
    std::vector<int>* lastSenses_ = nullptr;
    WordMemo memo_;             // cleared when the word index is rebuilt
    std::string buffer_;  // the translated text, kept from part to part
    std::string text_;    // a part's text where its editor gives no view of its own
    std::string scratch_;
    std::vector<Mark> marks_;
};

}  // namespace vlp
