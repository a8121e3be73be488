#include "project/section_parser.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "language/dictionary.h"
#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

constexpr char kPilcrow = '\xB6';
constexpr int kNamePropertyCode = 132;
constexpr int kLastPropertyCode = 194;

bool IsTabOrBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Fold(const Workspace& ws, std::string_view word) {
    return FoldWord(word, ws.language.upperCaseMode);
}

bool WordsEqual(const Workspace& ws, std::string_view a, std::string_view b) {
    return CompareWords(a, b, ws.language.upperCaseMode) == 0;
}

// The block's lines: cut at every CR LF, empty pieces dropped.
std::vector<std::string> SplitBlockLines(std::string_view block) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= block.size()) {
        const std::size_t end = block.find("\r\n", start);
        const std::size_t stop = end == std::string_view::npos ? block.size() : end;
        if (stop > start) lines.emplace_back(block.substr(start, stop - start));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return lines;
}

std::size_t FirstNonBlank(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsTabOrBlank(line[i])) ++i;
    return i;
}

// A decimal number of digits only, or nothing when it is no number or does not fit an int.
std::optional<int> ReadDecimal(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(value);
}

const SourceWordIndex& SourceWords(const Workspace& ws) {
    SourceWordIndex& index = ws.parse.sourceWords;
    const LanguageState& language = ws.language;
    if (index.built && index.upperCaseMode == language.upperCaseMode &&
        index.dictionarySize == language.SourceDictionary.size())
        return index;
    index = SourceWordIndex{};
    index.built = true;
    index.upperCaseMode = language.upperCaseMode;
    index.dictionarySize = language.SourceDictionary.size();
    for (const auto& pair : language.SourceDictionary.pairs) {
        std::string_view words = pair.second;
        while (!words.empty()) {
            const std::size_t blank = words.find(' ');
            const std::string_view word = words.substr(0, blank);
            if (!word.empty()) index.primitiveWords.insert(Fold(ws, word));
            words = blank == std::string_view::npos ? std::string_view{} : words.substr(blank + 1);
        }
    }
    for (const std::string& name : language.SourcePropertyNames) index.propertyNames.insert(Fold(ws, name));
    return index;
}

// Whether an index still describes its table: same comparison mode, same size.
template <typename Index, typename Table>
bool IsCurrent(const Index& index, const Workspace& ws, const Table& table) {
    return index.built && index.upperCaseMode == ws.language.upperCaseMode && index.tableSize == table.size();
}

// Index of the first ClassTable pair whose word equals the word.
std::optional<std::size_t> FindClass(Workspace& ws, std::string_view word) {
    auto& table = ws.parse.ClassTable;
    FoldedWordIndex& index = ws.parse.classIndex;
    const std::string folded = Fold(ws, word);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1 || !IsCurrent(index, ws, table)) {
            index = FoldedWordIndex{true, ws.language.upperCaseMode, table.size(), {}};
            for (std::size_t i = 0; i < table.size(); ++i)
                index.positions.emplace(Fold(ws, table[i].first), i);
        }
        const auto hit = index.positions.find(folded);
        if (hit == index.positions.end()) return std::nullopt;
        if (hit->second < table.size() && WordsEqual(ws, table[hit->second].first, word)) return hit->second;
    }
    return std::nullopt;
}

void RegisterClass(Workspace& ws, std::string word, std::string className) {
    auto& table = ws.parse.ClassTable;
    FoldedWordIndex& index = ws.parse.classIndex;
    const bool current = IsCurrent(index, ws, table);
    table.emplace_back(std::move(word), std::move(className));
    if (current) {
        index.positions.emplace(Fold(ws, table.back().first), table.size() - 1);
        index.tableSize = table.size();
    }
}

// The NameList pair whose name equals the name, or nullptr.
std::pair<std::string, std::string>* FindName(Workspace& ws, int row, std::string_view name) {
    T2ArrayString& list = ws.parse.NameList[row];
    if (ws.parse.namesAppended) {
        const auto& positions = ws.parse.appendedNames[row];
        const auto hit = positions.find(Fold(ws, name));
        return hit == positions.end() ? nullptr : &list[hit->second];
    }
    FoldedNameIndex& index = ws.parse.nameIndex[row];
    const std::string folded = Fold(ws, name);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1 || !IsCurrent(index, ws, list)) {
            index = FoldedNameIndex{true, ws.language.upperCaseMode, list.size(), {}};
            // A search from the last pair down finds the highest equal pair first.
            for (const auto& pair : list) index.names[Fold(ws, pair.second)] = pair.second;
        }
        const auto hit = index.names.find(folded);
        if (hit == index.names.end()) return nullptr;
        const auto at =
            std::lower_bound(list.begin(), list.end(), hit->second,
                             [](const auto& pair, const std::string& n) { return pair.second < n; });
        if (at != list.end() && at->second == hit->second && WordsEqual(ws, at->second, name)) return &*at;
    }
    return nullptr;
}

void InsertName(Workspace& ws, int row, std::string_view tag, std::string name) {
    T2ArrayString& list = ws.parse.NameList[row];
    if (ws.parse.namesAppended) {
        ws.parse.appendedNames[row].insert_or_assign(Fold(ws, name), list.size());
        list.emplace_back(std::string(tag), std::move(name));
        return;
    }
    FoldedNameIndex& index = ws.parse.nameIndex[row];
    const bool current = IsCurrent(index, ws, list);
    // After the last pair whose name is not greater in byte order.
    const auto at = std::upper_bound(list.begin(), list.end(), name,
                                     [](const std::string& n, const auto& pair) { return n < pair.second; });
    const std::string folded = current ? Fold(ws, name) : std::string();
    list.insert(at, {std::string(tag), name});
    if (current) {
        index.names[folded] = std::move(name);
        index.tableSize = list.size();
    }
}

// Index of the last NameTranslations pair whose word equals the word; `folded` is the word
// folded.
std::optional<std::size_t> FindTranslation(Workspace& ws, int row, std::string_view word, const std::string& folded) {
    NameTranslationRow& pairs = ws.parse.NameTranslations[row];
    FoldedWordIndex& index = ws.parse.translationIndex[row];
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1 || !IsCurrent(index, ws, pairs)) {
            index = FoldedWordIndex{true, ws.language.upperCaseMode, pairs.size(), {}};
            for (std::size_t i = 0; i < pairs.size(); ++i) index.positions[Fold(ws, pairs[i].first)] = i;
        }
        const auto hit = index.positions.find(folded);
        if (hit == index.positions.end()) return std::nullopt;
        if (hit->second < pairs.size() && WordsEqual(ws, pairs[hit->second].first, word)) return hit->second;
    }
    return std::nullopt;
}

struct ImageGroup {
    std::vector<int> numbers;
    bool overflow = false;
};

// Reads one group of numbers starting at i (just after its "["); returns the position at which
// reading stopped, or the text's size when the text ran out. A 0 is a number like any other:
// line 0 is the first line after the header, and saving writes it for a picture there.
std::size_t ReadImageGroup(std::string_view text, std::size_t i, ImageGroup& group) {
    const std::size_t n = text.size();
    for (;;) {
        while (i < n && text[i] == ' ') ++i;
        if (i >= n) return n;
        if (!IsDigit(text[i])) return i;
        std::int64_t value = 0;
        while (i < n && IsDigit(text[i])) {
            if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (value > INT_MAX)
            group.overflow = true;
        else
            group.numbers.push_back(static_cast<int>(value));
        if (i >= n) return n;
        if (text[i] == ']') return i;
    }
}

// Puts the marker "{image%N%}" after the first word of the line and its blank.
void MarkImage(std::string& line, int picture) {
    const std::size_t wordStart = FirstNonBlank(line);
    if (wordStart >= line.size()) return;
    const std::size_t blank = line.find(' ', wordStart + 1);
    if (blank == std::string::npos) return;
    line.erase(blank + 1);
    line += "{image%" + std::to_string(picture) + "%}";
}

// Turns a closing image list into markers in the lines it points to and removes it.
void ApplyImageList(std::vector<std::string>& lines) {
    if (lines.empty()) return;
    std::string list = lines.back();
    const std::size_t start = FirstNonBlank(list);
    if (list.compare(start, 2, "[[") != 0) return;
    list[start] = ' ';
    const std::size_t listIndex = lines.size() - 1;
    for (std::size_t open = list.find('['); open != std::string::npos; open = list.find('[')) {
        ImageGroup group;
        const std::size_t stop = ReadImageGroup(list, open + 1, group);
        list.erase(0, stop < list.size() ? stop + 1 : list.size());
        if (group.overflow || group.numbers.size() < 2) continue;
        // k counts the lines after line 0; a k past the section's last line has nothing to mark.
        const std::size_t target = static_cast<std::size_t>(group.numbers[1]) + 1;
        if (target >= listIndex) continue;
        MarkImage(lines[target], group.numbers[0]);
    }
    lines.pop_back();
}

bool IsObjectHeader(const Workspace& ws, std::string_view line, bool numbered) {
    return MatchesKeyPhrase(ws, line, "dict .new.", " \"", numbered);
}

// Part P: from the first double quote up to, not including, the line's last character.
std::string CaptionPart(std::string_view line) {
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos || line.empty() || quote >= line.size() - 1) return {};
    return std::string(line.substr(quote, line.size() - 1 - quote));
}

// Part Q: from the first double quote up to, not including, the first blank after it.
std::string PropertyListPart(std::string_view line) {
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) return {};
    const std::size_t blank = line.find(' ', quote);
    if (blank == std::string_view::npos) return {};
    return std::string(line.substr(quote, blank - quote));
}

std::string_view AfterFirstQuote(std::string_view line) {
    const std::size_t quote = line.find('"');
    return quote == std::string_view::npos ? std::string_view{} : line.substr(quote + 1);
}

// Splits "header [settings" into the header up to its "[" and a settings line.
void SplitHeader(const Workspace& ws, std::vector<std::string>& lines) {
    if (lines.empty()) return;
    std::string& head = lines.front();
    if (!IsObjectHeader(ws, head, false) && !IsObjectHeader(ws, head, true)) return;
    const std::size_t open = head.find('[');
    if (open == std::string::npos || open + 1 >= head.size()) return;
    std::string settings = "\t" + head.substr(open + 1);
    head.erase(open + 1);
    lines.insert(lines.begin() + 1, std::move(settings));
}

std::string UnpackDefinition(Workspace& ws, std::string_view line) {
    const std::size_t apostrophe = line.find('\'');
    std::string_view value = apostrophe == std::string_view::npos ? line : line.substr(apostrophe + 1);
    const std::size_t blank = value.find(' ');
    AddName(ws, 1, "p", value.substr(0, blank));
    if (blank != std::string_view::npos) value.remove_prefix(blank + 1);

    std::string text;
    text.reserve(value.size() + 16);
    if (!value.empty() && value.front() == '|') {
        value.remove_prefix(1);
        const std::size_t close = value.find('|');
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (i == close) continue;
            if (value[i] == kPilcrow)
                text += "\r\n";
            else
                text += value[i];
        }
        return text;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\') {
            if (i + 1 >= value.size()) break;
            if (value[i + 1] == '9' && i + 2 < value.size() && value[i + 2] == '.') {
                text += "  ";
                i += 2;
            } else {
                text += value[i + 1];
                ++i;
            }
        } else if (c == kPilcrow) {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

void ClassifyFirstLine(Workspace& ws, const std::string& line, TStruct& section) {
    if (IsObjectHeader(ws, line, false) || IsObjectHeader(ws, line, true)) {
        const bool plain = IsObjectHeader(ws, line, false);
        section.kind = 1;
        section.caption = (plain ? "top object " : "new object ") + CaptionPart(line);
        section.className = ResolveClassName(ws, AfterFirstQuote(line));
        ++ws.parse.objectCounter;
    } else if (MatchesKeyPhrase(ws, line, "dict .setstate.", " [", false)) {
        section.kind = 1;
        section.caption = "globals";
        section.className = "mainwindow";
    } else if (MatchesKeyPhrase(ws, line, "dict newclass", " \"", false)) {
        section.kind = 1;
        section.caption = "new class " + CaptionPart(line);
        section.className = ResolveClassName(ws, AfterFirstQuote(line));
        ++ws.parse.objectCounter;
        RegisterClass(ws, "#" + std::to_string(ws.parse.objectCounter), section.className);
    } else if (!line.empty() && line.front() == ';') {
        section.kind = 2;
        section.caption = "comment";
    } else if (MatchesKeyPhrase(ws, line, "dict .setSaveOptions", " [", false)) {
        section.kind = 3;
        section.caption = "save options";
    } else if (MatchesKeyPhrase(ws, line, "dict make", "", false)) {
        section.kind = 4;
        section.caption = "global variables";
    } else if (MatchesKeyPhrase(ws, line, "dict setplist", "", false)) {
        section.kind = 5;
        section.caption = "property " + PropertyListPart(line);
    } else {
        section.kind = 6;
        section.caption = "...";
    }
}

void CollectGlobalVariable(Workspace& ws, std::string_view line) {
    const std::size_t quote = line.find('"');
    const std::string_view rest = quote == std::string_view::npos ? line : line.substr(quote + 1);
    const std::size_t blank = rest.find(' ');
    if (blank != std::string_view::npos) AddName(ws, 1, "g", rest.substr(0, blank));
}

void AppendLine(std::string& text, std::string_view line) {
    text += line;
    text += "\r\n";
}

// The phrases that open definition and event lines, looked up once per section rather than
// once per line. An empty phrase (the dictionary lacks the keyword) matches nothing.
struct SettingsPhrases {
    std::string define;
    std::string event;
};

std::string KeyPhrase(const Workspace& ws, std::string_view key, std::string_view suffix) {
    const std::string word = SourceWord(ws.language, key);
    return word.empty() ? std::string() : word + std::string(suffix);
}

bool StartsWithPhrase(const Workspace& ws, std::string_view text, const std::string& phrase) {
    return !phrase.empty() && text.size() >= phrase.size() &&
           WordsEqual(ws, phrase, text.substr(0, phrase.size()));
}

void HandleSettingsLine(Workspace& ws, const SettingsPhrases& phrases, const std::string& line,
                        TStruct& section) {
    const std::size_t b = FirstNonBlank(line);
    const std::string word = FirstWord(line);
    const std::string_view fromWord = std::string_view(line).substr(b);

    if (const auto code = ReadDecimal(word); code && *code >= 1 && *code <= kLastPropertyCode) {
        const std::string& name = ws.language.SourcePropertyNames[*code];
        // A code without a name stays a code rather than vanishing from the line.
        if (name.empty()) {
            AppendLine(section.propertyText, line);
            return;
        }
        std::string shown = line.substr(0, b);
        shown += name;
        shown += line.substr(b + word.size());
        AppendLine(section.propertyText, shown);
        if (*code == kNamePropertyCode) AddName(ws, 1, "o", SecondWord(line));
        return;
    }
    if (StartsWithPhrase(ws, fromWord, phrases.define)) {
        section.defineTexts.push_back(UnpackDefinition(ws, line));
        return;
    }
    if (StartsWithPhrase(ws, fromWord, phrases.event)) {
        AppendLine(section.eventText, line);
        return;
    }
    if (IsPropertyName(ws, word)) {
        AppendLine(section.propertyText, line);
        if (WordsEqual(ws, word, ws.language.SourcePropertyNames[kNamePropertyCode]))
            AddName(ws, 1, "?", SecondWord(line));
        return;
    }
    if (IsPrimitiveWord(ws, word)) SetNameTranslation(ws, 1, word, "*");
    AppendLine(section.variableText, line);
    AddName(ws, 1, "s", word);
}

// Switches AddName to appending for the lifetime of a ParseSections call. No two names of a row
// are equal by the word comparison (an equal one only gains a tag), so one stable sort by bytes
// at the end gives the rows exactly the order that inserting every name in its place gives.
class AppendingNames {
public:
    explicit AppendingNames(Workspace& ws) : parse_(ws.parse) {
        parse_.namesAppended = true;
        for (std::size_t row = 0; row < parse_.NameList.size(); ++row) {
            auto& positions = parse_.appendedNames[row];
            positions.clear();
            const T2ArrayString& list = parse_.NameList[row];
            for (std::size_t i = 0; i < list.size(); ++i)
                positions.insert_or_assign(Fold(ws, list[i].second), i);
        }
    }
    ~AppendingNames() {
        for (std::size_t row = 0; row < parse_.NameList.size(); ++row) {
            std::stable_sort(parse_.NameList[row].begin(), parse_.NameList[row].end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
            parse_.appendedNames[row].clear();
            parse_.nameIndex[row].built = false;
        }
        parse_.namesAppended = false;
    }
    AppendingNames(const AppendingNames&) = delete;
    AppendingNames& operator=(const AppendingNames&) = delete;

private:
    ParseState& parse_;
};

}  // namespace

std::vector<TStruct> ParseSections(Workspace& ws, const std::vector<std::string>& blocks) {
    std::vector<TStruct> sections(blocks.size());
    const AppendingNames appending(ws);
    for (std::size_t k = 0; k < blocks.size(); ++k) ParseSection(ws, blocks[k], sections[k]);
    return sections;
}

void ParseSection(Workspace& ws, std::string_view block, TStruct& section) {
    std::vector<std::string> lines = SplitBlockLines(block);
    SplitHeader(ws, lines);
    ApplyImageList(lines);

    section = TStruct{};
    std::optional<SettingsPhrases> phrases;
    for (const std::string& line : lines) {
        if (section.kind == 0) {
            ClassifyFirstLine(ws, line, section);
            if (section.kind == 4) CollectGlobalVariable(ws, line);
            AppendLine(section.headText, line);
            continue;
        }
        switch (section.kind) {
            case 1:
                if (!phrases)
                    phrases = SettingsPhrases{KeyPhrase(ws, "param define", "'"),
                                              KeyPhrase(ws, "param event", "'")};
                HandleSettingsLine(ws, *phrases, line, section);
                break;
            case 4:
                CollectGlobalVariable(ws, line);
                AppendLine(section.headText, line);
                break;
            default:
                AppendLine(section.headText, line);
                break;
        }
    }
}

bool MatchesKeyPhrase(const Workspace& ws, std::string_view text, std::string_view key,
                      std::string_view suffix, bool numbered) {
    if (numbered) {
        if (text.empty() || text.front() != '#') return false;
        const std::size_t apostrophe = text.find('\'');
        if (apostrophe == std::string_view::npos || !ReadDecimal(text.substr(1, apostrophe - 1)))
            return false;
        text.remove_prefix(apostrophe + 1);
    }
    return StartsWithPhrase(ws, text, KeyPhrase(ws, key, suffix));
}

std::string ResolveClassName(Workspace& ws, std::string_view text) {
    std::string_view word = TrimView(text);
    word = word.substr(0, word.find(' '));
    // An object without a class word names no class; an empty word must not pick up a class
    // whose word the dictionary lacks.
    if (word.empty()) return {};
    std::string className(word);
    if (const auto found = FindClass(ws, word)) className = ws.parse.ClassTable[*found].second;
    if (className == "net") ws.language.useNet = true;
    if (className == "mediaplayer") ws.language.useMediaPlayer = true;
    return className;
}

void AddName(Workspace& ws, int row, std::string_view tag, std::string_view name) {
    if (row != 1 && row != 2) return;
    const int r = row - 1;
    std::string_view n = TrimView(name);
    if (n.empty()) return;
    if (row == 1) {
        if (const std::size_t apostrophe = n.find('\''); apostrophe != std::string_view::npos)
            n.remove_prefix(apostrophe + 1);
        if (IsPrimitiveWord(ws, n)) return;
    }
    if (n.size() >= 2 && n.front() == '[' && n.back() == ']') n = TrimView(n.substr(1, n.size() - 2));
    if (n.size() > 1 && n.front() == '|' && n.back() == '|') n = n.substr(1, n.size() - 2);
    // What is left of a name can be nothing ("x'", "[ ]", "||"); an empty name is no name.
    if (n.empty()) return;

    if (auto* pair = FindName(ws, r, n)) {
        if (pair->first.find(tag) == std::string::npos) pair->first += tag;
        return;
    }
    InsertName(ws, r, tag, std::string(n));
}

void SetNameTranslation(Workspace& ws, int row, std::string_view word, std::string_view replacement) {
    if (row != 1 && row != 2) return;
    if (word.empty() || (row == 2 && replacement.empty())) return;
    const int r = row - 1;
    NameTranslationRow& pairs = ws.parse.NameTranslations[r];
    std::string folded = Fold(ws, word);
    auto found = FindTranslation(ws, r, word, folded);
    if (!found) {
        FoldedWordIndex& index = ws.parse.translationIndex[r];
        const bool current = IsCurrent(index, ws, pairs);
        pairs.emplace_back();
        found = pairs.size() - 1;
        if (current) {
            index.positions.insert_or_assign(std::move(folded), *found);
            index.tableSize = pairs.size();
        }
    }
    // assign copies in place, also when the word views the pair's own text.
    auto& pair = pairs[*found];
    pair.first.assign(word);
    pair.second.assign(replacement.empty() ? word : replacement);
}

void ReserveNameTranslations(Workspace& ws, int row, std::size_t more) {
    if (row != 1 && row != 2) return;
    NameTranslationRow& pairs = ws.parse.NameTranslations[row - 1];
    pairs.reserve(pairs.size() + more);
    FoldedWordIndex& index = ws.parse.translationIndex[row - 1];
    if (IsCurrent(index, ws, pairs)) index.positions.reserve(pairs.size() + more);
}

std::string FirstWord(std::string_view line) {
    const std::size_t start = FirstNonBlank(line);
    std::size_t end = start;
    while (end < line.size() && !IsTabOrBlank(line[end])) ++end;
    return std::string(line.substr(start, end - start));
}

std::string SecondWord(std::string_view line) {
    std::size_t i = FirstNonBlank(line);
    while (i < line.size() && !IsTabOrBlank(line[i])) ++i;
    while (i < line.size() && IsTabOrBlank(line[i])) ++i;
    std::size_t end = i;
    while (end < line.size() && !IsTabOrBlank(line[end])) ++end;
    return std::string(line.substr(i, end - i));
}

bool IsPropertyName(const Workspace& ws, std::string_view word) {
    return SourceWords(ws).propertyNames.count(Fold(ws, word)) != 0;
}

bool IsPrimitiveWord(const Workspace& ws, std::string_view word) {
    if (word.empty()) return false;
    return SourceWords(ws).primitiveWords.count(Fold(ws, word)) != 0;
}

}  // namespace vlp
