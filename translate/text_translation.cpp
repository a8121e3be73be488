#include "translate/text_translation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "language/dictionary.h"
#include "translate/word_memo.h"

namespace vlp {
namespace {

// A class's choice for an entry that has not been worked out yet.
constexpr int kSenseNotYetKnown = -2;

constexpr std::string_view kRichTextMarker = "|{\\rtf1\\";
constexpr std::string_view kEscapedRichTextMarker = "{\\\\rtf1\\\\";

// The line scanner's character classes. Word characters are 0x21-0xFF except the separators
// the scripting language uses between words; the bar quotes, and the opening brace (a word
// character) may start a rich-text marker.
enum CharClass : unsigned char { kSeparator, kWordChar, kBar, kBrace };

constexpr std::array<CharClass, 256> MakeCharClassTable() {
    std::array<CharClass, 256> table{};
    for (unsigned c = 0x21; c < 256; ++c) table[c] = kWordChar;
    for (unsigned char c : std::string_view("\"'()*+,-/:;<=>[]\\`~\x7F\xAB\xAC\xB6\xBB"))
        table[c] = kSeparator;
    table[static_cast<unsigned char>('|')] = kBar;
    table[static_cast<unsigned char>('{')] = kBrace;
    return table;
}
constexpr std::array<CharClass, 256> kCharClass = MakeCharClassTable();

CharClass ClassOf(char c) {
    return kCharClass[static_cast<unsigned char>(c)];
}

// The text being built, in a buffer kept from part to part: appends without the bookkeeping of
// std::string, which shows when a part is assembled from many short pieces.
class TextBuilder {
public:
    TextBuilder(std::string& storage, std::size_t expected) : storage_(storage) {
        if (storage_.size() < expected) storage_.resize(expected);
        Point(0);
    }

    std::size_t size() const { return static_cast<std::size_t>(next_ - begin_); }
    char back() const { return next_[-1]; }
    // Called for every word and separator: kept inline whatever the caller's size.
    [[gnu::always_inline]] void Append(std::string_view text) {
        const std::size_t n = text.size();
        if (n > static_cast<std::size_t>(end_ - next_)) Grow(n);
        char* to = next_;
        const char* from = text.data();
        // Most pieces are a word or a separator: copied in two overlapping fixed-size moves
        // rather than through a call.
        if (n >= 8 && n <= 16) {
            CopyOverlapping<std::uint64_t>(to, from, n);
        } else if (n >= 4 && n < 8) {
            CopyOverlapping<std::uint32_t>(to, from, n);
        } else if (n > 0 && n < 4) {
            const char first = from[0], middle = from[n / 2], last = from[n - 1];
            to[0] = first;
            to[n / 2] = middle;
            to[n - 1] = last;
        } else if (n > 16) {
            std::memcpy(to, from, n);
        }
        next_ += n;
    }
    std::string_view View() const { return std::string_view(begin_, size()); }

private:
    // Copies n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as the first and the last word.
    template <class Word>
    static void CopyOverlapping(char* to, const char* from, std::size_t n) {
        Word head;
        Word tail;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
    }

    [[gnu::noinline]] void Grow(std::size_t n) {
        const std::size_t used = size();
        storage_.resize(std::max(2 * storage_.size(), used + n));
        Point(used);
    }
    void Point(std::size_t used) {
        begin_ = storage_.data();
        next_ = begin_ + used;
        end_ = begin_ + storage_.size();
    }

    std::string& storage_;
    char* begin_ = nullptr;  // storage_'s bytes: [begin_, next_) written, [next_, end_) free
    char* next_ = nullptr;
    char* end_ = nullptr;
};

bool RichTextMarkerAt(std::string_view line, std::size_t i) {
    const std::string_view rest = line.substr(i);
    return rest.starts_with(kRichTextMarker) || rest.starts_with(kEscapedRichTextMarker);
}

bool IsCommentLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line[first] == ';';
}

// Word translation through the hash indexes, for whole parts. The sense a class name picks
// for an entry is worked out once per entry and kept in `senses` by the entry's
// WordIndex::Contextual number (null without a class name).
// Outcomes that depend on the word alone are kept in `memo` by the word's exact bytes; the
// words lie in memory readable up to `readableEnd`.
struct IndexedLookup {
    const Workspace& ws;
    const WordIndex& words;
    const NameIndex& names;
    std::vector<int>* senses;
    WordMemo& memo;
    const char* readableEnd;
    // The memo's hit is the common case and stays inline in the scanner.
    [[gnu::always_inline]] WordResult operator()(std::string_view word, char nextChar, std::string_view context,
                                                 std::string& scratch) const {
        using Kind = WordMemo::Kind;
        WordMemo::Key memoKey;
        const bool memoable = WordMemo::MakeKey(word, readableEnd, memoKey);
        if (memoable) {
            const WordMemo::Outcome kept = memo.Find(memoKey);
            switch (kept.kind) {
            case Kind::kTranslated:
                return {kept.text, Translated};
            case Kind::kUnchanged:
                return {word, NotFound};
            case Kind::kAmbiguous:
                return {word, Ambiguous};
            case Kind::kEntry:
                return Contextual(word, kept.entry, nextChar, context, scratch);
            case Kind::kNone:
                break;
            }
        }
        return LookUp(word, memoable ? &memoKey : nullptr, nextChar, context, scratch);
    }

private:
    // A word met for the first time (or not kept): looked up in the indexes, and kept under
    // `memoKey` when there is one.
    [[gnu::noinline]] WordResult LookUp(std::string_view word, const WordMemo::Key* memoKey, char nextChar,
                                        std::string_view context, std::string& scratch) const {
        using Kind = WordMemo::Kind;
        const WordKey key(words.KeyMap(), word);
        const WordIndex::Hit hit = words.Lookup(key);
        WordResult result;
        WordMemo::Outcome outcome;
        if (hit.single) {
            result = {hit.target, Translated};
        } else if (hit.entry >= 0) {
            // What the class or the next character decides is worked out each time.
            outcome = {Kind::kEntry, {}, hit.entry};
            result = Contextual(word, hit.entry, nextChar, context, scratch);
        } else if (!MayBeSetForm(ws, words.KeyMap(), key)) {
            result = TranslateNameWord(ws, names, key, word);
        } else {
            // A set form, a name or nothing: the word alone decides.
            result = TranslateIndexedWord(ws, words, names, -1, key, word, nextChar, context, scratch);
        }
        if (memoKey == nullptr) return result;
        if (outcome.kind == Kind::kNone) outcome = OutcomeOf(word, result);
        memo.Add(*memoKey, outcome);
        return result;
    }

    // How the memo keeps a result that depends on the word alone.
    static WordMemo::Outcome OutcomeOf(std::string_view word, const WordResult& result) {
        using Kind = WordMemo::Kind;
        const bool itself = result.text.data() == word.data() && result.text.size() == word.size();
        if (itself && result.status == NotFound) return {Kind::kUnchanged, {}, -1};
        if (itself && result.status == Ambiguous) return {Kind::kAmbiguous, {}, -1};
        if (result.status == Translated) return {Kind::kTranslated, result.text, -1};
        return {Kind::kNone, {}, -1};  // not kept
    }

    // A word of an entry with several translations: the section's class may pick one, else
    // what follows the word decides.
    [[gnu::noinline]] WordResult Contextual(std::string_view word, int entry, char nextChar, std::string_view context,
                                            std::string& scratch) const {
        const int number = words.Contextual(entry);
        if (number < 0) {
            // No translation at all.
            const WordKey key(words.KeyMap(), word);
            return TranslateIndexedWord(ws, words, names, entry, key, word, nextChar, context, scratch);
        }
        const WordEntry& found = ws.language.WordTable[static_cast<std::size_t>(entry)];
        if (senses != nullptr) {
            // Numbers are given as entries are found: the class's list grows with them.
            if (static_cast<std::size_t>(number) >= senses->size())
                senses->resize(static_cast<std::size_t>(words.ContextualCount()), kSenseNotYetKnown);
            int& sense = (*senses)[static_cast<std::size_t>(number)];
            if (sense == kSenseNotYetKnown) sense = ContextSense(ws, found, context);
            if (sense >= 0) return {found.senses[static_cast<std::size_t>(sense)].target, Translated};
        }
        return UnchosenResult(ws, found, words.Unchosen(number), word, nextChar);
    }
};

// Word translation through the plain searches, for a single line.
struct SearchingLookup {
    const Workspace& ws;
    WordResult operator()(std::string_view word, char nextChar, std::string_view context,
                          std::string& scratch) const {
        return TranslateWordView(ws, word, nextChar, context, scratch);
    }
};

// Cuts a line into words, separators, bar-quoted strings and untouchable tails, and appends
// the translated line to `out`. Mark offsets are `offset` plus the position in the line's
// output.
template <class Lookup>
class LineScanner {
public:
    LineScanner(const Lookup& lookup, std::string& scratch, TextBuilder& out, int offset, int partKind,
                std::string_view context, std::vector<Mark>& marks)
        : lookup_(lookup),
          scratch_(scratch),
          out_(out),
          base_(out.size()),
          offset_(offset),
          partKind_(partKind),
          context_(context),
          marks_(marks) {}

    void Scan(std::string_view line) {
        const std::size_t n = line.size();
        // Characters that pass unchanged are copied in runs: line[copyFrom, i) is still to be
        // copied. While a word is being collected nothing is pending (copyFrom == wordBegin).
        std::size_t copyFrom = 0;
        std::size_t wordBegin = 0;
        std::size_t wordLength = 0;
        bool quoted = false;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = line[i];
            const CharClass k = ClassOf(c);
            if (k >= kBar && RichTextMarkerAt(line, i)) {
                // The word before the marker stays untranslated, like everything after it.
                out_.Append(line.substr(copyFrom));
                return;
            }
            if (k == kBar &&
                (quoted || !LastWrittenIsBackslash(line, copyFrom, wordLength ? wordBegin : i))) {
                quoted = !quoted;
                if (quoted && wordLength != 0) {
                    Translate(line.substr(wordBegin, wordLength), '|');
                    wordLength = 0;
                    copyFrom = i;  // the bar follows the word's replacement
                    if (partKind_ == kPropertyPartKind) break;
                }
                continue;
            }
            if (quoted) {
                // Up to the next character that can close the string or start a marker.
                std::size_t j = i + 1;
                while (j < n && ClassOf(line[j]) < kBar) ++j;
                i = j - 1;
                continue;
            }
            if (k == kWordChar || k == kBrace) {
                if (wordLength == 0) {
                    out_.Append(line.substr(copyFrom, i - copyFrom));
                    copyFrom = wordBegin = i;
                }
                std::size_t j = i + 1;
                while (j < n && ClassOf(line[j]) == kWordChar) ++j;
                wordLength += j - i;
                i = j - 1;
                continue;
            }
            if (wordLength == 0) {
                std::size_t j = i + 1;
                while (j < n && ClassOf(line[j]) == kSeparator) ++j;
                i = j - 1;
                continue;
            }
            Translate(line.substr(wordBegin, wordLength), c);
            wordLength = 0;
            copyFrom = i;  // the separator follows the word's replacement
            if (partKind_ == kPropertyPartKind) break;
        }
        if (wordLength != 0) {
            Translate(line.substr(wordBegin, wordLength), '|');
            return;
        }
        out_.Append(line.substr(copyFrom));
    }

private:
    // Whether the last character of the line's output so far is a backslash; an empty output
    // has none. The output is what was written plus the pending run line[copyFrom, end).
    bool LastWrittenIsBackslash(std::string_view line, std::size_t copyFrom, std::size_t end) const {
        if (copyFrom < end) return line[end - 1] == '\\';
        return out_.size() > base_ && out_.back() == '\\';
    }

    [[gnu::always_inline]] void Translate(std::string_view word, char nextChar) {
        const std::size_t p = out_.size();
        const WordResult result = lookup_(word, nextChar, context_, scratch_);
        out_.Append(result.text);
        if (result.status != NotFound)
            marks_.push_back({offset_ + static_cast<int>(p - base_), static_cast<int>(result.text.size()),
                              static_cast<int>(result.status)});
    }

    const Lookup& lookup_;
    std::string& scratch_;
    TextBuilder& out_;
    const std::size_t base_;
    const int offset_;
    const int partKind_;
    const std::string_view context_;
    std::vector<Mark>& marks_;
};

void AppendTranslatedText(const IndexedLookup& lookup, std::string& scratch, std::string_view text,
                          int partKind, std::string_view context, TextBuilder& out,
                          std::vector<Mark>& marks) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end == text.size() ? end : end + 2;
        if (IsCommentLine(line)) {
            out.Append(line);
        } else {
            LineScanner(lookup, scratch, out, static_cast<int>(out.size()), partKind, context, marks)
                .Scan(line);
        }
        out.Append("\r\n");
    }
}

}  // namespace

std::string TranslateLine(const Workspace& ws, std::string_view line, int offset, int partKind,
                          std::string_view context, std::vector<Mark>& marks) {
    const SearchingLookup lookup{ws};
    std::string scratch;
    std::string storage;
    TextBuilder out(storage, line.size() + line.size() / 4 + 16);
    LineScanner(lookup, scratch, out, offset, partKind, context, marks).Scan(line);
    return std::string(out.View());
}

void ChooseTargetLanguage(Workspace& ws) {
    LanguageState& language = ws.language;
    if (!language.targetLanguageFile.empty()) return;
    const std::size_t count = std::min<std::size_t>(language.LanguageList.size(), kLanguageButtonCount);
    for (std::size_t i = 0; i < count; ++i) {
        LanguageButton& button = ws.buttons.buttons[i];
        if (button.down) {
            language.targetLanguageFile = language.LanguageList[i].fileName;
            ws.project.saveLanguage = language.LanguageList[i].name;
        }
        button.visible = false;
    }
    LoadTargetLanguage(language);
}

std::string_view PartTranslator::Translate(std::string_view text, int partKind, std::string_view context,
                                           std::vector<Mark>& marks) {
    if (!words_.Matches(ws_)) {
        words_.Build(ws_);
        contextSenses_.clear();
        lastSenses_ = nullptr;
        memo_.Clear();
    }
    std::vector<int>* senses = nullptr;
    if (!context.empty()) {
        // The parts of a frame come one after another with the same class name.
        if (lastSenses_ == nullptr || context != lastContext_) {
            auto it = contextSenses_.find(context);
            if (it == contextSenses_.end())
                it = contextSenses_.emplace(std::string(context), std::vector<int>()).first;
            lastContext_ = context;
            lastSenses_ = &it->second;
        }
        senses = lastSenses_;
    }
    TextBuilder out(buffer_, text.size() + text.size() / 4 + 16);
    AppendTranslatedText(IndexedLookup{ws_, words_, names_, senses, memo_, text.data() + text.size()}, scratch_,
                         text, partKind, context, out, marks);
    return out.View();
}

std::string PartTranslator::TranslateText(std::string_view text, int partKind, std::string_view context,
                                          std::vector<Mark>& marks) {
    return std::string(Translate(text, partKind, context, marks));
}

void PartTranslator::TranslatePart(Editor& editor, int partKind, std::string_view context) {
    if (partKind == kCommentPartKind) return;
    ChooseTargetLanguage(ws_);
    marks_.clear();
    const std::string_view text = editor.TextView(text_);
    editor.SetText(Translate(text, partKind, context, marks_));
    editor.SetMarks(marks_);
}

void PartTranslator::TranslateFrame(const TFrameStruct& frame) {
    for (const FramePart& part : frame) TranslatePart(*part.editor, part.kind, part.className);
}

void TranslatePart(Workspace& ws, Editor& editor, int partKind, std::string_view context) {
    PartTranslator(ws).TranslatePart(editor, partKind, context);
}

void TranslateFrame(Workspace& ws, const TFrameStruct& frame) {
    PartTranslator(ws).TranslateFrame(frame);
}

}  // namespace vlp
