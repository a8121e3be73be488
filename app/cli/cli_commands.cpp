#include "app/cli/cli_commands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unordered_map>

#include "container/io_error.h"
#include "container/project_file.h"
#include "container/regular_file.h"
#include "container/replacement_file.h"
#include "language/dictionary_dump.h"
#include "language/discovery.h"
#include "project/names_table.h"
#include "text/cp1250.h"
#include "text/word_compare.h"
#include "translate/ambiguity_walk.h"
#include "translate/project_session.h"

namespace vlp::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string Utf8(std::string_view cp1250) {
    return Cp1250ToUtf8(cp1250);
}

// A message the window would show in a message box.
void ShowMessage(std::string_view text) {
    std::cerr << text << '\n';
}

class StderrReporter : public Reporter {
public:
    void Message(const std::string& text) override {
        ShowMessage(Utf8(text));
        ++count;
    }
    int count = 0;
};

std::string JsonText(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// Runs one command step, turning its failures into a message and exit status 2.
template <typename Step>
int Guarded(Step&& step) {
    try {
        return step();
    } catch (const IoError& e) {
        ShowMessage(e.what());
    } catch (const std::exception& e) {
        ShowMessage(e.what());
    }
    return kExitBadInput;
}

std::unique_ptr<Workspace> MakeWorkspace(const std::string& dataDir) {
    auto ws = std::make_unique<Workspace>();
    ws->language.programDir = dataDir.ends_with('/') ? dataDir : dataDir + "/";
    DiscoverLanguages(ws->language, ws->buttons);
    return ws;
}

// The language button the user names, as the window's buttons offer it: -1 (after a message)
// when no installed language has that name or it is the project's own language.
int FindTargetButton(const Workspace& ws, const std::string& target) {
    const Utf8Conversion converted = Utf8ToCp1250(target);
    const std::string name = AsciiLower(converted.text);
    const auto& list = ws.language.LanguageList;
    for (std::size_t i = 0; !converted.failure && i < list.size(); ++i) {
        if (list[i].name != name) continue;
        if (!ws.buttons.buttons[i].enabled) {
            ShowMessage("target language <" + target + "> is the project's own language");
            return -1;
        }
        return static_cast<int>(i);
    }
    ShowMessage("unknown target language <" + target + ">");
    return -1;
}

// Presses one button of the group: the others come up.
void PressButton(Workspace& ws, int index) {
    for (auto& button : ws.buttons.buttons) button.down = false;
    ws.buttons.buttons[static_cast<std::size_t>(index)].down = true;
}

struct Choice {
    std::string source;
    std::string target;
};

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1;
        else if ((lead & 0xF0) == 0xE0)
            extra = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3;
        else if (lead >= 0x80)
            return false;
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// The choices file is read as UTF-8 when it is valid UTF-8 (as the report writes words), and
// as Windows-1250 otherwise (as names files are written).
std::string ChoicesText(std::string bytes, const std::string& fileName) {
    if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.erase(0, kUtf8ByteOrderMark.size());
    if (!IsUtf8(bytes)) return bytes;
    Utf8Conversion converted = Utf8ToCp1250(bytes);
    if (converted.failure) {
        std::ostringstream message;
        message << fileName << ": character U+" << std::hex << std::uppercase
                << static_cast<std::uint32_t>(converted.failure->codePoint)
                << " cannot be written in Windows-1250";
        throw IoError(message.str());
    }
    return std::move(converted.text);
}

// Lines source=target; a line without "=" or with an empty side is ignored.
std::vector<Choice> ParseChoices(std::string_view text) {
    std::vector<Choice> choices;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string source = Trim(line.substr(0, equals));
        std::string target = Trim(line.substr(equals + 1));
        if (!source.empty() && !target.empty()) choices.push_back({std::move(source), std::move(target)});
    }
    return choices;
}

// The target of the last choice whose source compares equal to the word.
const std::string* FindChoice(const Workspace& ws, const std::vector<Choice>& choices,
                              std::string_view word) {
    for (std::size_t i = choices.size(); i-- > 0;)
        if (CompareWords(choices[i].source, word, ws.language.upperCaseMode) == 0) return &choices[i].target;
    return nullptr;
}

// Replaces every ambiguous word that a choice names, as the dialog's replace does; the
// choice is remembered when it is one of the offered candidates.
void ApplyChoices(Workspace& ws, const MemoryFrames& frames, const std::vector<Choice>& choices) {
    AmbiguityWalk walk;
    walk.Start(frames.EditorList());
    walk.FindNext(ws);
    while (!walk.AtEnd()) {
        const std::string* target = FindChoice(ws, choices, walk.Word());
        if (!target) {
            walk.Skip(ws);
            continue;
        }
        const auto& candidates = walk.Candidates();
        const auto offered =
            std::find_if(candidates.begin(), candidates.end(),
                         [&](const AmbiguityWalk::Candidate& c) { return c.replacement == *target; });
        if (offered != candidates.end())
            walk.Replace(ws, static_cast<int>(offered - candidates.begin()));
        else
            walk.ReplaceWith(ws, *target);
    }
}

struct MarkCounts {
    int translated = 0;  // translated, and resolved by a choice
    int ambiguous = 0;
};

MarkCounts CountMarks(const MemoryFrames& frames) {
    MarkCounts counts;
    for (const auto& editor : frames.editors) {
        for (const Mark& run : editor->MarkedRuns()) {
            if (run.status == kMarkAmbiguous)
                ++counts.ambiguous;
            else if (run.status == kMarkTranslated || run.status == kMarkResolved)
                ++counts.translated;
        }
    }
    return counts;
}

Json PartsJson(const MemoryFrames& frames) {
    Json parts = Json::array();
    for (std::size_t f = 0; f < frames.frames.size(); ++f) {
        for (std::size_t p = 0; p < frames.frames[f].size(); ++p) {
            const FramePart& part = frames.frames[f][p];
            Json marks = Json::array();
            for (const Mark& run : part.editor->MarkedRuns())
                marks.push_back({{"start", run.start}, {"length", run.length}, {"status", run.status}});
            parts.push_back({{"frame", f},
                             {"part", p},
                             {"kind", part.kind},
                             {"className", Utf8(part.className)},
                             {"text", Utf8(part.editor->Text())},
                             {"marks", std::move(marks)}});
        }
    }
    return parts;
}

// Names whose translation (or the name itself) is a word of the target language: the
// environment would read such a name as one of its own words.
Json NameWarnings(const Workspace& ws) {
    const bool mode = ws.language.upperCaseMode;
    std::unordered_map<std::string, std::string> targetWords;  // folded word -> item key
    for (const auto& [key, value] : ws.language.TargetDictionary.pairs) {
        std::string_view words = value;
        while (!words.empty()) {
            const std::size_t blank = words.find(' ');
            const std::string_view word = words.substr(0, blank);
            if (!word.empty()) targetWords.emplace(FoldWord(word, mode), key);
            words.remove_prefix(blank == std::string_view::npos ? words.size() : blank + 1);
        }
    }
    for (const WordEntry& entry : ws.language.WordTable)
        for (const Sense& sense : entry.senses)
            if (!sense.target.empty()) targetWords.emplace(FoldWord(sense.target, mode), sense.key);

    Json warnings = Json::array();
    const auto& translations = ws.parse.NameTranslations[0];
    for (const auto& [tags, name] : ws.parse.NameList[0]) {
        std::string translation = name;
        if (const int n = FindName(ws, name); n >= 0)
            translation = translations[n].second == "*" ? translations[n].first : translations[n].second;
        const auto hit = targetWords.find(FoldWord(translation, mode));
        if (hit == targetWords.end()) continue;
        warnings.push_back(
            {{"name", Utf8(name)}, {"translation", Utf8(translation)}, {"key", Utf8(hit->second)}});
    }
    return warnings;
}

// Whether two names reach the same file, or will once the first is written.
bool SameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) return true;
    std::error_code errorA;
    std::error_code errorB;
    const auto pathA = fs::weakly_canonical(a, errorA);
    const auto pathB = fs::weakly_canonical(b, errorB);
    return !errorA && !errorB && pathA == pathB;
}

// A file the run writes must not replace one it reads or has just written: that one would be
// lost.
void RefuseToReplace(const std::string& written, const std::vector<std::string>& kept) {
    for (const std::string& name : kept)
        if (SameFile(written, name)) throw IoError(CannotCreateFileMessage(written));
}

struct Inputs {
    std::optional<std::string> namesText;
    std::optional<std::vector<Choice>> choices;
};

int TranslateOne(Workspace& ws, const TranslateOptions& options, const Inputs& inputs,
                 const std::string& file) {
    StderrReporter reporter;
    const std::vector<TStruct> sections = OpenProjectSections(ws, file, reporter);
    if (sections.empty()) {
        ShowMessage(SaveRefusal({}));
        return kExitBadInput;
    }
    MemoryFrames frames = MakeMemoryFrames(sections);
    if (inputs.namesText) {
        std::istringstream names(*inputs.namesText);
        LoadNamesStream(ws, names);
    }
    if (options.target) {
        const int button = FindTargetButton(ws, *options.target);
        if (button < 0) return kExitBadInput;
        PressButton(ws, button);
        TranslateProject(ws, frames.frames);
        if (inputs.choices) ApplyChoices(ws, frames, *inputs.choices);
    }

    const MarkCounts counts = CountMarks(frames);
    const std::string output = options.output ? *options.output : DeriveOutputFileName(ws, file);
    std::vector<std::string> kept = {file};
    if (options.namesFile) kept.push_back(*options.namesFile);
    if (options.choicesFile) kept.push_back(*options.choicesFile);
    RefuseToReplace(output, kept);
    // A report that cannot be created stops the run before the project is written.
    std::optional<ReplacementFile> reportFile;
    if (options.reportFile) {
        kept.push_back(output);
        RefuseToReplace(*options.reportFile, kept);
        reportFile.emplace(*options.reportFile);
    }
    SaveProject(ws, frames.frames, file, output);
    std::cout << "translated " << counts.translated << ", ambiguous " << counts.ambiguous << ", written "
              << output << std::endl;

    if (reportFile) {
        Json report = {{"source", file},
                       {"target", options.target ? Json(Utf8(ws.project.saveLanguage)) : Json(nullptr)},
                       {"output", output},
                       {"translated", counts.translated},
                       {"ambiguous", counts.ambiguous},
                       {"parts", PartsJson(frames)},
                       {"warnings", options.target ? NameWarnings(ws) : Json::array()}};
        const std::string text = JsonText(report);
        reportFile->Write(text.data(), text.size());
        reportFile->Commit();
    }
    return options.strict && counts.ambiguous > 0 ? kExitAmbiguous : kExitSuccess;
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : exe.parent_path().string();
}

int ListLanguages(const std::string& dataDir) {
    return Guarded([&] {
        const auto ws = MakeWorkspace(dataDir);
        for (const LanguageInfo& language : ws->language.LanguageList)
            std::cout << Utf8(language.name) << '\t' << language.fileName << '\n';
        return kExitSuccess;
    });
}

int ShowInfo(const std::string& file) {
    return Guarded([&] {
        const ContainerInfo info = InspectProjectFile(file);
        ProjectLanguageState language;
        const std::string text = LoadProjectFile(file, language);
        Json chunks = Json::array();
        for (const ChunkInfo& chunk : info.chunks)
            chunks.push_back({{"tag", Utf8(ChunkTagText(chunk.tag))}, {"length", chunk.length}});
        const Json json = {{"container", info.container},
                           {"version", info.version >= 0 ? Json(info.version) : Json(nullptr)},
                           {"chunks", std::move(chunks)},
                           {"language", Utf8(language.projectLanguage)},
                           {"textLength", text.size()}};
        std::cout << JsonText(json);
        return kExitSuccess;
    });
}

int ShowProject(const std::string& dataDir, const std::string& file) {
    return Guarded([&] {
        const auto ws = MakeWorkspace(dataDir);
        StderrReporter reporter;
        const std::vector<TStruct> sections = OpenProjectSections(*ws, file, reporter);
        if (reporter.count > 0) return kExitBadInput;
        Json sectionsJson = Json::array();
        for (const TStruct& s : sections) {
            Json defines = Json::array();
            for (const std::string& text : s.defineTexts) defines.push_back(Utf8(text));
            sectionsJson.push_back({{"kind", s.kind},
                                    {"caption", Utf8(s.caption)},
                                    {"className", Utf8(s.className)},
                                    {"headText", Utf8(s.headText)},
                                    {"propertyText", Utf8(s.propertyText)},
                                    {"variableText", Utf8(s.variableText)},
                                    {"eventText", Utf8(s.eventText)},
                                    {"defineTexts", std::move(defines)}});
        }
        Json names = Json::array();
        for (const auto& [tags, name] : ws->parse.NameList[0])
            names.push_back({{"tags", Utf8(tags)}, {"name", Utf8(name)}});
        const Json json = {{"language", Utf8(ws->project.projectLanguage)},
                           {"sections", std::move(sectionsJson)},
                           {"names", std::move(names)}};
        std::cout << JsonText(json);
        return kExitSuccess;
    });
}

int TranslateProjects(const std::string& dataDir, const TranslateOptions& options) {
    std::unique_ptr<Workspace> ws;
    Inputs inputs;
    // The language list and the side files are read once for the whole batch.
    const int prepared = Guarded([&] {
        ws = MakeWorkspace(dataDir);
        if (options.namesFile) inputs.namesText = ReadRegularFile(*options.namesFile);
        if (options.choicesFile)
            inputs.choices =
                ParseChoices(ChoicesText(ReadRegularFile(*options.choicesFile), *options.choicesFile));
        return kExitSuccess;
    });
    if (prepared != kExitSuccess) return prepared;

    int status = kExitSuccess;
    for (const std::string& file : options.files) {
        const int one = Guarded([&] { return TranslateOne(*ws, options, inputs, file); });
        if (one == kExitBadInput && options.files.size() > 1) ShowMessage("failed " + file);
        if (one == kExitBadInput || (one == kExitAmbiguous && status == kExitSuccess)) status = one;
    }
    return status;
}

int DumpWordTable(const std::string& dataDir, const DumpOptions& options) {
    return Guarded([&] {
        const auto ws = MakeWorkspace(dataDir);
        StderrReporter reporter;
        const std::vector<TStruct> sections = OpenProjectSections(*ws, options.file, reporter);
        if (sections.empty()) {
            ShowMessage("The project has no sections; no dictionary was loaded.");
            return kExitBadInput;
        }
        const int button = FindTargetButton(*ws, options.target);
        if (button < 0) return kExitBadInput;
        PressButton(*ws, button);
        ChooseTargetLanguage(*ws);
        const std::string output = options.output ? *options.output : DefaultDumpFileName(ws->language);
        RefuseToReplace(output, {options.file});
        if (!DumpDictionary(ws->language, output)) {
            ShowMessage("The dictionary is empty; nothing was written.");
            return kExitBadInput;
        }
        ShowMessage("dictionary to file\n" + output);
        return kExitSuccess;
    });
}

}  // namespace vlp::cli
