#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "project/project_state.h"

// A deterministic generator of large projects and of the language data they are written in,
// for benchmarks and for tests that need volume. The same seed gives the same bytes on every
// platform and standard library: only std::mt19937's raw output is used, never a std
// distribution.
namespace vlp::test {

inline constexpr const char* kGeneratedSourceLanguage = "gensource";
inline constexpr const char* kGeneratedTargetLanguage = "gentarget";
inline constexpr const char* kGeneratedSourceFile = "gensource.ldi";
inline constexpr const char* kGeneratedTargetFile = "gentarget.ldi";
inline constexpr std::uint32_t kGeneratorSeed = 20261208;

// The number of items that every generated language holds whatever size is asked for: the
// looked-up keywords, the 24 classes, the property names and the colours.
int GeneratedFixedItemCount();

// Writes compare.tab, gensource.ldi and gentarget.ldi (CR LF, Windows-1250) into `dir`, with
// max(items, GeneratedFixedItemCount()) items in compare.tab. Besides the fixed items the data
// holds primitives with synonyms, settable items with set forms, explicit set and get words,
// items for network and media player objects, words shared by two or three items with different
// targets (ambiguous), pairs that the class of a section tells apart, an item the target lacks,
// and lines every reader must skip. Projects from GenerateProject use only words of the first
// 2,000 items, so any folder of that size or more knows all of them.
void GenerateLanguageFolder(const std::filesystem::path& dir, int items);

// Points the workspace at a generated folder: sets programDir and discovers the two languages.
void UseGeneratedLanguages(Workspace& ws, const std::filesystem::path& dir);
// Presses the target language's button, as the user does after opening and before Translate
// (opening a project releases every button).
void PressGeneratedTargetButton(Workspace& ws);

// The number of picture chunks a project of that many sections carries (one per 20 sections,
// at least one); the image lists of the text refer to pictures 1 to this number.
int GeneratedPictureCount(int sections);

// The source text (CR LF, Windows-1250, in the generated source language) of a project of
// `sections` sections separated by empty lines, about 30 lines each on average: the globals
// section, save options, global variables, user classes and numbered objects of them, top
// objects of the built-in classes with numeric property codes and property names, state
// variables, definitions in bar form (pilcrow line breaks) and a few escaped, events, image
// lists as last lines, property lists, comments and free lines.
std::string GenerateProject(int sections, std::uint32_t seed = kGeneratorSeed);

// Container bytes around a project text: the language chunk, picture chunks of 2 to 6 KB each
// (GeneratedPictureCount of them, some before and some after the text) and the text chunk.
std::string BuildGeneratedContainer(std::string_view text, int sections, std::uint32_t seed = kGeneratorSeed);

// Writes the container of GenerateProject(sections, seed) to fileName; returns the text's size.
std::size_t WriteGeneratedProject(const std::string& fileName, int sections,
                                  std::uint32_t seed = kGeneratorSeed);

}  // namespace vlp::test
