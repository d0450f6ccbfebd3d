#include "libcfaults.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Visible in the dynamic symbol table despite the hidden default, so that the shared
// libraries' calls bind here.
#define LORVANE_INTERPOSE extern "C" __attribute__((visibility("default")))

namespace libcfaults {
namespace {

struct FdInfo {
    std::string path; // empty for an unnamed file
    bool synced = false;
};

struct Session {
    bool active = false;
    SessionOptions options;
    bool armed = false;
    Fault fault;
    int counts[kCallKinds] = {};
    int fired = 0;
    std::map<int, FdInfo> fds;
    std::map<std::string, bool> contents; // path -> synced
    std::vector<Event> events;
};

Session g;

enum class Verdict { Pass, Fail, Short };

// Counts the call and says what it does; `error` gets the errno of a failing one.
Verdict decide(Call call, int* error)
{
    if (!g.active)
        return Verdict::Pass;
    const int n = ++g.counts[static_cast<int>(call)];
    if (!g.armed || g.fault.call != call || n < g.fault.nth || (n > g.fault.nth && !g.fault.sticky))
        return Verdict::Pass;
    ++g.fired;
    if (n == g.fault.nth && g.fault.shortWrite)
        return Verdict::Short;
    *error = g.fault.error;
    return Verdict::Fail;
}

void record(Call call, std::string detail, int result, bool counted = true)
{
    if (g.active && g.options.recordEvents)
        g.events.push_back(Event{call, std::move(detail), result, counted});
}

int fail(int error)
{
    errno = error;
    return -1;
}

void markFd(int fd, bool synced)
{
    const auto it = g.fds.find(fd);
    if (it == g.fds.end())
        return;
    it->second.synced = synced;
    if (!it->second.path.empty())
        g.contents[it->second.path] = synced;
}

void placed(const std::string& path, bool known, bool synced)
{
    if (known)
        g.contents[path] = synced;
    else
        g.contents.erase(path);
}

bool isUnnamed(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE;
}

// "/proc/self/fd/N" names an open descriptor; linkat gives its file a name.
int procFd(const char* path)
{
    static const char prefix[] = "/proc/self/fd/";
    if (std::strncmp(path, prefix, sizeof prefix - 1) != 0)
        return -1;
    return std::atoi(path + sizeof prefix - 1);
}

template <typename F>
F realCall(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "fault_saves: no C library function %s\n", name);
        std::abort();
    }
    return reinterpret_cast<F>(symbol);
}

#define REAL(name) static const auto real = realCall<decltype(&::name)>(#name)

int sync(int (*real)(int), int fd)
{
    return g.active && g.options.skipDiskSync ? 0 : real(fd);
}

int openCommon(int (*real)(const char*, int, ...), const char* path, int flags, mode_t mode)
{
    if (g.active && g.options.noTmpfile && isUnnamed(flags)) {
        record(Call::Open, std::string("unnamed in ") + path + " (refused)", -1, false);
        return fail(EOPNOTSUPP);
    }
    int error = 0;
    const int fd = decide(Call::Open, &error) == Verdict::Fail ? fail(error) : real(path, flags, mode);
    if (g.active && fd >= 0)
        g.fds[fd] = FdInfo{isUnnamed(flags) || (flags & O_DIRECTORY) ? std::string() : std::string(path), false};
    if (g.active && fd >= 0 && (flags & O_CREAT))
        g.contents[path] = false;
    record(Call::Open, std::string(isUnnamed(flags) ? "unnamed in " : "") + path, fd);
    return fd;
}

mode_t modeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) || isUnnamed(flags) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

} // namespace

const char* callName(Call call)
{
    static const char* const names[kCallKinds] = {"open",    "write",    "fdatasync", "fsync",  "fchmod",
                                                  "linkat",  "link",     "rename",    "renameat", "renameat2",
                                                  "unlink",  "close",    "fflush"};
    return names[static_cast<int>(call)];
}

std::string describe(const Fault& fault)
{
    std::string text = std::string(callName(fault.call)) + " #" + std::to_string(fault.nth) + ": ";
    if (fault.shortWrite)
        text += "short write";
    if (fault.shortWrite && fault.sticky)
        text += ", then ";
    if (!fault.shortWrite || fault.sticky)
        text += std::strerror(fault.error);
    if (fault.sticky)
        text += " (from then on)";
    return text;
}

void begin(const SessionOptions& options)
{
    g = Session();
    g.options = options;
    g.active = true;
}

void arm(const Fault& fault)
{
    g.fault = fault;
    g.armed = true;
}

void end()
{
    g.active = false;
    g.armed = false;
}

int calls(Call call)
{
    return g.counts[static_cast<int>(call)];
}

int fired()
{
    return g.fired;
}

const std::vector<Event>& events()
{
    return g.events;
}

Placement placement(const std::string& path)
{
    const auto it = g.contents.find(path);
    if (it == g.contents.end())
        return Placement::Unknown;
    return it->second ? Placement::Synced : Placement::Unsynced;
}

} // namespace libcfaults

using namespace libcfaults;

LORVANE_INTERPOSE int open(const char* path, int flags, ...)
{
    REAL(open);
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openCommon(real, path, flags, mode);
}

LORVANE_INTERPOSE int open64(const char* path, int flags, ...)
{
    REAL(open64);
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openCommon(real, path, flags, mode);
}

LORVANE_INTERPOSE ssize_t write(int fd, const void* data, size_t size)
{
    REAL(write);
    int error = 0;
    ssize_t result;
    switch (decide(Call::Write, &error)) {
    case Verdict::Fail:
        result = fail(error);
        break;
    case Verdict::Short:
        result = real(fd, data, size > 1 ? size / 2 : size);
        break;
    default:
        result = real(fd, data, size);
    }
    if (g.active && result > 0)
        markFd(fd, false);
    record(Call::Write, "fd " + std::to_string(fd) + ", " + std::to_string(size) + " bytes", int(result));
    return result;
}

LORVANE_INTERPOSE int fdatasync(int fd)
{
    REAL(fdatasync);
    int error = 0;
    const int result = decide(Call::Fdatasync, &error) == Verdict::Fail ? fail(error) : sync(real, fd);
    if (g.active && result == 0)
        markFd(fd, true);
    record(Call::Fdatasync, "fd " + std::to_string(fd), result);
    return result;
}

LORVANE_INTERPOSE int fsync(int fd)
{
    REAL(fsync);
    int error = 0;
    const int result = decide(Call::Fsync, &error) == Verdict::Fail ? fail(error) : sync(real, fd);
    if (g.active && result == 0)
        markFd(fd, true);
    record(Call::Fsync, "fd " + std::to_string(fd), result);
    return result;
}

LORVANE_INTERPOSE int fchmod(int fd, mode_t mode) noexcept
{
    REAL(fchmod);
    int error = 0;
    const int result = decide(Call::Fchmod, &error) == Verdict::Fail ? fail(error) : real(fd, mode);
    record(Call::Fchmod, "fd " + std::to_string(fd), result);
    return result;
}

LORVANE_INTERPOSE int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept
{
    REAL(linkat);
    int error = 0;
    const int result =
        decide(Call::Linkat, &error) == Verdict::Fail ? fail(error) : real(fromDir, from, toDir, to, flags);
    if (g.active && result == 0) {
        const auto it = g.fds.find(procFd(from));
        placed(to, it != g.fds.end(), it != g.fds.end() && it->second.synced);
    }
    record(Call::Linkat, std::string(from) + " -> " + to, result);
    return result;
}

LORVANE_INTERPOSE int link(const char* from, const char* to) noexcept
{
    REAL(link);
    int error = 0;
    const int result = decide(Call::Link, &error) == Verdict::Fail ? fail(error) : real(from, to);
    if (g.active && result == 0)
        placed(to, g.contents.count(from), g.contents.count(from) && g.contents[from]);
    record(Call::Link, std::string(from) + " -> " + to, result);
    return result;
}

namespace {

void renamed(const char* from, const char* to)
{
    const auto it = g.contents.find(from);
    const bool known = it != g.contents.end();
    const bool synced = known && it->second;
    if (known)
        g.contents.erase(it);
    placed(to, known, synced);
}

} // namespace

LORVANE_INTERPOSE int rename(const char* from, const char* to) noexcept
{
    REAL(rename);
    int error = 0;
    const int result = decide(Call::Rename, &error) == Verdict::Fail ? fail(error) : real(from, to);
    if (g.active && result == 0)
        renamed(from, to);
    record(Call::Rename, std::string(from) + " -> " + to, result);
    return result;
}

LORVANE_INTERPOSE int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept
{
    REAL(renameat);
    int error = 0;
    const int result = decide(Call::Renameat, &error) == Verdict::Fail ? fail(error) : real(fromDir, from, toDir, to);
    if (g.active && result == 0)
        renamed(from, to);
    record(Call::Renameat, std::string(from) + " -> " + to, result);
    return result;
}

LORVANE_INTERPOSE int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) noexcept
{
    REAL(renameat2);
    int error = 0;
    const int result =
        decide(Call::Renameat2, &error) == Verdict::Fail ? fail(error) : real(fromDir, from, toDir, to, flags);
    if (g.active && result == 0)
        renamed(from, to);
    record(Call::Renameat2, std::string(from) + " -> " + to, result);
    return result;
}

LORVANE_INTERPOSE int unlink(const char* path) noexcept
{
    REAL(unlink);
    int error = 0;
    const int result = decide(Call::Unlink, &error) == Verdict::Fail ? fail(error) : real(path);
    if (g.active && result == 0)
        g.contents.erase(path);
    record(Call::Unlink, path, result);
    return result;
}

LORVANE_INTERPOSE int close(int fd)
{
    REAL(close);
    int error = 0;
    // Linux releases the descriptor even when close reports an error, so a failed
    // close is a real close that then says it failed.
    const Verdict verdict = decide(Call::Close, &error);
    int result = real(fd);
    if (verdict == Verdict::Fail && result == 0)
        result = fail(error);
    record(Call::Close, "fd " + std::to_string(fd), result);
    if (g.active)
        g.fds.erase(fd);
    return result;
}

LORVANE_INTERPOSE int fflush(FILE* stream)
{
    REAL(fflush);
    int error = 0;
    const int result = decide(Call::Fflush, &error) == Verdict::Fail ? fail(error) : real(stream);
    record(Call::Fflush, "stream", result);
    return result;
}
