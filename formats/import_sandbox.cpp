#include "formats/import_sandbox.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace verdel {

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VERDEL_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VERDEL_ADDRESS_SANITIZER 1
#endif

// A descriptor closed when it goes out of scope.
class TFd {
public:
    explicit TFd(int fd = -1) : Fd(fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    void Close()
    {
        if (Fd >= 0) close(Fd);
        Fd = -1;
    }
    int Fd;
};

// posix_spawn's settings for the child, released when they go out of scope.
class TSpawnSettings {
public:
    explicit TSpawnSettings(int replyEnd)
    {
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, replyEnd, ReplyFd);
        posix_spawn_file_actions_addopen(&Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclosefrom_np(&Actions, ReplyFd + 1);
        posix_spawnattr_init(&Attributes);
        posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawnattr_setpgroup(&Attributes, 0);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&Attributes, &signals);
        for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXCPU, SIGXFSZ, SIGSEGV, SIGCHLD})
            sigaddset(&signals, signal);
        posix_spawnattr_setsigdefault(&Attributes, &signals);
    }
    ~TSpawnSettings()
    {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    TSpawnSettings(const TSpawnSettings&) = delete;
    TSpawnSettings& operator=(const TSpawnSettings&) = delete;

    posix_spawn_file_actions_t Actions;
    posix_spawnattr_t Attributes;
};

using TClock = std::chrono::steady_clock;

// Reads the reply until the pipe ends; the reason to stop the child early, if there is one.
std::optional<TChildEnd> ReadReply(int fd, std::string& reply, const TImportLimits& limits, const TCancelToken& cancel,
                                   TClock::time_point deadline)
{
    constexpr size_t piece = 1 << 16;
    for (;;) {
        if (cancel.Cancelled()) return TChildEnd::Cancelled;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
        if (left <= 0) return TChildEnd::TimedOut;
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(std::min<long long>(left, 50))) <= 0) continue;
        const size_t had = reply.size();
        reply.resize(had + piece);
        const ssize_t got = read(fd, reply.data() + had, piece);
        reply.resize(had + static_cast<size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) return std::nullopt;
        if (reply.size() > limits.ReplyBytes) return TChildEnd::TooLarge;
    }
}

// How a child that ended by itself ended.
TChildEnd Classify(int status, const rusage& usage, const TImportLimits& limits)
{
    if (WIFEXITED(status)) {
        if (WEXITSTATUS(status) == 0) return TChildEnd::Replied;
        return WEXITSTATUS(status) == ChildOutOfMemory ? TChildEnd::OutOfMemory : TChildEnd::Crashed;
    }
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (WTERMSIG(status) == SIGXCPU || cpu >= limits.CpuSeconds) return TChildEnd::TimedOut;
    // A crash with nearly all the memory in use: an allocation that failed without telling.
    const uint64_t used = static_cast<uint64_t>(usage.ru_maxrss) * 1024;
    return used >= limits.MemoryBytes / 10 * 9 ? TChildEnd::OutOfMemory : TChildEnd::Crashed;
}

// Waits for the child, stopping it at the deadline or on Cancel if it does not end by itself.
TChildEnd Reap(pid_t child, std::optional<TChildEnd> stopped, const TImportLimits& limits,
               const TCancelToken& cancel, TClock::time_point deadline)
{
    if (stopped) kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t ended = wait4(child, &status, stopped ? 0 : WNOHANG, &usage);
        if (ended == child) break;
        if (ended < 0 && errno != EINTR) return stopped.value_or(TChildEnd::Crashed);
        if (ended == 0 && (cancel.Cancelled() || TClock::now() >= deadline)) {
            stopped = cancel.Cancelled() ? TChildEnd::Cancelled : TChildEnd::TimedOut;
            kill(child, SIGKILL);
        } else if (ended == 0) {
            poll(nullptr, 0, 10);
        }
    }
    return stopped ? *stopped : Classify(status, usage, limits);
}

[[noreturn]] void Usage()
{
    std::fputs("verdel-import: reads one mesh file for Verdel, which starts it; it is not run by hand\n", stderr);
    _exit(2);
}

// Lowers a limit of this process to Soft (a signal, or a failed call) and Hard (the end).
void Limit(int resource, rlim_t soft, rlim_t hard)
{
    rlimit limit{};
    getrlimit(resource, &limit);
    // A limit lower than asked for stays.
    if (limit.rlim_max != RLIM_INFINITY) hard = std::min(hard, limit.rlim_max);
    limit.rlim_cur = std::min(soft, hard);
    limit.rlim_max = hard;
    if (setrlimit(resource, &limit) != 0) Usage();
}

} // namespace

#ifdef VERDEL_ADDRESS_SANITIZER
const bool ChildMemoryLimited = false;
#else
const bool ChildMemoryLimited = true;
#endif

std::string ImportHelperPath()
{
    std::vector<char> self(4096);
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) throw std::runtime_error(std::string("cannot find the running program: ") + std::strerror(errno));
    const std::string program(self.data(), static_cast<size_t>(length));
    return program.substr(0, program.rfind('/') + 1) + "verdel-import";
}

TChildRun RunImportChild(const std::string& Program, const std::string& File, const TImportLimits& Limits,
                         const TCancelToken& Cancel)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot start the importer: ") + std::strerror(errno));
    TFd replyIn(ends[0]), replyOut(ends[1]);
    const std::vector<std::string> arguments = {Program,
                                                "--cpu",
                                                std::to_string(Limits.CpuSeconds),
                                                "--memory",
                                                std::to_string(Limits.MemoryBytes),
                                                "--reply",
                                                std::to_string(Limits.ReplyBytes),
                                                "--parent",
                                                std::to_string(getpid()),
                                                "--",
                                                File};
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    {
        TSpawnSettings settings(replyOut.Fd);
        const int error = posix_spawn(&child, Program.c_str(), &settings.Actions, &settings.Attributes, argv.data(),
                                      environ);
        if (error != 0) throw std::runtime_error("cannot start the importer " + Program + ": " + std::strerror(error));
    }
    replyOut.Close();
    const TClock::time_point deadline = TClock::now() + std::chrono::seconds(Limits.WallSeconds);
    TChildRun run;
    const std::optional<TChildEnd> stopped = ReadReply(replyIn.Fd, run.Reply, Limits, Cancel, deadline);
    run.End = Reap(child, stopped, Limits, Cancel, deadline);
    if (run.End != TChildEnd::Replied) run.Reply.clear();
    return run;
}

std::string StartImportChild(int argc, char** argv, TImportLimits& Limits)
{
    const auto number = [&](int at, const char* name) {
        if (at + 1 >= argc || std::strcmp(argv[at], name) != 0) Usage();
        char* end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(argv[at + 1], &end, 10);
        if (errno != 0 || *end != '\0' || end == argv[at + 1]) Usage();
        return value;
    };
    Limits.CpuSeconds = static_cast<int>(number(1, "--cpu"));
    Limits.MemoryBytes = number(3, "--memory");
    Limits.ReplyBytes = number(5, "--reply");
    const auto parent = static_cast<pid_t>(number(7, "--parent"));
    if (argc != 11 || std::strcmp(argv[9], "--") != 0) Usage();
    struct stat reply;
    if (fstat(ReplyFd, &reply) != 0 || !S_ISFIFO(reply.st_mode)) Usage();
    // The child ends with its parent, even when the parent is killed.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(2);
    // SIGXCPU at the limit, SIGKILL a second later.
    Limit(RLIMIT_CPU, static_cast<rlim_t>(Limits.CpuSeconds), static_cast<rlim_t>(Limits.CpuSeconds) + 1);
    if (ChildMemoryLimited) Limit(RLIMIT_AS, Limits.MemoryBytes, Limits.MemoryBytes);
    // However deep the library recurses, the stack ends at the same depth.
    Limit(RLIMIT_STACK, 8 << 20, 8 << 20);
    Limit(RLIMIT_CORE, 0, 0);
    Limit(RLIMIT_FSIZE, 0, 0);
    std::set_new_handler([] { _exit(ChildOutOfMemory); });
    return argv[10];
}

} // namespace verdel
