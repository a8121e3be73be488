#include "project/section_reassembly.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <utility>

#include "language/dictionary.h"
#include "language/property_names.h"
#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

constexpr char kPilcrow = '\xB6';
constexpr std::string_view kSeparators = "[] /*+-|\"\\()<>=;\xB6";
constexpr std::string_view kImageMarker = " {image%";

bool IsTabOrBlank(char c) {
    return c == ' ' || c == '\t';
}

// The index over TargetPropertyNames, rebuilt only when the table or the mode changed, so that
// saving frame by frame does not fold the whole table once per frame.
const PropertyCodeIndex& TargetPropertyCodes(const Workspace& ws) {
    PropertyCodeIndex& index = ws.parse.targetPropertyCodes;
    const LanguageState& language = ws.language;
    if (index.built && index.upperCaseMode == language.upperCaseMode &&
        index.names == language.TargetPropertyNames)
        return index;
    index.built = true;
    index.upperCaseMode = language.upperCaseMode;
    index.names = language.TargetPropertyNames;
    index.codes.clear();
    for (int code = 0; code < kPropertyCodeCount; ++code) {
        const std::string& name = language.TargetPropertyNames[code];
        if (!name.empty()) index.codes.emplace(FoldWord(name, language.upperCaseMode), code);
    }
    return index;
}

std::optional<int> FindPropertyCode(const Workspace& ws, const PropertyCodeIndex& index,
                                    std::string_view word) {
    if (word.empty()) return std::nullopt;
    const auto hit = index.codes.find(FoldWord(word, ws.language.upperCaseMode));
    if (hit == index.codes.end()) return std::nullopt;
    return hit->second;
}

// A picture number as written between "{image%" and "%}"; 1 when it is no valid integer.
int PictureNumber(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) return 1;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 1;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) return 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return 1;
    return static_cast<int>(value);
}

void ReplaceLineBreaksByPilcrow(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += kPilcrow;
            ++i;
        } else {
            out += text[i];
        }
    }
    text = std::move(out);
}

// One definition text as its one-line record; empty when the text names no definition.
std::string DefinitionRecord(std::string_view text, std::string_view keyword) {
    const std::size_t start = text.find_first_not_of(' ');
    text = start == std::string_view::npos ? std::string_view{} : text.substr(start);

    const std::size_t firstBlank = text.find(' ');
    if (firstBlank == std::string_view::npos) return {};
    const std::size_t nameStart = text.find_first_not_of(' ', firstBlank);
    if (nameStart == std::string_view::npos) return {};
    const std::size_t nameEnd = text.find_first_of(" \r", nameStart);
    const std::string_view name = text.substr(nameStart, nameEnd - nameStart);
    if (name.empty()) return {};

    std::string encoded;
    if (text.find('|') == std::string_view::npos && text.find(kPilcrow) == std::string_view::npos) {
        encoded.reserve(text.size() + 2);
        encoded += '|';
        encoded += text;
        encoded += '|';
    } else {
        encoded = EscapeSeparators(text);
    }
    ReplaceLineBreaksByPilcrow(encoded);

    std::string record = "\t";
    record += keyword;
    record += '\'';
    record += name;
    record += ' ';
    record += encoded;
    return record;
}

// The word that opens a definition record. Without a target language it is the source word,
// which the dictionary holds in capitals: lowered with the code page's casing, so that an
// accented keyword is not written half in capitals.
std::string DefiningKeyword(const LanguageState& language) {
    if (language.TargetDictionary.empty()) return AnsiLower(SourceWord(language, "param define"));
    return TargetWord(language, "param define");
}

// Appends the lines of one part: trailing blanks removed, empty lines dropped.
void AppendPartLines(std::string_view text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        std::string line = TrimRight(text.substr(start, stop - start));
        if (!line.empty()) lines.push_back(std::move(line));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
}

struct PictureReference {
    int picture;
    long long line;
};

// Property names back to codes, and picture markers cut out into references.
void RestoreObjectLines(const Workspace& ws, std::vector<std::string>& lines,
                        std::vector<PictureReference>& pictures) {
    const PropertyCodeIndex& codes = TargetPropertyCodes(ws);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        std::size_t wordStart = 0;
        while (wordStart < line.size() && IsTabOrBlank(line[wordStart])) ++wordStart;
        std::size_t wordEnd = wordStart;
        while (wordEnd < line.size() && !IsTabOrBlank(line[wordEnd])) ++wordEnd;
        if (const auto code =
                FindPropertyCode(ws, codes, std::string_view(line).substr(wordStart, wordEnd - wordStart)))
            line.replace(wordStart, wordEnd - wordStart, std::to_string(*code));

        const std::size_t marker = line.find(kImageMarker);
        if (marker == std::string::npos) continue;
        const std::string_view rest = std::string_view(line).substr(marker + kImageMarker.size());
        const std::size_t close = rest.find("%}");
        if (close == std::string_view::npos || close == 0) continue;
        pictures.push_back({PictureNumber(rest.substr(0, close)), static_cast<long long>(i) - 1});
        line.erase(marker + 1);
        line += "[]";
    }
}

std::string PictureIndexLine(const std::vector<PictureReference>& pictures) {
    std::string line = "\t[";
    for (const auto& reference : pictures)
        line += "[" + std::to_string(reference.picture) + " " + std::to_string(reference.line) + "]";
    line += "]";
    return line;
}

}  // namespace

std::string FrameSaveText(const Workspace& ws, const std::vector<PartText>& parts) {
    std::vector<std::string> lines;
    std::optional<std::string> keyword;
    for (const PartText& part : parts) {
        std::string_view text = part.text;
        while (text.size() > 2 && text.substr(text.size() - 2) == "\r\n") text.remove_suffix(2);
        if (part.kind == kDefinePartKind) {
            if (!keyword) keyword = DefiningKeyword(ws.language);
            AppendPartLines(DefinitionRecord(text, *keyword), lines);
        } else {
            AppendPartLines(text, lines);
        }
    }

    if (!parts.empty() && parts.front().kind == 1) {
        std::vector<PictureReference> pictures;
        RestoreObjectLines(ws, lines, pictures);
        if (!pictures.empty()) lines.push_back(PictureIndexLine(pictures));
    }

    std::string out;
    std::size_t size = 2;
    for (const auto& line : lines) size += line.size() + 2;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    out += "\r\n";
    return out;
}

std::string EscapeSeparators(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        if (kSeparators.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::string ProjectSaveText(Workspace& ws, const std::vector<std::vector<PartText>>& frames) {
    BuildTargetPropertyNames(ws.language);
    std::string text;
    for (const auto& parts : frames) text += FrameSaveText(ws, parts);
    return text;
}

}  // namespace vlp
