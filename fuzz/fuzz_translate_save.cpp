// The whole road: open, translate into another language, save, and open the result again.
#include <filesystem>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "project/section_parts.h"
#include "translate/memory_editor.h"
#include "translate/project_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vlp;
    const std::string source = fuzz::WorkFile("road.vlp");
    const std::string target = fuzz::WorkFile("road_out.vlp");
    fuzz::WriteBytes(source, fuzz::AsText(data, size));
    std::filesystem::remove(target);

    Workspace ws;
    fuzz::PrepareWorkspace(ws, fuzz::LanguageDir());
    fuzz::SilentReporter reporter;
    try {
        const auto sections = OpenProjectSections(ws, source, reporter);
        std::vector<std::unique_ptr<MemoryEditor>> editors;
        std::vector<TFrameStruct> frames;
        for (const auto& section : sections) {
            TFrameStruct frame;
            for (const auto& part : SectionParts(section)) {
                editors.push_back(std::make_unique<MemoryEditor>(part.text));
                frame.push_back({editors.back().get(), part.kind, part.className});
            }
            frames.push_back(std::move(frame));
        }
        // Press the first language button that is enabled (not the project's own).
        for (std::size_t i = 0; i < ws.language.LanguageList.size(); ++i) {
            if (ws.buttons.buttons[i].enabled) {
                ws.buttons.buttons[i].down = true;
                break;
            }
        }
        if (!SaveRefusal(frames).empty()) return 0;
        TranslateProject(ws, frames);
        SaveProject(ws, frames, source, target);
        Workspace again;
        fuzz::PrepareWorkspace(again, fuzz::LanguageDir());
        OpenProjectSections(again, target, reporter);
    } catch (const IoError&) {
    }
    return 0;
}
