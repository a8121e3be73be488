#pragma once

#include <memory>
#include <string>
#include <vector>

#include "project/project_state.h"
#include "project/reporter.h"
#include "project/section_parts.h"
#include "translate/memory_editor.h"
#include "translate/text_translation.h"

// The road from file to file as both front ends drive it: open, translate, save.
namespace vlp {

// Loads the project, resets the parse state, parses every block and fills the names grid;
// clears targetLanguageFile so the next translation picks its target afresh. Returns the
// sections in block order (no sections when the project cannot be used). IoError propagates.
std::vector<TStruct> OpenProjectSections(Workspace& ws, const std::string& fileName, Reporter& reporter);

// Takes the names grid over and translates every frame in order.
void TranslateProject(Workspace& ws, const std::vector<TFrameStruct>& frames);

// The output name of the first plain Save: next to the project, prefixed with the save
// language when it differs from the project language, and with "new_" while the name exists.
std::string DeriveOutputFileName(const Workspace& ws, const std::string& projectFileName);

// Builds the target property names and joins the frame texts.
std::string ProjectSaveText(Workspace& ws, const std::vector<TFrameStruct>& frames);

// Why a project cannot be saved (no sections), or empty when it can.
std::string SaveRefusal(const std::vector<TFrameStruct>& frames);

// ProjectSaveText + SaveProjectFile(projectFileName, outputFileName, ...). A project that
// SaveRefusal refuses throws IoError with that message and writes nothing.
void SaveProject(Workspace& ws, const std::vector<TFrameStruct>& frames, const std::string& projectFileName,
                 const std::string& outputFileName);

// The section frames of an opened project held in memory editors (the batch tool, tests).
struct MemoryFrames {
    std::vector<std::unique_ptr<MemoryEditor>> editors;  // EditorList order
    std::vector<TFrameStruct> frames;

    std::vector<Editor*> EditorList() const;
};
MemoryFrames MakeMemoryFrames(const std::vector<TStruct>& sections);

}  // namespace vlp
