#pragma once

#include "tally.h"

#include <cstdint>
#include <random>
#include <string>

// Saves of the configuration record that fail at every step of the way (injected C
// library failures) or are killed in the middle, each followed by a check that the
// file and its last good copy hold a whole record, the old one or the new one.
struct ConfigTrialOptions {
    std::string folder; // an empty temporary folder of the caller's
    int injected = 0;
    int kills = 0;
    bool trace = false; // print the calls one save makes
};

void runInjectedConfigTrials(const ConfigTrialOptions& options, std::mt19937_64& rng, Tally& tally);
void runKilledConfigTrials(const ConfigTrialOptions& options, std::mt19937_64& rng, Tally& tally);
