#include "configtrials.h"

#include "childprocess.h"
#include "configmanager.h"
#include "libcfaults.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

using libcfaults::Call;
using libcfaults::Fault;

namespace {

using Bytes = std::optional<std::string>; // nullopt: no such file

struct ConfigFiles {
    std::string folder;
    std::string live;
    std::string copy;

    explicit ConfigFiles(const std::string& dir)
        : folder(dir), live(dir + "/lorvane.cfg"), copy(live + kLastGoodSuffix)
    {
    }
};

// Every byte depends on the id, so a record cut anywhere differs from both the old and
// the new one.
ConfigRecord makeRecord(uint64_t id)
{
    ConfigRecord r;
    std::memset(&r, 0, sizeof r);
    r.m_bOnlyChildSites = int32_t(id & 1);
    r.m_bExitNeedPassword = int32_t((id >> 1) & 1);
    r.m_bLoginBeforeManage = int32_t((id >> 2) & 1);
    r.m_bLimitTime = int32_t((id >> 3) & 1);
    r.m_nLimitMinutes = int32_t(id % 100000);
    r.m_bPasswordSet = 1;
    std::snprintf(r.m_szPassword, sizeof r.m_szPassword, "%016llx%016llx",
                  static_cast<unsigned long long>(id * 0x9E3779B97F4A7C15ull),
                  static_cast<unsigned long long>(~id * 0xC2B2AE3D27D4EB4Full));
    r.m_nReserved = int32_t(id);
    r.m_bUseOwnHomePage = 1;
    const std::string mark = "/" + std::to_string(id);
    std::string page = "http://127.0.0.1/home";
    while (page.size() + mark.size() < sizeof r.m_szHomePage - 1)
        page += mark;
    std::memcpy(r.m_szHomePage, page.data(), page.size());
    return r;
}

std::string bytesOf(const ConfigRecord& record)
{
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool isRecord(const Bytes& bytes)
{
    return bytes && bytes->size() == sizeof(ConfigRecord);
}

bool saveQuietly(const ConfigFiles& files, uint64_t id)
{
    CConfigManager manager;
    manager.SetConfigPathName(files.live.c_str());
    manager.m_record = makeRecord(id);
    libcfaults::begin({false, false, true});
    const bool saved = manager.SaveConfigToFile();
    libcfaults::end();
    return saved;
}

// Temporary files a save left beside the two of ours; removed so they do not pile up.
int sweepLitter(const ConfigFiles& files)
{
    int litter = 0;
    const QDir dir(QString::fromStdString(files.folder));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const std::string path = files.folder + "/" + name.toStdString();
        if (path == files.live || path == files.copy)
            continue;
        ++litter;
        std::remove(path.c_str());
    }
    return litter;
}

const char* stateName(const Bytes& now, const Bytes& before, const std::string& fresh)
{
    if (!now)
        return before ? "gone" : "still missing";
    if (*now == fresh)
        return "new";
    if (before && *now == *before)
        return "old";
    return now->size() == fresh.size() ? "a mix of records" : "cut short";
}

bool wholeAndExpected(const Bytes& now, const Bytes& before, const std::string& fresh)
{
    if (!now)
        return !before;
    return *now == fresh || (before && *now == *before);
}

// The load must give what the files hold: the live record when it is whole, else the
// copy's, else nothing.
std::string checkLoad(const ConfigFiles& files, const Bytes& live, const Bytes& copy)
{
    CConfigManager manager;
    manager.SetConfigPathName(files.live.c_str());
    const bool loaded = manager.LoadConfigFromFile();
    const Bytes& expected = isRecord(live) ? live : isRecord(copy) ? copy : Bytes();
    if (!expected)
        return loaded ? "a record loaded from no whole file" : std::string();
    if (!loaded)
        return "no record loaded although a whole file is there";
    if (bytesOf(manager.m_record) != *expected)
        return "the loaded record is not the one on disk";
    return std::string();
}

struct Scenario {
    bool noTmpfile = false;
    bool filesExist = true;
    Fault fault;
    std::string step; // the call the fault hits, as the clean save made it
};

std::string modeName(const Scenario& s)
{
    return std::string(s.noTmpfile ? "named temporary file" : "unnamed temporary file")
           + (s.filesExist ? ", replacing" : ", first save");
}

// The failures worth trying on each kind of call: what a full disk, an I/O error or a
// refused permission does there.
std::vector<Fault> faultsFor(Call call, int nth)
{
    auto f = [&](int error, bool sticky = false, bool shortWrite = false) {
        return Fault{call, nth, error, shortWrite, sticky};
    };
    switch (call) {
    case Call::Open:
        return {f(ENOSPC), f(EMFILE)};
    case Call::Write:
        return {f(ENOSPC), f(EIO), f(0, false, true), f(ENOSPC, true, true)};
    case Call::Fdatasync:
        return {f(EIO), f(EIO, true)};
    case Call::Fchmod:
        return {f(EPERM)};
    case Call::Linkat:
        return {f(ENOSPC), f(EIO), f(ENOSPC, true)};
    case Call::Rename:
    case Call::Renameat:
    case Call::Renameat2:
    case Call::Link:
        return {f(EIO), f(ENOSPC)};
    default:
        return {f(EIO)};
    }
}

// Puts the folder in the state the scenario starts from; false when that fails.
bool prepare(const ConfigFiles& files, bool filesExist, uint64_t setupId)
{
    if (!filesExist) {
        std::remove(files.live.c_str());
        std::remove(files.copy.c_str());
        return !readBytes(files.live) && !readBytes(files.copy);
    }
    // Whatever whole records the last trial left are kept: a copy lagging behind the
    // live file is a state worth starting from.
    if (isRecord(readBytes(files.live)) && isRecord(readBytes(files.copy)))
        return true;
    return saveQuietly(files, setupId);
}

void printEvents(const Scenario& mode)
{
    std::printf("calls of one save (%s):\n", modeName(mode).c_str());
    for (const auto& e : libcfaults::events())
        std::printf("  %-9s %-70s = %d\n", libcfaults::callName(e.call), e.detail.c_str(), e.result);
}

// One clean save per mode tells which calls a save makes; every one of them is then
// failed in every way that fits it.
std::vector<Scenario> planScenarios(const ConfigFiles& files, bool trace, Tally& tally)
{
    std::vector<Scenario> plan;
    uint64_t setupId = 1;
    for (const bool noTmpfile : {false, true}) {
        for (const bool filesExist : {true, false}) {
            Scenario mode{noTmpfile, filesExist, Fault(), std::string()};
            if (!prepare(files, filesExist, setupId++)) {
                tally.unjudged("cannot prepare the folder for " + modeName(mode));
                continue;
            }
            CConfigManager manager;
            manager.SetConfigPathName(files.live.c_str());
            manager.m_record = makeRecord(setupId++);
            libcfaults::begin({noTmpfile, true, true});
            const bool saved = manager.SaveConfigToFile();
            libcfaults::end();
            if (trace)
                printEvents(mode);
            if (!saved) {
                tally.unjudged("a save without faults failed: " + modeName(mode));
                continue;
            }
            int seen[libcfaults::kCallKinds] = {};
            for (const auto& e : libcfaults::events()) {
                if (!e.counted)
                    continue;
                const int nth = ++seen[static_cast<int>(e.call)];
                for (const Fault& fault : faultsFor(e.call, nth)) {
                    plan.push_back(Scenario{noTmpfile, filesExist, fault,
                                            std::string(libcfaults::callName(e.call)) + " " + e.detail});
                }
            }
        }
    }
    return plan;
}

void judgeInjected(const ConfigFiles& files, const Scenario& s, bool saved, const Bytes& liveBefore,
                   const Bytes& copyBefore, const std::string& fresh, Tally& tally)
{
    const Bytes live = readBytes(files.live);
    const Bytes copy = readBytes(files.copy);
    const std::string where = libcfaults::describe(s.fault) + " at " + s.step + " (" + modeName(s) + ")";
    const std::string states = std::string("; file ") + stateName(live, liveBefore, fresh) + ", copy "
                               + stateName(copy, copyBefore, fresh) + ", save said " + (saved ? "true" : "false");

    if (!wholeAndExpected(live, liveBefore, fresh))
        tally.finding("configuration file torn or lost", where + states);
    if (!wholeAndExpected(copy, copyBefore, fresh))
        tally.finding("last good copy torn or lost", where + states);
    const bool replaced = live && *live == fresh;
    if (saved && !replaced)
        tally.finding("failed save reported as success", where + states);
    if (!saved && replaced)
        tally.finding("completed save reported as failure", where + states);
    // A record put in place before it reached the disk may come back empty or cut
    // after a power loss, even though it reads back whole now.
    if (replaced && libcfaults::placement(files.live) != libcfaults::Placement::Synced)
        tally.finding("new record put in place without a successful sync", where + states);
    if (copy && *copy == fresh && libcfaults::placement(files.copy) != libcfaults::Placement::Synced)
        tally.finding("new last good copy put in place without a successful sync", where + states);
    const std::string load = checkLoad(files, live, copy);
    if (!load.empty())
        tally.finding(load, where + states);
}

} // namespace

void runInjectedConfigTrials(const ConfigTrialOptions& options, std::mt19937_64& rng, Tally& tally)
{
    const ConfigFiles files(options.folder);
    const std::vector<Scenario> plan = planScenarios(files, options.trace, tally);
    std::printf("config injected scenarios: %zu\n", plan.size());
    if (plan.empty()) {
        tally.unjudged("no calls to fail");
        return;
    }
    std::vector<size_t> order(plan.size());
    uint64_t id = 1000;
    for (int done = 0; done < options.injected;) {
        // Every pass runs each scenario once, in an order of the seed's choosing, so
        // each starts from states the others left.
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        for (size_t k = 0; k < order.size() && done < options.injected; ++k, ++done) {
            const Scenario& s = plan[order[k]];
            tally.startTrial();
            if (!prepare(files, s.filesExist, ++id)) {
                tally.unjudged("cannot prepare the folder");
                continue;
            }
            const Bytes liveBefore = readBytes(files.live);
            const Bytes copyBefore = readBytes(files.copy);
            const ConfigRecord record = makeRecord(++id);

            CConfigManager manager;
            manager.SetConfigPathName(files.live.c_str());
            manager.m_record = record;
            libcfaults::begin({s.noTmpfile, false, true});
            libcfaults::arm(s.fault);
            const bool saved = manager.SaveConfigToFile();
            const int fired = libcfaults::fired();
            libcfaults::end();

            if (fired == 0)
                tally.unjudged("armed fault never hit: " + libcfaults::describe(s.fault) + " (" + modeName(s) + ")");
            else
                judgeInjected(files, s, saved, liveBefore, copyBefore, bytesOf(record), tally);
            if (sweepLitter(files) > 0)
                tally.note("temporary files left behind");
        }
    }
}

namespace {

enum ReportTag : uint32_t { kSaving = 1, kSaved = 2 };

// The child saves record after record until it is killed, saying which one it is about
// to save and, once the save returned, how it went.
int saveForever(const ConfigFiles& files, bool noTmpfile, uint64_t firstId, int reports)
{
    libcfaults::begin({noTmpfile, false, false});
    CConfigManager manager;
    manager.SetConfigPathName(files.live.c_str());
    for (uint64_t id = firstId;; ++id) {
        manager.m_record = makeRecord(id);
        sendReport(reports, Report{kSaving, 0, id, 0});
        const bool saved = manager.SaveConfigToFile();
        sendReport(reports, Report{kSaved, saved ? 1u : 0u, id, 0});
    }
}

std::chrono::microseconds killDelay(std::mt19937_64& rng)
{
    // Counted from the child's start and spread evenly over the orders of magnitude
    // from 10 us to 30 ms (a save takes a few ms, most of it syncing): every step of
    // the first save and of the next few is hit.
    std::uniform_real_distribution<double> exponent(std::log(10.0), std::log(30000.0));
    return std::chrono::microseconds(static_cast<long>(std::exp(exponent(rng))));
}

} // namespace

void runKilledConfigTrials(const ConfigTrialOptions& options, std::mt19937_64& rng, Tally& tally)
{
    const ConfigFiles files(options.folder);
    int midSave = 0;
    for (int t = 0; t < options.kills; ++t) {
        tally.startTrial();
        const bool noTmpfile = t % 2 == 1;
        if (!prepare(files, true, 900000000ull + uint64_t(t))) {
            tally.unjudged("cannot prepare the folder");
            continue;
        }
        const Bytes liveBefore = readBytes(files.live);
        const Bytes copyBefore = readBytes(files.copy);
        const uint64_t firstId = (uint64_t(t) + 1) << 32;

        Child child = startChild([&](int reports) { return saveForever(files, noTmpfile, firstId, reports); });
        bool unusable = false;
        const std::vector<Report> reports = killChild(child, killDelay(rng), &unusable);
        if (unusable) {
            tally.unjudged("the saving child was not killed or its reports are unreadable");
            continue;
        }

        std::optional<uint64_t> lastSaved;
        std::optional<uint64_t> saving;
        bool failedSave = false;
        for (const Report& r : reports) {
            if (r.tag == kSaving)
                saving = r.id;
            if (r.tag == kSaved) {
                saving.reset();
                lastSaved = r.id;
                failedSave = failedSave || !r.ok;
            }
        }
        if (failedSave) {
            tally.unjudged("a save without faults failed in the child");
            continue;
        }
        if (saving)
            ++midSave;

        const Bytes live = readBytes(files.live);
        const Bytes copy = readBytes(files.copy);
        const std::string savingBytes = saving ? bytesOf(makeRecord(*saving)) : std::string();
        auto expected = [&](const Bytes& now, const Bytes& before) {
            const Bytes settled = lastSaved ? Bytes(bytesOf(makeRecord(*lastSaved))) : before;
            return now && ((settled && *now == *settled) || (saving && *now == savingBytes));
        };
        const std::string where = std::string("killed after ") + std::to_string(reports.size()) + " reports ("
                                  + (noTmpfile ? "named" : "unnamed") + " temporary file)";
        if (!expected(live, liveBefore))
            tally.finding("configuration file torn or lost by a kill", where);
        if (!expected(copy, copyBefore))
            tally.finding("last good copy torn or lost by a kill", where);
        const std::string load = checkLoad(files, live, copy);
        if (!load.empty())
            tally.finding(load + " after a kill", where);
        if (sweepLitter(files) > 0)
            tally.note("temporary files left behind by a kill");
    }
    std::printf("config kills in the middle of a save: %d of %d\n", midSave, options.kills);
    if (options.kills > 0 && midSave == 0)
        tally.unjudged("no kill landed in the middle of a save");
}
