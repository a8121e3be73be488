#include "container/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "container/io_error.h"

namespace vlp {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string ReadRegularFile(const std::string& fileName) {
    // Without O_NONBLOCK, opening a pipe blocks until someone writes to it; the type is checked
    // on what was opened, so it cannot change between the check and the read.
    const FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        throw IoError(CannotOpenFileMessage(fileName));

    std::string text;
    char block[1 << 16];
    for (;;) {
        const auto got = ::read(file.get(), block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw IoError(kStreamReadError);
        if (got == 0) break;
        text.append(block, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace vlp
