#include "container/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "container/io_error.h"

namespace vlp {
namespace {

// The file that is really replaced: a symbolic link is followed so that the link survives.
std::filesystem::path ResolveTarget(const std::string& targetFileName) {
    std::filesystem::path path(targetFileName);
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto resolved = std::filesystem::canonical(path, ec);
        if (!ec) return resolved;
    }
    return path;
}

std::string RandomSuffix(std::mt19937_64& random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    auto bits = random();
    for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 0xF];
    return suffix;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename is already done
    ::close(fd);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetFileName)
    : targetFileName_(targetFileName), finalPath_(ResolveTarget(targetFileName)) {
    const auto fail = [&] { throw IoError(CannotCreateFileMessage(targetFileName_)); };
    if (finalPath_.filename().empty()) fail();

    bool keepMode = false;
    mode_t mode = 0;
    struct stat existing {};
    if (::stat(finalPath_.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) fail();
        keepMode = true;
        mode = existing.st_mode & 0777;
    }

    auto folder = finalPath_.parent_path();
    if (folder.empty()) folder = ".";
    // Keep the temporary name within the file system's limit for a name.
    const auto stem = finalPath_.filename().string().substr(0, 100);
    std::mt19937_64 random(std::random_device{}());
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporaryPath_ = folder / ("." + stem + "." + RandomSuffix(random) + ".tmp");
        fd_ = ::open(temporaryPath_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temporaryPath_.clear();
        fail();
    }
    if (keepMode) ::fchmod(fd_, mode);
}

ReplacementFile::~ReplacementFile() {
    Discard();
}

void ReplacementFile::Discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!committed_ && !temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

void ReplacementFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const auto written = ::pwrite(fd_, bytes, size, position_);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw IoError(kStreamWriteError);
        bytes += written;
        size -= static_cast<std::size_t>(written);
        position_ += written;
    }
}

void ReplacementFile::ReadAt(std::int64_t offset, void* data, std::size_t size) const {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const auto got = ::pread(fd_, bytes, size, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw IoError(kStreamReadError);
        bytes += got;
        size -= static_cast<std::size_t>(got);
        offset += got;
    }
}

void ReplacementFile::Commit() {
    if (::fsync(fd_) != 0) throw IoError(kStreamWriteError);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw IoError(kStreamWriteError);
    if (std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0)
        throw IoError(CannotCreateFileMessage(targetFileName_));
    committed_ = true;
    temporaryPath_.clear();
    SyncFolder(finalPath_.parent_path().empty() ? std::filesystem::path(".") : finalPath_.parent_path());
}

}  // namespace vlp
