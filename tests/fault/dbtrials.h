#pragma once

#include "tally.h"

#include <random>
#include <string>

// A child writes history rows into the browsing database until it is killed at a
// random moment; every row it was told is committed must still be there, in a
// database that passes SQLite's own integrity check. The database is kept from trial
// to trial, so it grows.
struct DbTrialOptions {
    std::string folder; // an empty temporary folder of the caller's
    int trials = 0;
};

// Returns the number of reported rows missing from the database.
int runDbTrials(const DbTrialOptions& options, std::mt19937_64& rng, Tally& tally);
