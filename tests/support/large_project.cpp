#include "support/large_project.h"

#include <array>
#include <map>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "language/discovery.h"
#include "language/property_names.h"
#include "support/test_support.h"
#include "text/cp1250.h"

namespace vlp::test {
namespace {

// Draws from std::mt19937's raw output, whose sequence the standard fixes; ranges are taken by
// modulo, whose bias over a 32-bit draw does not matter for test data.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Percent(int p) { return Below(100) < p; }
    template <class T>
    const T& Pick(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(Below(static_cast<int>(values.size())))];
    }
    unsigned char Byte() { return static_cast<unsigned char>(engine_() >> 24); }

private:
    std::mt19937 engine_;
};

constexpr std::string_view kCrLf = "\r\n";
constexpr char kPilcrow = '\xB6';

// Source words are built of two-letter syllables, so a word spells its syllables one way only;
// the accented ones fold (without accents) to none of the plain ones, so words stay distinct in
// both comparison modes. No syllable holds "w" or "y", which the keywords below use.
constexpr std::array<std::string_view, 20> kSourceSyllables = {"ba",
                                                               "de",
                                                               "fi",
                                                               "go",
                                                               "hu",
                                                               "ka",
                                                               "le",
                                                               "mi",
                                                               "no",
                                                               "pa",
                                                               "ro",
                                                               "su",
                                                               "ti",
                                                               "vo",
                                                               "ze",
                                                               "\xE8"
                                                               "e",
                                                               "\x9E"
                                                               "a",
                                                               "\xF8"
                                                               "i",
                                                               "\xE1"
                                                               "k",
                                                               "\xFA"
                                                               "t"};
constexpr std::array<std::string_view, 16> kTargetSyllables = {"tra",
                                                               "mel",
                                                               "sko",
                                                               "pin",
                                                               "dor",
                                                               "val",
                                                               "\x9Aur",
                                                               "k\xF3n",
                                                               "lum",
                                                               "nev",
                                                               "ryb",
                                                               "\xE8"
                                                               "as",
                                                               "fag",
                                                               "hox",
                                                               "jet",
                                                               "wiz"};

template <std::size_t N>
std::string SyllableWord(std::uint32_t index, const std::array<std::string_view, N>& syllables) {
    constexpr std::uint64_t base = N;
    int length = 3;
    std::uint64_t span = base * base * base;
    std::uint64_t rest = index;
    while (rest >= span) {
        rest -= span;
        ++length;
        span *= base;
    }
    std::string word;
    for (int k = 0; k < length; ++k) {
        word += syllables[rest % base];
        rest /= base;
    }
    return word;
}

std::string Capitalized(std::string word) {
    if (!word.empty()) word[0] = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(word[0])));
    return word;
}

std::string FirstOf(const std::string& words) {
    return words.substr(0, words.find(' '));
}

struct Item {
    std::string section;
    std::string id;
    std::string description;
    std::string sourceWords;  // as written in the source file
    std::string targetWords;  // as written in the target file; empty: the target lacks the item
};

// The words the project generator writes, by what they do.
struct Vocabulary {
    std::string newWord, setStateWord, newClassWord, saveOptionsWord, makeWord, setPListWord;
    std::string defineWord, eventWord, endWord, toWord;
    std::vector<std::string> classWords;     // the 24 built-in classes, in kClasses order
    std::vector<std::string> primitives;     // every source word of the generic items
    std::vector<std::string> propertyWords;  // first source word of each property
    std::vector<std::string> colourWords;
    std::vector<std::string> settableWords;  // first source word of settable items
};

constexpr std::array<std::string_view, 24> kClasses = {
    "button",     "colorslider", "colourbutton", "commport", "joystick",    "main",
    "mainwindow", "mediaplayer", "melodybutton", "net",      "page",        "pageswitch",
    "pane",       "separator",   "slider",       "switch",   "textbox",     "toolbar",
    "toolbutton", "toolwindow",  "turtle",       "web",      "widthswitch", "window"};

constexpr std::array<std::string_view, 16> kColours = {
    "black",  "white", "red",  "green", "blue",   "yellow", "cyan",  "magenta",
    "orange", "brown", "grey", "pink",  "violet", "navy",   "olive", "silver"};

constexpr std::array<std::string_view, 8> kPhrases = {
    "moves the object", "returns a value",  "draws on the page", "waits",
    "works with lists", "works with words", "controls the flow", "reads input"};

constexpr const char* kSourceSetPattern = "zmen*";
constexpr const char* kSourceSetPrefix = "zmen";

// Properties that share one source word; the class in each description tells them apart.
std::string PropertyGroupLeader(std::string_view name) {
    if (name.starts_with("caption")) return "caption";
    if (name.starts_with("style")) return "style";
    if (name == "value" || name == "value_slider") return "value";
    if (name.starts_with("bgcolour") || name == "bgColour") return "bgColour";
    return std::string(name);
}

std::string PropertyClass(int code, std::string_view name) {
    if (name.ends_with("_mm") || name == "filename" || (code >= 155 && code <= 157)) return "MediaPlayer";
    if (name.ends_with("_net") || (code >= 141 && code <= 152)) return "Net";
    if (name.ends_with("_web") || name == "address") return "Web";
    if (name.ends_with("_slider")) return "Slider";
    if (name.ends_with("_text")) return "Textbox";
    if (name.ends_with("_window")) return "Window";
    if (name == "caption") return "Button";
    if (name == "bgColour") return "Pane";
    if (name == "value") return "Textbox";
    if (name == "style") return "Toolbar";
    if (code >= 67 && code <= 119) return "Joystick";
    if (code >= 185) return "Commport";
    if (code >= 40 && code <= 56) return "Turtle";
    return "General";
}

class ItemBuilder {
public:
    // The first `count` items (never fewer than the fixed ones); the same prefix for any count.
    explicit ItemBuilder(int count) {
        AddKeywords();
        AddClasses();
        AddProperties();
        AddColours();
        fixedCount_ = static_cast<int>(items_.size());
        for (int j = 0; static_cast<int>(items_.size()) < count; ++j) AddGeneric(j);
    }

    const std::vector<Item>& items() const { return items_; }
    const std::vector<std::pair<std::string, std::string>>& sourceOnly() const { return sourceOnly_; }
    const Vocabulary& vocabulary() const { return vocabulary_; }
    int fixedCount() const { return fixedCount_; }

private:
    std::string NewSource() { return SyllableWord(nextSource_++, kSourceSyllables); }
    std::string NewTarget() { return SyllableWord(nextTarget_++, kTargetSyllables); }

    Item& Add(std::string section, std::string id, std::string description, std::string source,
              std::string target) {
        items_.push_back({std::move(section), std::move(id), std::move(description), std::move(source),
                          std::move(target)});
        return items_.back();
    }

    void AddKeywords() {
        Vocabulary& v = vocabulary_;
        auto keyword = [&](const char* section, const char* id, const char* description, std::string& word,
                           const char* source, const char* target) {
            word = source;
            Add(section, id, description, source, target);
        };
        keyword("dict", ".new.", "General - keyword that opens an object header", v.newWord, "nowy", "new");
        keyword("dict", ".setstate.", "Mainwindow - keyword of the globals section", v.setStateWord, "stawy",
                "setState");
        keyword("dict", "newclass", "General - keyword that opens a user class", v.newClassWord, "klasy",
                "newClass");
        keyword("dict", ".setSaveOptions", "General - keyword of the save options", v.saveOptionsWord,
                "ulozwy", "setSaveOptions");
        keyword("dict", "make", "General - gives a global variable a value", v.makeWord, "wyrob urw", "make");
        keyword("dict", "setplist", "General - gives a name a property list", v.setPListWord, "plisty",
                "setPList");
        keyword("param", "define", "Main - setstate word before a procedure definition", v.defineWord,
                "procwy", "procedure");
        keyword("param", "event", "Main - setstate word before an event handler", v.eventWord, "udalwy",
                "event");
        keyword("other", "end", "General - closes a procedure definition", v.endWord, "koniwy", "end");
        keyword("dict", "to", "General - opens a procedure definition", v.toWord, "zaciwy", "to");
        v.makeWord = FirstOf(v.makeWord);
    }

    void AddClasses() {
        for (std::string_view name : kClasses) {
            std::string word = "w" + NewSource();
            vocabulary_.classWords.push_back(word);
            Add("class", std::string(name), Capitalized(std::string(name)) + " - class of objects", word,
                std::string(name));
        }
    }

    void AddProperties() {
        std::map<std::string, std::string> leaderWords;
        std::map<std::string, bool> seen;
        for (int code = 0; code < kPropertyCodeCount; ++code) {
            const std::string name(NeutralPropertyName(code));
            const std::string id = AsciiLower(name);
            if (name.empty() || seen[id]) continue;
            seen[id] = true;
            const std::string leader = PropertyGroupLeader(name);
            auto [it, isNew] = leaderWords.try_emplace(leader);
            if (isNew) it->second = NewSource();
            const std::string cls = PropertyClass(code, name);
            const bool settable = code % 4 != 0 && cls != "Net";
            std::string description = cls + " - property " + name + (settable ? " setting" : "");
            Add("dict", id, description, it->second, name);
            vocabulary_.propertyWords.push_back(it->second);
            if (settable && isNew) vocabulary_.settableWords.push_back(it->second);
            // Explicit set and get words for a few properties.
            if (settable && code % 20 == 1) {
                sourceOnly_.emplace_back("set " + id, NewSource());
                sourceOnly_.emplace_back("get " + id, NewSource());
            }
        }
    }

    void AddColours() {
        for (std::string_view colour : kColours) {
            std::string word = NewSource();
            vocabulary_.colourWords.push_back(word);
            Add("colors", std::string(colour), "General - colour " + std::string(colour), word,
                std::string(colour));
        }
    }

    // Generic item j plays a role by j % 50: shared words (ambiguities), context pairs, set forms,
    // synonyms, two target words, gated and missing items.
    void AddGeneric(int j) {
        const int r = j % 50;
        std::string section = "dict";
        if (r == 3 || r == 33) section = "param";
        if (r == 6) section = "other";
        if (r == 48) section = "name";
        if (r == 17 || r == 27) section = "math";
        std::string id = "op" + std::to_string(j);
        std::string description =
            "General - " + std::string(kPhrases[static_cast<std::size_t>(j) % kPhrases.size()]);
        std::string source;
        std::string target = NewTarget();
        const auto previous = [&](int back) -> const Item& {
            return items_[items_.size() - static_cast<std::size_t>(back)];
        };
        switch (r) {
            case 10:
            case 20:
                source = FirstOf(previous(1).sourceWords);
                break;
            case 21:
                source = FirstOf(previous(2).sourceWords);
                break;
            case 29:
                description = "Turtle - " + std::string(kPhrases[0]);
                break;
            case 30:
                source = FirstOf(previous(1).sourceWords);
                description = "Textbox - shows text";
                break;
            case 40:
                source = FirstOf(previous(1).sourceWords);
                target = previous(1).targetWords;
                break;
            case 45:
                description = "Net - sends a message";
                break;
            case 46:
                description = "MediaPlayer - plays a file";
                break;
            default:
                break;
        }
        if (source.empty()) {
            source = NewSource();
            if (r % 5 == 1) source += " " + NewSource();
        }
        const bool settable = r == 5 || r == 15 || r == 25 || r == 35;
        if (settable) description += " setting";
        if (r == 12 || r == 32) target += " " + NewTarget();
        if (r == 47) target.clear();
        for (std::string_view word = source;;) {
            const auto blank = word.find(' ');
            vocabulary_.primitives.emplace_back(word.substr(0, blank));
            if (blank == std::string_view::npos) break;
            word.remove_prefix(blank + 1);
        }
        if (settable || section == "name") vocabulary_.settableWords.push_back(FirstOf(source));
        Add(section, id, description, source, target);
    }

    std::vector<Item> items_;
    std::vector<std::pair<std::string, std::string>> sourceOnly_;  // (section id, words)
    Vocabulary vocabulary_;
    int fixedCount_ = 0;
    std::uint32_t nextSource_ = 0;
    std::uint32_t nextTarget_ = 0;
};

constexpr int kProjectItems = 2000;

const ItemBuilder& ProjectItems() {
    static const ItemBuilder builder(kProjectItems);
    return builder;
}

void AppendLine(std::string& text, std::string_view line) {
    text += line;
    text += kCrLf;
}

// The entries of one dictionary file grouped by section, sections in order of first use.
std::string DictionaryFile(const std::vector<std::string>& systemLines,
                           const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text;
    AppendLine(text, "; generated language data");
    AppendLine(text, "[system]");
    for (const auto& line : systemLines) AppendLine(text, line);
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::string>> lines;
    for (const auto& [key, words] : entries) {
        const auto blank = key.find(' ');
        const std::string section = key.substr(0, blank);
        if (!lines.contains(section)) order.push_back(section);
        lines[section].push_back(key.substr(blank + 1) + "=" + words);
    }
    for (const auto& section : order) {
        AppendLine(text, "");
        AppendLine(text, "[" + section + "]");
        for (const auto& line : lines[section]) AppendLine(text, line);
    }
    // Sections every reader skips.
    AppendLine(text, "[text]");
    AppendLine(text, "greeting=never read");
    AppendLine(text, "[prefix]");
    AppendLine(text, "pre=never read");
    return text;
}

}  // namespace

int GeneratedFixedItemCount() {
    return ProjectItems().fixedCount();
}

void GenerateLanguageFolder(const std::filesystem::path& dir, int items) {
    const ItemBuilder builder(items);
    std::string compare;
    AppendLine(compare, "text greeting|never loaded");
    AppendLine(compare, "prefix pre|never loaded");
    AppendLine(compare, "dict mailer|email items are left out");
    AppendLine(compare, "a line without a bar");
    std::vector<std::pair<std::string, std::string>> source;
    std::vector<std::pair<std::string, std::string>> target;
    for (const Item& item : builder.items()) {
        const std::string key = item.section + " " + item.id;
        AppendLine(compare, key + "|" + item.description);
        source.emplace_back(key, item.sourceWords);
        if (!item.targetWords.empty()) target.emplace_back(key, item.targetWords);
    }
    source.insert(source.end(), builder.sourceOnly().begin(), builder.sourceOnly().end());
    source.emplace_back("dict unlisted", "neuvedene");  // not in compare.tab: skipped
    target.emplace_back("dict unlisted", "unlisted");
    WriteFile((dir / "compare.tab").string(), compare);
    WriteFile((dir / kGeneratedSourceFile).string(),
              DictionaryFile({std::string("language=") + kGeneratedSourceLanguage, "ansi=1",
                              std::string("setfix=") + kSourceSetPattern},
                             source));
    WriteFile((dir / kGeneratedTargetFile).string(),
              DictionaryFile({std::string("language=") + kGeneratedTargetLanguage, "ansi=0", "setfix=set*"},
                             target));
}

void UseGeneratedLanguages(Workspace& ws, const std::filesystem::path& dir) {
    ws.language.programDir = dir.string() + "/";
    DiscoverLanguages(ws.language, ws.buttons);
}

void PressGeneratedTargetButton(Workspace& ws) {
    const auto& list = ws.language.LanguageList;
    for (std::size_t k = 0; k < list.size() && k < ws.buttons.buttons.size(); ++k)
        ws.buttons.buttons[k].down = list[k].name == kGeneratedTargetLanguage;
}

int GeneratedPictureCount(int sections) {
    return sections / 20 + 1;
}

namespace {

// Writes the sections of one project. Names are numbered by kind (obj_, proc_, var_, gvar_, ev_,
// plist_) so none of them is a dictionary word. No expression makes two draws as operands of one
// operator: their order would be unspecified, and the text would depend on the compiler.
class ProjectWriter {
public:
    ProjectWriter(int sections, std::uint32_t seed)
        : rng_(seed),
          v_(ProjectItems().vocabulary()),
          sections_(sections),
          pictures_(GeneratedPictureCount(sections)) {}

    std::string Run() {
        for (int s = 0; s < sections_; ++s) {
            lines_.clear();
            if (s == 0)
                Globals();
            else if (s == 1)
                SaveOptions();
            else if (s == 2)
                GlobalVariables();
            else
                RandomSection();
            for (const auto& line : lines_) AppendLine(text_, line);
            text_ += kCrLf;
        }
        return std::move(text_);
    }

private:
    void RandomSection() {
        const int r = rng_.Below(100);
        if (r < 4)
            Comment();
        else if (r < 8)
            GlobalVariables();
        else if (r < 11)
            PropertyList();
        else if (r < 13)
            FreeLines();
        else if (r < 20)
            Object(Header::kNewClass);
        else if (r < 45 && !userClasses_.empty())
            Object(Header::kNumbered);
        else
            Object(Header::kTop);
    }

    std::string NewName(const char* prefix) { return prefix + std::to_string(++nameCounter_); }

    std::string Number() {
        if (rng_.Percent(15)) {
            const int whole = rng_.Below(100);
            return std::to_string(whole) + "." + std::to_string(rng_.Below(10));
        }
        return std::to_string(rng_.Below(rng_.Percent(70) ? 100 : 1000));
    }

    std::string ColourWord() {
        std::string word = rng_.Pick(v_.colourWords);
        if (rng_.Percent(20)) word += std::to_string(rng_.Between(1, 12));
        return word;
    }

    std::string Reference() {
        if (!procedures_.empty() && rng_.Percent(40)) return rng_.Pick(procedures_);
        if (!globals_.empty() && rng_.Percent(50)) return ":" + rng_.Pick(globals_);
        if (!stateVars_.empty()) return ":" + rng_.Pick(stateVars_);
        return Number();
    }

    // One token of program text; bars only when `bars` allows them.
    std::string Token(bool bars) {
        const int r = rng_.Below(100);
        if (r < 45) return rng_.Pick(v_.primitives);
        if (r < 52) return rng_.Pick(v_.propertyWords);
        if (r < 55) return ColourWord();
        if (r < 58) return kSourceSetPrefix + Capitalized(rng_.Pick(v_.settableWords));
        if (r < 60 && !globals_.empty()) return kSourceSetPrefix + Capitalized(rng_.Pick(globals_));
        if (r < 74) return Number();
        if (r < 84) return Reference();
        if (r < 88) return "\"" + rng_.Pick(v_.primitives);
        if (r < 91) return rng_.Percent(50) ? "[" : "]";
        if (r < 95) return std::string(1, "+-*/=<>"[rng_.Below(7)]);
        if (r < 97 && bars) {
            const std::string word = rng_.Pick(v_.primitives);
            return "|" + word + " " + Number() + "|";
        }
        if (r < 98) return rng_.Pick(v_.classWords);
        return v_.endWord;
    }

    std::string Tokens(int count, bool bars) {
        std::string line = rng_.Pick(v_.primitives);
        for (int k = 1; k < count; ++k) line += " " + Token(bars);
        return line;
    }

    std::string BarText() { return "|" + Tokens(rng_.Between(1, 4), false) + "|"; }

    std::string ValueFor(int code) {
        switch (code) {
            case 14:
            case 15:
            case 35:
            case 39:
            case 44:
            case 47:
            case 55:
            case 121:
            case 173:
                return ColourWord();
            case 8:
            case 20:
            case 21:
            case 129:
            case 130:
            case 163:
            case 165:
                return BarText();
            case 12:
                if (rng_.Percent(10)) return "|{\\rtf1\\ansi " + Tokens(3, false) + "}|";
                return BarText();
            default:
                break;
        }
        if (rng_.Percent(15)) return rng_.Pick(v_.primitives);
        if (rng_.Percent(70)) return Number();
        const std::string first = Number();
        return first + " " + Number();
    }

    int PropertyCode() {
        for (;;) {
            const int code = rng_.Percent(60) ? rng_.Between(1, 60) : rng_.Between(1, kPropertyCodeCount - 1);
            if (code != 29 && code != 28 && code != 37 && code != 60 && code != 132) return code;
        }
    }

    void SettingLine() {
        const int r = rng_.Below(100);
        if (r < 68) {
            const int code = PropertyCode();
            lines_.push_back("\t" + std::to_string(code) + " " + ValueFor(code));
        } else if (r < 86) {
            const std::string property = rng_.Pick(v_.propertyWords);
            lines_.push_back("\t" + property + " " + ValueFor(0));
        } else {
            // A state variable; now and then one that coincides with a primitive.
            std::string name;
            if (rng_.Percent(8))
                name = rng_.Pick(v_.primitives);
            else if (!stateVars_.empty() && rng_.Percent(40))
                name = rng_.Pick(stateVars_);
            else
                stateVars_.push_back(name = NewName("var_"));
            lines_.push_back("\t" + name + " " + ValueFor(0));
        }
    }

    std::string Escaped(std::string_view text) {
        std::string out;
        for (char c : text) {
            if (std::string_view("[] /*+-|\"\\()<>=;").find(c) != std::string_view::npos) out += '\\';
            out += c;
        }
        return out;
    }

    void Definition() {
        const std::string name = NewName("proc_");
        procedures_.push_back(name);
        std::string head = v_.toWord + " " + name;
        for (int k = rng_.Between(0, 2); k > 0; --k) head += " :" + NewName("arg_");
        // Most definitions are in bar form; the escaped form may hold bars of its own.
        const bool escaped = rng_.Percent(10);
        std::vector<std::string> body;
        for (int k = rng_.Between(3, 14); k > 0; --k) {
            const std::string indent(static_cast<std::size_t>(rng_.Between(0, 2)), ' ');
            body.push_back(indent + Tokens(rng_.Between(3, 10), escaped));
        }
        body.push_back(v_.endWord);
        std::string line = "\t" + v_.defineWord + "'" + name + " ";
        if (!escaped) {
            line += "|" + head;
            for (const auto& b : body) line += kPilcrow + b;
            line += "|";
        } else {
            line += Escaped(head);
            for (const auto& b : body) line += kPilcrow + Escaped(b);
        }
        lines_.push_back(std::move(line));
    }

    void Event() {
        lines_.push_back("\t" + v_.eventWord + "'" + NewName("ev_") + " [" +
                         Tokens(rng_.Between(2, 8), true) + "]");
    }

    enum class Header { kTop, kNumbered, kNewClass };

    void Object(Header header) {
        ++objectCounter_;
        std::string first;
        int builtin = rng_.Below(static_cast<int>(kClasses.size()));
        // Turtles, buttons and text boxes are the common objects.
        if (rng_.Percent(40))
            builtin = std::array{20, 0, 16, 14, 12}[static_cast<std::size_t>(rng_.Below(5))];
        const std::string classWord = v_.classWords[static_cast<std::size_t>(builtin)];
        switch (header) {
            case Header::kTop:
                first = v_.newWord + " \"" + classWord + " [";
                break;
            case Header::kNumbered:
                first = "#" + std::to_string(objectCounter_) + "'" + v_.newWord + " \"#" +
                        std::to_string(rng_.Pick(userClasses_)) + " [";
                break;
            case Header::kNewClass:
                first = v_.newClassWord + " \"" + classWord + " [";
                userClasses_.push_back(objectCounter_);
                break;
        }
        // An object header carries its first setting and is split in two when parsed; a class
        // header stands alone.
        const int splitLines = header == Header::kNewClass ? 0 : 1;
        if (header == Header::kNewClass) {
            lines_.push_back(first);
            lines_.push_back("\t132 " + NewName("cls_"));
        } else {
            lines_.push_back(first + "132 " + NewName("obj_"));
        }
        for (int k = rng_.Between(12, 40); k > 0; --k) SettingLine();
        // Picture settings. An image group names a line by its index after the header line.
        std::vector<std::pair<int, std::size_t>> pictures;
        for (int k = rng_.Percent(30) ? rng_.Between(1, 2) : 0; k > 0; --k) {
            const std::size_t at = 1 + static_cast<std::size_t>(rng_.Below(static_cast<int>(lines_.size())));
            lines_.insert(
                lines_.begin() + static_cast<std::ptrdiff_t>(at),
                "\t" + std::to_string(std::array{28, 37, 60}[static_cast<std::size_t>(rng_.Below(3))]) +
                    " []");
            for (auto& picture : pictures)
                if (picture.second >= at) ++picture.second;
            pictures.emplace_back(rng_.Between(1, pictures_), at);
        }
        for (int k = rng_.Between(1, header == Header::kNewClass ? 4 : 3); k > 0; --k) Definition();
        for (int k = rng_.Between(0, 3); k > 0; --k) Event();
        if (!pictures.empty()) {
            std::string list = "\t[";
            for (const auto& [picture, line] : pictures)
                list += "[" + std::to_string(picture) + " " + std::to_string(line + splitLines - 1) + "]";
            lines_.push_back(list + "]");
        }
    }

    void Globals() {
        lines_.push_back(v_.setStateWord + " [");
        for (int k = rng_.Between(20, 40); k > 0; --k) SettingLine();
        for (int k = rng_.Between(1, 3); k > 0; --k) Definition();
    }

    void SaveOptions() { lines_.push_back(v_.saveOptionsWord + " [1 0 1 1 0]"); }

    void GlobalVariables() {
        for (int k = rng_.Between(4, 24); k > 0; --k) {
            const std::string name = NewName("gvar_");
            globals_.push_back(name);
            std::string value = Number();
            if (rng_.Percent(30)) value = BarText();
            if (rng_.Percent(20)) value = "[" + Tokens(rng_.Between(1, 5), false) + "]";
            lines_.push_back(v_.makeWord + " \"" + name + " " + value);
        }
    }

    void PropertyList() {
        lines_.push_back(v_.setPListWord + " \"" + NewName("plist_") + " [" +
                         Tokens(rng_.Between(2, 8), false) + "]");
    }

    void Comment() {
        for (int k = rng_.Between(1, 6); k > 0; --k)
            lines_.push_back("; " + Tokens(rng_.Between(3, 9), true));
    }

    void FreeLines() {
        for (int k = rng_.Between(1, 3); k > 0; --k) {
            const std::string first = Number();
            lines_.push_back(first + " " + Tokens(rng_.Between(2, 6), true));
        }
    }

    Random rng_;
    const Vocabulary& v_;
    const int sections_;
    const int pictures_;
    std::string text_;
    std::vector<std::string> lines_;
    int objectCounter_ = 0;
    int nameCounter_ = 0;
    std::vector<int> userClasses_;
    std::vector<std::string> procedures_, globals_, stateVars_;
};

}  // namespace

std::string GenerateProject(int sections, std::uint32_t seed) {
    if (sections < 0) throw std::invalid_argument("negative section count");
    return ProjectWriter(sections, seed).Run();
}

std::string BuildGeneratedContainer(std::string_view text, int sections, std::uint32_t seed) {
    Random rng(seed ^ 0x5bd1e995u);
    const int pictures = GeneratedPictureCount(sections);
    ContainerBuilder container;
    container.chunk("LA 1", kGeneratedSourceLanguage);
    auto picture = [&] {
        std::string data = "BM";
        for (int k = rng.Between(2048, 6144); k > 0; --k) data += static_cast<char>(rng.Byte());
        container.chunk("BM 1", data);
    };
    for (int k = 0; k < pictures / 2; ++k) picture();
    container.chunk("TX 1", text);
    for (int k = pictures / 2; k < pictures; ++k) picture();
    return container.bytes();
}

std::size_t WriteGeneratedProject(const std::string& fileName, int sections, std::uint32_t seed) {
    const std::string text = GenerateProject(sections, seed);
    WriteFile(fileName, BuildGeneratedContainer(text, sections, seed));
    return text.size();
}

}  // namespace vlp::test
