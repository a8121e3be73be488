// The whole road: open, press a language button, translate, resolve ambiguous words, save into
// a temporary folder, and open the result again. The project file itself must come out of it
// unchanged, a failed save must leave the old target and no temporary file, and a saved file
// must read back as the text that was saved.
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "translate/ambiguity_walk.h"
#include "translate/project_session.h"

namespace {

using namespace vlp;

// Presses one of the enabled language buttons (every one but the project's own), chosen by
// the input's size so that every target language gets its share of inputs.
void PressSomeButton(Workspace& ws, std::size_t size) {
    std::vector<std::size_t> enabled;
    for (std::size_t i = 0; i < ws.language.LanguageList.size(); ++i)
        if (ws.buttons.buttons[i].enabled) enabled.push_back(i);
    if (enabled.empty()) return;
    ws.buttons.buttons[enabled[size % enabled.size()]].down = true;
}

// Resolves every other ambiguous word by one of its candidates and skips the rest, as a user
// walking through the Ambiguity dialog might.
void WalkAmbiguities(Workspace& ws, const MemoryFrames& frames) {
    AmbiguityWalk walk;
    walk.Start(frames.EditorList());
    walk.FindNext(ws);
    for (std::size_t k = 0; !walk.AtEnd(); ++k) {
        const auto candidates = walk.Candidates().size();
        if (k % 2 == 0 && candidates > 0)
            walk.Replace(ws, static_cast<int>(k / 2 % candidates));
        else
            walk.Skip(ws);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::string source = fuzz::WorkFile("road.vlp");
    const std::string target = fuzz::WorkFile("road_out.vlp");
    const std::string_view oldTarget = "an older file of the same name";
    fuzz::WriteBytes(source, input);
    fuzz::WriteBytes(target, oldTarget);

    Workspace ws;
    fuzz::PrepareWorkspace(ws, fuzz::LanguageDir());
    fuzz::SilentReporter reporter;
    bool saved = false;
    std::string savedText;
    try {
        const auto sections = OpenProjectSections(ws, source, reporter);
        MemoryFrames frames = MakeMemoryFrames(sections);
        PressSomeButton(ws, size);
        TranslateProject(ws, frames.frames);
        WalkAmbiguities(ws, frames);
        SaveProject(ws, frames.frames, source, target);
        saved = true;
        savedText = ProjectSaveText(ws, frames.frames);
    } catch (const IoError&) {
    }

    if (fuzz::ReadBytes(source) != input) __builtin_trap();  // the project is never touched
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::WorkDir())) {
        const auto name = entry.path().filename();
        if (name != "road.vlp" && name != "road_out.vlp") __builtin_trap();  // a temporary file
    }
    if (!saved) {
        if (fuzz::ReadBytes(target) != oldTarget) __builtin_trap();  // a failed save keeps it
        return 0;
    }

    ProjectLanguageState language;
    if (LoadProjectFile(target, language) != savedText) __builtin_trap();
    const std::string& saveLanguage = ws.project.saveLanguage;
    const bool english = saveLanguage.empty() || saveLanguage == "english";
    if (language.projectLanguage != (english ? std::string() : saveLanguage)) __builtin_trap();

    Workspace again;
    fuzz::PrepareWorkspace(again, fuzz::LanguageDir());
    try {
        OpenProjectSections(again, target, reporter);
    } catch (const IoError&) {
        __builtin_trap();  // a file just written must open
    }
    return 0;
}
