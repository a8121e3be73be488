#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "translate/editor.h"

namespace vlp {

inline constexpr int kChoiceCount = 11;

// The walk through the ambiguous (red bold) words of a list of editors. The window's dialog
// only draws what this holds. A red run is a maximal run of characters marked ambiguous; any
// other character, and every character below 0x20, separates two runs.
class AmbiguityWalk {
public:
    struct Candidate {
        std::string caption;      // what the radio button shows
        std::string replacement;  // the caption up to its first blank: what replace writes
    };

    // Starts a walk over the editors (the dialog being shown): editor 0, first red word. Call
    // FindNext to search.
    void Start(const std::vector<Editor*>& editors);
    // Stores the editor list again and resets the position without searching (the command
    // pressed while the dialog is visible); the wanted occurrence stays as it is.
    void Restart(const std::vector<Editor*>& editors);

    // Searches from the current position; false at the end of the walk. Searching again
    // without a replace or skip finds the same word.
    bool FindNext(const Workspace& ws);
    // Replaces the current word by candidate `choice` (green), remembers the choice for a
    // dictionary word, and searches on. A choice that is not offered changes nothing.
    bool Replace(Workspace& ws, int choice);
    // Replaces the current word by `text` (green) without touching the remembered choice, and
    // searches on.
    bool ReplaceWith(const Workspace& ws, std::string_view text);
    // Skips the current word and searches on.
    bool Skip(const Workspace& ws);

    bool AtEnd() const { return atEnd_; }
    int CurrentEditor() const { return current_; }
    // 0-based start and length of the current word in the current editor.
    int WordStart() const { return wordStart_ - 1; }
    int WordLength() const { return wordEnd_ - wordStart_ + 1; }
    const std::string& Word() const { return word_; }
    // The WordTable entry of the current word, or -1.
    int WordIndex() const { return wordIndex_; }
    const std::vector<Candidate>& Candidates() const { return candidates_; }
    int CheckedCandidate() const { return checked_; }
    // How many red runs remain from the current word on (the current one included).
    int RemainingCount() const;

private:
    void FillCandidates(const Workspace& ws);
    void ReplaceCurrent(std::string_view text);

    std::vector<Editor*> editors_;
    int current_ = 0;
    int occurrence_ = 1;
    int wordIndex_ = -1;
    int wordStart_ = 0;
    int wordEnd_ = 0;
    bool atEnd_ = false;
    std::string word_;
    std::vector<Candidate> candidates_;
    int checked_ = 0;
};

// The ambiguous runs of an editor, in text order.
std::vector<Mark> AmbiguousRuns(const Editor& editor);

}  // namespace vlp
