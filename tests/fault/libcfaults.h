#pragma once

#include <string>
#include <vector>

// This program defines the C library's file calls itself. Every shared library's calls
// (Qt's and Lorvane's own) reach these definitions first; they forward to the real
// ones unless a fault is armed. Within a session they also count the calls and follow
// which file contents got synced and which got put in place under a name.
namespace libcfaults {

enum class Call { Open, Write, Fdatasync, Fsync, Fchmod, Linkat, Link, Rename, Renameat, Renameat2, Unlink, Close,
                  Fflush, Count };
constexpr int kCallKinds = static_cast<int>(Call::Count);
const char* callName(Call call);

// The nth call of a kind (counted from the start of the session) fails with `error`,
// or stores only half its bytes when `shortWrite`. With `sticky` every later call of
// the kind fails with `error` too, like a disk that stays full.
struct Fault {
    Call call = Call::Write;
    int nth = 1;
    int error = 0;
    bool shortWrite = false;
    bool sticky = false;
};
std::string describe(const Fault& fault);

struct Event {
    Call call;
    std::string detail;
    int result;
    bool counted = true; // false for a call the session refused before counting it
};

struct SessionOptions {
    // Every unnamed-file open fails with EOPNOTSUPP, as on a file system without them,
    // so the named temporary file path is taken instead.
    bool noTmpfile = false;
    bool recordEvents = false;
    // Syncs that are not failed succeed at once without reaching the disk. A process
    // that lives on cannot see what a power loss would keep, only what the code does
    // with each call's result, and real syncs make those trials many times slower.
    bool skipDiskSync = false;
};
void begin(const SessionOptions& options);
void arm(const Fault& fault);
void end();

int calls(Call call);
// How many calls the armed fault changed.
int fired();
const std::vector<Event>& events();

enum class Placement { Unknown, Synced, Unsynced };
// Whether the contents last put in place at `path` during the session were synced to
// disk before (and not written after); Unknown when nothing was put there.
Placement placement(const std::string& path);

} // namespace libcfaults
