#include "translate/project_session.h"

#include <filesystem>

#include "container/io_error.h"
#include "container/project_file.h"
#include "language/property_names.h"
#include "project/names_table.h"
#include "project/project_loading.h"
#include "project/section_parser.h"
#include "project/section_reassembly.h"

namespace vlp {
namespace {

constexpr const char* kNoSectionsRefusal = "The project has no sections; nothing was saved.";

bool FileExists(const std::string& fileName) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(fileName), error);
}

}  // namespace

std::vector<TStruct> OpenProjectSections(Workspace& ws, const std::string& fileName, Reporter& reporter) {
    const TArrayString blocks = LoadProject(ws, fileName, reporter);
    ResetNameState(ws);
    std::vector<TStruct> sections = ParseSections(ws, blocks);
    FillNamesGrid(ws);
    ws.language.targetLanguageFile.clear();
    return sections;
}

void TranslateProject(Workspace& ws, const std::vector<TFrameStruct>& frames) {
    ApplyNamesGrid(ws);
    PartTranslator translator(ws);
    for (const TFrameStruct& frame : frames) translator.TranslateFrame(frame);
}

std::string DeriveOutputFileName(const Workspace& ws, const std::string& projectFileName) {
    const std::size_t slash = projectFileName.rfind('/');
    // A bare file name stays in the current folder rather than moving to the root.
    const std::string folder =
        slash == std::string::npos ? std::string() : projectFileName.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? projectFileName : projectFileName.substr(slash + 1);
    if (ws.project.saveLanguage != ws.project.projectLanguage) name = ws.project.saveLanguage + "_" + name;
    while (FileExists(folder + name)) name = "new_" + name;
    return folder + name;
}

std::string ProjectSaveText(Workspace& ws, const std::vector<TFrameStruct>& frames) {
    BuildTargetPropertyNames(ws.language);
    std::string text;
    for (const TFrameStruct& frame : frames) {
        std::vector<PartText> parts;
        parts.reserve(frame.size());
        for (const FramePart& part : frame) parts.push_back({part.kind, part.className, part.editor->Text()});
        text += FrameSaveText(ws, parts);
    }
    return text;
}

std::string SaveRefusal(const std::vector<TFrameStruct>& frames) {
    return frames.empty() ? kNoSectionsRefusal : std::string();
}

void SaveProject(Workspace& ws, const std::vector<TFrameStruct>& frames, const std::string& projectFileName,
                 const std::string& outputFileName) {
    // Without sections the text would be empty and the writer would leave an empty file in
    // place of a project.
    if (const std::string refusal = SaveRefusal(frames); !refusal.empty()) throw IoError(refusal);
    const std::string text = ProjectSaveText(ws, frames);
    SaveProjectFile(projectFileName, outputFileName, text, ws.project.saveLanguage);
}

std::vector<Editor*> MemoryFrames::EditorList() const {
    std::vector<Editor*> list;
    list.reserve(editors.size());
    for (const auto& editor : editors) list.push_back(editor.get());
    return list;
}

MemoryFrames MakeMemoryFrames(const std::vector<TStruct>& sections) {
    MemoryFrames result;
    result.frames.reserve(sections.size());
    for (const TStruct& section : sections) {
        TFrameStruct frame;
        for (PartText& part : SectionParts(section)) {
            auto editor = std::make_unique<MemoryEditor>(part.text);
            frame.push_back({editor.get(), part.kind, std::move(part.className)});
            result.editors.push_back(std::move(editor));
        }
        result.frames.push_back(std::move(frame));
    }
    return result;
}

}  // namespace vlp
