#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Means of making file operations fail for real: running a program as an ordinary user (the
// superuser passes every permission check), a file size limit, and mounts of a tiny or
// read-only file system inside the test process's own mount namespace. Each facility says
// why it is unavailable, so a test can skip with that reason instead of failing.
namespace vlp::test {

inline constexpr uid_t kNobody = 65534;

struct ProgramRun {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ProgramOptions {
    bool asNobody = false;              // run as user and group 65534, without other groups
    std::optional<long> fileSizeLimit;  // RLIMIT_FSIZE in bytes; a longer write fails (EFBIG)
    std::chrono::seconds timeout{120};  // then the program is killed and timedOut set
};

// Runs argv[0] with the arguments, collecting what it writes to stdout and stderr.
ProgramRun RunProgram(const std::vector<std::string>& argv, const ProgramOptions& options = {});

// Empty when a child process can become user 65534; otherwise the reason.
std::string WhyNobodyIsUnavailable();
// Empty when a child can become user 65534 and then execute `program`; otherwise the reason.
std::string WhyNobodyCannotRun(const std::string& program);

// Moves this process into a mount namespace of its own (once), so that mounts made by a test
// are seen by it and its children only and vanish with it even when it crashes. Empty on
// success, otherwise the reason.
std::string EnterPrivateMountNamespace();

// A mount on an existing folder, undone by the destructor. Check reason() before use: when it
// is not empty nothing was mounted.
class TestMount {
public:
    // A tmpfs of `bytes` bytes (the kernel rounds up to whole pages).
    static TestMount Tmpfs(const std::string& folder, long bytes);
    // The folder itself bound onto itself read-only: even the superuser cannot write in it.
    static TestMount ReadOnly(const std::string& folder);

    TestMount(TestMount&& other) noexcept;
    TestMount& operator=(TestMount&&) = delete;
    TestMount(const TestMount&) = delete;
    ~TestMount();
    const std::string& reason() const { return reason_; }

private:
    TestMount() = default;
    std::string folder_;
    std::string reason_;
    bool mounted_ = false;
};

}  // namespace vlp::test
