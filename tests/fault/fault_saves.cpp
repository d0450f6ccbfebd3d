// Saves the configuration and writes the browsing history while they fail at every
// step (full disk, I/O errors, failed syncs and renames) or are killed in the middle,
// and checks that nothing is ever torn or lost:
//   fault_saves [--config-trials N] [--db-trials N] [--seed S] [--trace] [--verbose]
// The last four lines it prints are the counts; it exits 0 only when no trial tore a
// file or lost a row and every trial could be judged.
#include "configtrials.h"
#include "dbtrials.h"
#include "tally.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Options {
    int configTrials = 1000;
    int dbTrials = 200;
    uint64_t seed = 0;
    bool seedGiven = false;
    bool trace = false;
    bool verbose = false;
};

bool parseCount(const char* text, long long minimum, long long* out)
{
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value < minimum)
        return false;
    *out = value;
    return true;
}

bool parseOptions(int argc, char** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long long value = 0;
        const bool hasValue = i + 1 < argc;
        if (arg == "--trace") {
            options->trace = true;
        } else if (arg == "--verbose") {
            options->verbose = true;
        } else if (arg == "--config-trials" && hasValue && parseCount(argv[++i], 1, &value) && value <= 10000000) {
            options->configTrials = int(value);
        } else if (arg == "--db-trials" && hasValue && parseCount(argv[++i], 0, &value) && value <= 1000000) {
            options->dbTrials = int(value);
        } else if (arg == "--seed" && hasValue && parseCount(argv[++i], 0, &value)) {
            options->seed = uint64_t(value);
            options->seedGiven = true;
        } else {
            std::fprintf(stderr,
                         "fault_saves: cannot use \"%s\" here\n"
                         "usage: fault_saves [--config-trials N>=1] [--db-trials N>=0] [--seed S] [--trace] "
                         "[--verbose]\n",
                         argv[i]);
            return false;
        }
    }
    return true;
}

bool g_verbose = false;
int g_warnings = 0;

// Every injected failure makes the configuration store log a warning; thousands of them would
// bury the counts, so they are only counted unless asked for.
void countMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg)
        ++g_warnings;
    if (g_verbose || type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s: %s\n", context.category ? context.category : "qt", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, &options))
        return 2;
    if (!options.seedGiven)
        options.seed = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    g_verbose = options.verbose;
    qInstallMessageHandler(countMessages);
    std::printf("seed: %llu (repeat with --seed %llu)\n", static_cast<unsigned long long>(options.seed),
                static_cast<unsigned long long>(options.seed));

    QTemporaryDir configDir;
    QTemporaryDir dbDir;
    if (!configDir.isValid() || !dbDir.isValid()) {
        std::fprintf(stderr, "fault_saves: no temporary folder: %s\n", qPrintable(configDir.errorString()));
        return 2;
    }

    const auto started = std::chrono::steady_clock::now();
    std::mt19937_64 rng(options.seed);
    ConfigTrialOptions config;
    config.folder = configDir.path().toStdString();
    // One trial in five kills a saving child; the rest fail one call of a save.
    config.kills = options.configTrials / 5;
    config.injected = options.configTrials - config.kills;
    config.trace = options.trace;

    Tally configTally;
    runInjectedConfigTrials(config, rng, configTally);
    runKilledConfigTrials(config, rng, configTally);
    configTally.print("config");

    Tally dbTally;
    const int lostRows = runDbTrials(DbTrialOptions{dbDir.path().toStdString(), options.dbTrials}, rng, dbTally);
    dbTally.print("db");

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("warnings logged: %d\n", g_warnings);
    std::printf("run time: %.1f s\n", seconds);
    std::printf("config_trials: %d\n", configTally.trials());
    std::printf("config_torn: %d\n", configTally.badTrials());
    std::printf("db_trials: %d\n", dbTally.trials());
    std::printf("db_lost_rows: %d\n", lostRows);
    std::fflush(stdout);

    const bool judged = configTally.unjudgedTrials() == 0 && dbTally.unjudgedTrials() == 0;
    if (!judged)
        std::fprintf(stderr, "fault_saves: some trials could not be judged (see above)\n");
    return configTally.badTrials() == 0 && dbTally.badTrials() == 0 && lostRows == 0 && judged ? 0 : 1;
}
