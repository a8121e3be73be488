#include "translate/text_translation.h"

#include <algorithm>
#include <array>

#include "language/dictionary.h"

namespace vlp {
namespace {

constexpr std::string_view kRichTextMarker = "|{\\rtf1\\";
constexpr std::string_view kEscapedRichTextMarker = "{\\\\rtf1\\\\";

// Word characters: 0x21-0xFF except the separators the scripting language uses between words.
constexpr std::array<bool, 256> MakeWordCharTable() {
    std::array<bool, 256> table{};
    for (unsigned c = 0x21; c < 256; ++c) table[c] = true;
    for (unsigned char c : std::string_view("\"'()*+,-/:;<=>[]\\`|~\x7F\xAB\xAC\xB6\xBB")) table[c] = false;
    return table;
}
constexpr std::array<bool, 256> kWordChar = MakeWordCharTable();

bool IsWordChar(char c) { return kWordChar[static_cast<unsigned char>(c)]; }

bool RichTextMarkerAt(std::string_view line, std::size_t i) {
    const std::string_view rest = line.substr(i);
    return rest.starts_with(kRichTextMarker) || rest.starts_with(kEscapedRichTextMarker);
}

bool IsCommentLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line[first] == ';';
}

// Cuts a line into words, separators, bar-quoted strings and untouchable tails, and appends
// the translated line to `out`. Mark offsets are `offset` plus the position in the line's
// output.
class LineScanner {
public:
    LineScanner(const Workspace& ws, const NameIndex& names, std::string& scratch, std::string& out, int offset,
                int partKind, std::string_view context, std::vector<Mark>& marks)
        : ws_(ws),
          names_(names),
          scratch_(scratch),
          out_(out),
          base_(out.size()),
          offset_(offset),
          partKind_(partKind),
          context_(context),
          marks_(marks) {}

    void Scan(std::string_view line) {
        const std::size_t n = line.size();
        std::size_t wordBegin = 0;
        std::size_t wordLength = 0;
        bool quoted = false;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = line[i];
            if ((c == '|' || c == '{') && RichTextMarkerAt(line, i)) {
                out_.append(line.substr(wordBegin, wordLength));
                out_.append(line.substr(i));
                return;
            }
            if (c == '|' && (quoted || out_.size() == base_ || out_.back() != '\\')) {
                quoted = !quoted;
                if (quoted && wordLength != 0) {
                    Flush(line.substr(wordBegin, wordLength), '|', true);
                    wordLength = 0;
                    if (partKind_ == kPropertyPartKind) {
                        out_.append(line.substr(i + 1));
                        return;
                    }
                } else {
                    out_ += '|';
                }
                continue;
            }
            if (quoted) {
                // Copy up to the next character that can close the string or start a marker.
                std::size_t j = i + 1;
                while (j < n && line[j] != '|' && line[j] != '{') ++j;
                out_.append(line.substr(i, j - i));
                i = j - 1;
                continue;
            }
            if (IsWordChar(c)) {
                if (wordLength == 0) wordBegin = i;
                std::size_t j = i + 1;
                while (j < n && IsWordChar(line[j]) && line[j] != '{') ++j;
                wordLength += j - i;
                i = j - 1;
                continue;
            }
            if (wordLength == 0) {
                out_ += c;
                continue;
            }
            Flush(line.substr(wordBegin, wordLength), c, true);
            wordLength = 0;
            if (partKind_ == kPropertyPartKind) {
                out_.append(line.substr(i + 1));
                return;
            }
        }
        if (wordLength != 0) Flush(line.substr(wordBegin, wordLength), '|', false);
    }

private:
    void Flush(std::string_view word, char nextChar, bool appendNext) {
        const std::size_t p = out_.size();
        const WordResult result = TranslateWordView(ws_, names_, word, nextChar, context_, scratch_);
        out_.append(result.text);
        if (appendNext) out_ += nextChar;
        if (result.status != NotFound)
            marks_.push_back({offset_ + static_cast<int>(p - base_), static_cast<int>(result.text.size()),
                              static_cast<int>(result.status)});
    }

    const Workspace& ws_;
    const NameIndex& names_;
    std::string& scratch_;
    std::string& out_;
    const std::size_t base_;
    const int offset_;
    const int partKind_;
    const std::string_view context_;
    std::vector<Mark>& marks_;
};

void AppendTranslatedText(const Workspace& ws, const NameIndex& names, std::string& scratch, std::string_view text,
                          int partKind, std::string_view context, std::string& out, std::vector<Mark>& marks) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end == text.size() ? end : end + 2;
        if (IsCommentLine(line)) {
            out.append(line);
        } else {
            LineScanner(ws, names, scratch, out, static_cast<int>(out.size()), partKind, context, marks).Scan(line);
        }
        out += "\r\n";
    }
}

}  // namespace

std::string TranslateLine(const Workspace& ws, std::string_view line, int offset, int partKind,
                          std::string_view context, std::vector<Mark>& marks) {
    const NameIndex names(ws);
    std::string scratch;
    std::string out;
    LineScanner(ws, names, scratch, out, offset, partKind, context, marks).Scan(line);
    return out;
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

std::string PartTranslator::TranslateText(std::string_view text, int partKind, std::string_view context,
                                          std::vector<Mark>& marks) {
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 2);
    AppendTranslatedText(ws_, names_, scratch_, text, partKind, context, out, marks);
    return out;
}

void PartTranslator::TranslatePart(Editor& editor, int partKind, std::string_view context) {
    if (partKind == kCommentPartKind) return;
    ChooseTargetLanguage(ws_);
    marks_.clear();
    const std::string result = TranslateText(editor.Text(), partKind, context, marks_);
    editor.SetText(result);
    editor.SetMarks(marks_);
}

void PartTranslator::TranslateFrame(const TFrameStruct& frame) {
    for (const FramePart& part : frame) TranslatePart(*part.editor, part.kind, part.className);
}

void TranslatePart(Workspace& ws, Editor& editor, int partKind, std::string_view context) {
    PartTranslator(ws).TranslatePart(editor, partKind, context);
}

void TranslateFrame(Workspace& ws, const TFrameStruct& frame) { PartTranslator(ws).TranslateFrame(frame); }

}  // namespace vlp
