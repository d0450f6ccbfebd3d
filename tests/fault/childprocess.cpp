#include "childprocess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The first report of every child; the kill delay counts from it, not from the fork.
constexpr uint32_t kChildRunning = 0xC0FFEEu;

} // namespace

void sendReport(int fd, const Report& report)
{
    const ssize_t written = ::write(fd, &report, sizeof report);
    if (written != static_cast<ssize_t>(sizeof report))
        _exit(4); // the parent is gone or the pipe broke: nothing left to report to
}

Child startChild(const std::function<int(int)>& body)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        std::perror("fault_saves: pipe");
        std::exit(2);
    }
    // Room for every report a child makes before it is killed, so it never blocks on
    // a full pipe instead of working.
    ::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("fault_saves: fork");
        std::exit(2);
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::close(ends[0]);
        sendReport(ends[1], Report{kChildRunning, 0, 0, 0});
        _exit(body(ends[1]));
    }
    ::close(ends[1]);
    return Child{pid, ends[0]};
}

std::vector<Report> killChild(Child& child, std::chrono::microseconds delay, bool* unusable)
{
    Report first;
    const bool running = ::read(child.reports, &first, sizeof first) == static_cast<ssize_t>(sizeof first)
                         && first.tag == kChildRunning;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(delay);
    timespec wait{static_cast<time_t>(seconds.count()),
                  static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(delay - seconds).count())};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
    ::kill(child.pid, SIGKILL);
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    *unusable = !running || !(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    if (*unusable)
        std::fprintf(stderr, "fault_saves: child %d ended by itself (status %d)\n", int(child.pid), status);

    std::vector<Report> reports;
    Report report;
    ssize_t got;
    while ((got = ::read(child.reports, &report, sizeof report)) == static_cast<ssize_t>(sizeof report))
        reports.push_back(report);
    if (got != 0)
        *unusable = true; // a torn report cannot come from a whole write
    ::close(child.reports);
    child = Child();
    return reports;
}
