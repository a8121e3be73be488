#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vlp {

// A file written under a unique temporary name in the target's folder and renamed over the
// target only by Commit(), so readers see either the old file or the complete new one. Until
// Commit() succeeds the destructor removes the temporary file again.
//
// A target that is a symbolic link is written through the link: the file it points to is
// replaced and the link stays. An existing target keeps its permission bits.
class ReplacementFile {
public:
    // Throws IoError("Cannot create file <targetFileName>") when the temporary file cannot be
    // created (missing or read-only folder, target is a folder).
    explicit ReplacementFile(const std::string& targetFileName);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Writes at the current position and moves it on; throws IoError("Stream write error").
    void Write(const void* data, std::size_t size);
    // Reads exactly size bytes at offset; throws IoError("Stream read error").
    void ReadAt(std::int64_t offset, void* data, std::size_t size) const;
    std::int64_t Position() const { return position_; }
    void Seek(std::int64_t position) { position_ = position; }

    // Flushes the data to disk and renames the file into place.
    void Commit();

    const std::filesystem::path& temporaryPath() const { return temporaryPath_; }

private:
    void Discard() noexcept;

    std::string targetFileName_;
    std::filesystem::path finalPath_;
    std::filesystem::path temporaryPath_;
    int fd_ = -1;
    std::int64_t position_ = 0;
    bool committed_ = false;
};

}  // namespace vlp
