#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "project/reporter.h"

namespace vlp::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // path() / name as a string.
    std::string file(std::string_view name) const;
    // With a trailing separator, as programDir is kept.
    std::string dirWithSeparator() const;

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& fileName, std::string_view bytes);
std::string ReadFile(const std::string& fileName);

// Builds container bytes: header, count and chunks.
class ContainerBuilder {
public:
    explicit ContainerBuilder(std::string_view version = "05") : version_(version) {}
    ContainerBuilder& chunk(std::string_view tag, std::string_view data);
    // A chunk whose length field says `length`, whatever data follows.
    ContainerBuilder& rawChunk(std::string_view tag, std::int32_t length, std::string_view data);
    // Overrides the count field (default: the number of chunks added).
    ContainerBuilder& count(std::int32_t count);
    std::string bytes() const;

private:
    std::string version_;
    std::string body_;
    std::int32_t chunks_ = 0;
    bool countSet_ = false;
    std::int32_t count_ = 0;
};

std::string Int32Le(std::int32_t value);

// Collects reported messages instead of showing them.
class RecordingReporter : public Reporter {
public:
    void Message(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// Joins lines with CR LF (no final line end).
std::string CrLf(std::initializer_list<std::string_view> lines);

// The repository's sample projects and bundled language data.
std::string SourcePath(std::string_view relative);
std::string DataDir();

}  // namespace vlp::test
