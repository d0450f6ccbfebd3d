#pragma once

#include <map>
#include <string>

// What a series of trials found: each kind of finding with its count and its first
// example, so that a report says what went wrong and where without a flood of lines.
class Tally
{
public:
    void startTrial() { ++m_trials; m_trialHasFinding = false; }
    void finding(const std::string& kind, const std::string& example);
    void unjudged(const std::string& why);
    void note(const std::string& kind) { ++m_notes[kind]; }

    int trials() const { return m_trials; }
    int badTrials() const { return m_badTrials; }
    int unjudgedTrials() const { return m_unjudged; }
    // Every finding, note and unjudged trial, one line each.
    void print(const char* title) const;

private:
    struct Kind {
        int count = 0;
        std::string example;
    };
    int m_trials = 0;
    int m_badTrials = 0;
    int m_unjudged = 0;
    bool m_trialHasFinding = false;
    std::map<std::string, Kind> m_findings;
    std::map<std::string, Kind> m_unjudgedWhy;
    std::map<std::string, int> m_notes;
};
