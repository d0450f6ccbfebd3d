#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include <sys/types.h>

// What a child tells its parent. Each report is written whole in one call, far below
// the pipe's atomic size, so a kill never leaves half of one.
struct Report {
    uint32_t tag = 0;
    uint32_t ok = 0;
    uint64_t id = 0;
    int64_t rowId = 0;
};

void sendReport(int fd, const Report& report);

struct Child {
    pid_t pid = -1;
    int reports = -1; // the parent's end of the pipe
};

// Forks a child that reports that it runs, runs body(write end of the pipe) and
// leaves with _exit, so no destructor of the parent's objects (its temporary folder)
// runs in it.
Child startChild(const std::function<int(int)>& body);

// Waits until the child runs, then `delay`, kills the child with SIGKILL, reaps it and returns everything it
// reported. `unusable` tells that it was gone before the kill or left a report that
// cannot be read: such a trial proves nothing.
std::vector<Report> killChild(Child& child, std::chrono::microseconds delay, bool* unusable);
