#include "tally.h"

#include <cstdio>

void Tally::finding(const std::string& kind, const std::string& example)
{
    Kind& k = m_findings[kind];
    if (k.count++ == 0)
        k.example = example;
    if (!m_trialHasFinding)
        ++m_badTrials;
    m_trialHasFinding = true;
}

void Tally::unjudged(const std::string& why)
{
    ++m_unjudged;
    ++m_unjudgedWhy[why].count;
}

void Tally::print(const char* title) const
{
    for (const auto& [kind, k] : m_findings)
        std::printf("%s finding: %s: %d (first: %s)\n", title, kind.c_str(), k.count, k.example.c_str());
    for (const auto& [why, k] : m_unjudgedWhy)
        std::printf("%s unjudged: %s: %d\n", title, why.c_str(), k.count);
    for (const auto& [kind, count] : m_notes)
        std::printf("%s: %s: %d\n", title, kind.c_str(), count);
}
