#include "support/fault_injection.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vlp::test {
namespace {

bool DropToNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(const std::vector<char*>& args, const ProgramOptions& options, int out, int err) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (options.asNobody && !DropToNobody()) ::_exit(126);
    if (options.fileSizeLimit) {
        // Ignored, SIGXFSZ no longer kills the writer: the write fails with EFBIG instead.
        ::signal(SIGXFSZ, SIG_IGN);
        const auto bytes = static_cast<rlim_t>(*options.fileSizeLimit);
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    ::execv(args[0], args.data());
    ::_exit(127);
}

// Reads what is there without blocking; false once the pipe is closed.
bool Drain(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const auto got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && errno == EAGAIN;
    }
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv, const ProgramOptions& options) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {};
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return {};
    }
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) ExecChild(args, options, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    ProgramRun run;
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    ::fcntl(err[0], F_SETFL, O_NONBLOCK);
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    bool outOpen = pid > 0;
    bool errOpen = pid > 0;
    while (outOpen || errOpen) {
        pollfd fds[] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
        ::poll(fds, 2, 100);
        if (outOpen) outOpen = Drain(out[0], run.out);
        if (errOpen) errOpen = Drain(err[0], run.err);
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            run.timedOut = true;
            break;
        }
    }
    ::close(out[0]);
    ::close(err[0]);
    int raw = 0;
    if (pid > 0 && ::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw)) run.status = WEXITSTATUS(raw);
    return run;
}

namespace {

// A child becomes user 65534 and, when a program is named, checks that it may execute it.
std::string ProbeNobody(const std::string& program) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!DropToNobody()) ::_exit(1);
        ::_exit(program.empty() || ::access(program.c_str(), X_OK) == 0 ? 0 : 2);
    }
    int raw = 0;
    if (pid < 0 || ::waitpid(pid, &raw, 0) != pid || !WIFEXITED(raw)) return "cannot start a child process";
    switch (WEXITSTATUS(raw)) {
        case 0:
            return "";
        case 1:
            return "a child process cannot change to user 65534";
        default:
            return "user 65534 cannot execute " + program;
    }
}

}  // namespace

std::string WhyNobodyIsUnavailable() {
    return ProbeNobody("");
}

std::string WhyNobodyCannotRun(const std::string& program) {
    return ProbeNobody(program);
}

std::string EnterPrivateMountNamespace() {
    static const std::string reason = []() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("no mount namespace of our own: ") + std::strerror(errno);
        // Mounts made here must not propagate back to the namespace we came from.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make the mounts private: ") + std::strerror(errno);
        return "";
    }();
    return reason;
}

TestMount TestMount::Tmpfs(const std::string& folder, long bytes) {
    TestMount mount;
    mount.reason_ = EnterPrivateMountNamespace();
    if (!mount.reason_.empty()) return mount;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("vlptest", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        mount.reason_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return mount;
    }
    mount.folder_ = folder;
    mount.mounted_ = true;
    return mount;
}

TestMount TestMount::ReadOnly(const std::string& folder) {
    TestMount mount;
    mount.reason_ = EnterPrivateMountNamespace();
    if (!mount.reason_.empty()) return mount;
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        mount.reason_ = std::string("cannot bind a folder onto itself: ") + std::strerror(errno);
        return mount;
    }
    mount.folder_ = folder;
    mount.mounted_ = true;
    if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        mount.reason_ = std::string("cannot make a bind mount read-only: ") + std::strerror(errno);
    return mount;
}

TestMount::TestMount(TestMount&& other) noexcept
    : folder_(std::move(other.folder_)), reason_(std::move(other.reason_)), mounted_(other.mounted_) {
    other.mounted_ = false;
}

TestMount::~TestMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

}  // namespace vlp::test
