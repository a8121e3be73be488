#include "translate/ambiguity_walk.h"

#include <algorithm>

#include "translate/word_lookup.h"

namespace vlp {
namespace {

constexpr int kMaxSenseChoices = 10;

std::string CaptionReplacement(std::string_view caption) {
    return std::string(caption.substr(0, caption.find(' ')));
}

AmbiguityWalk::Candidate MakeCandidate(std::string caption) {
    AmbiguityWalk::Candidate candidate;
    candidate.replacement = CaptionReplacement(caption);
    candidate.caption = std::move(caption);
    return candidate;
}

}  // namespace

std::vector<Mark> AmbiguousRuns(const Editor& editor) {
    std::vector<Mark> runs = editor.MarkedRuns();
    std::erase_if(runs, [](const Mark& run) { return run.status != kMarkAmbiguous || run.length <= 0; });
    return runs;
}

void AmbiguityWalk::Start(const std::vector<Editor*>& editors) {
    Restart(editors);
    occurrence_ = 1;
}

void AmbiguityWalk::Restart(const std::vector<Editor*>& editors) {
    editors_ = editors;
    current_ = 0;
    atEnd_ = false;
}

bool AmbiguityWalk::FindNext(const Workspace& ws) {
    candidates_.clear();
    checked_ = 0;
    word_.clear();
    wordIndex_ = -1;
    wordStart_ = 0;
    wordEnd_ = 0;
    for (;;) {
        if (current_ >= static_cast<int>(editors_.size())) {
            atEnd_ = true;
            return false;
        }
        const std::vector<Mark> runs = AmbiguousRuns(*editors_[current_]);
        if (occurrence_ <= static_cast<int>(runs.size())) {
            const Mark& run = runs[occurrence_ - 1];
            wordStart_ = run.start + 1;
            wordEnd_ = run.start + run.length;
            break;
        }
        occurrence_ = 1;
        ++current_;
    }
    atEnd_ = false;
    word_ = editors_[current_]->Text().substr(wordStart_ - 1, wordEnd_ - wordStart_ + 1);
    wordIndex_ = FindWord(ws, word_);
    FillCandidates(ws);
    return true;
}

void AmbiguityWalk::FillCandidates(const Workspace& ws) {
    if (wordIndex_ >= 0) {
        const WordEntry& entry = ws.language.WordTable[wordIndex_];
        const int m = std::min(static_cast<int>(entry.senses.size()) - 1, kMaxSenseChoices - 1);
        for (int k = 0; k <= m; ++k)
            candidates_.push_back(
                MakeCandidate(entry.senses[k].target + " ... " + entry.senses[k].description));
        candidates_.push_back(MakeCandidate(word_));
        checked_ = entry.chosenSense >= 0 && entry.chosenSense < static_cast<int>(candidates_.size())
                       ? entry.chosenSense
                       : 0;
    } else if (IsSetForm(ws, word_)) {
        const std::size_t p = ws.language.sourceSetPrefix.size();
        const std::size_t s = ws.language.sourceSetSuffix.size();
        const std::string middle = word_.substr(p, word_.size() - p - s);
        candidates_.push_back(MakeCandidate(ws.language.targetSetPrefix.empty()
                                                ? middle + ws.language.targetSetSuffix
                                                : MakeTargetSetForm(ws, middle)));
        candidates_.push_back(MakeCandidate(word_));
    } else {
        candidates_.push_back(MakeCandidate(word_));
    }
}

void AmbiguityWalk::ReplaceCurrent(std::string_view text) {
    editors_[current_]->Replace(wordStart_ - 1, wordEnd_ - wordStart_ + 1, text, kMarkResolved);
}

bool AmbiguityWalk::Replace(Workspace& ws, int choice) {
    if (atEnd_ || choice < 0 || choice >= static_cast<int>(candidates_.size())) return !atEnd_;
    auto& table = ws.language.WordTable;
    if (wordIndex_ >= 0 && wordIndex_ < static_cast<int>(table.size()))
        table[wordIndex_].chosenSense = choice;
    ReplaceCurrent(candidates_[choice].replacement);
    // The replaced word is no longer red, so the same occurrence now names the next red word.
    return FindNext(ws);
}

bool AmbiguityWalk::ReplaceWith(const Workspace& ws, std::string_view text) {
    if (atEnd_ || candidates_.empty()) return !atEnd_;
    ReplaceCurrent(text);
    return FindNext(ws);
}

bool AmbiguityWalk::Skip(const Workspace& ws) {
    ++occurrence_;
    return FindNext(ws);
}

int AmbiguityWalk::RemainingCount() const {
    if (atEnd_ || current_ >= static_cast<int>(editors_.size())) return 0;
    int count = static_cast<int>(AmbiguousRuns(*editors_[current_]).size()) - (occurrence_ - 1);
    for (std::size_t e = current_ + 1; e < editors_.size(); ++e)
        count += static_cast<int>(AmbiguousRuns(*editors_[e]).size());
    return std::max(count, 0);
}

}  // namespace vlp
