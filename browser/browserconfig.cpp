#include "browserconfig.h"

#include "configmanager.h"

namespace {
bool g_restricted = false;
}

CConfigManager& BrowserConfig()
{
    static CConfigManager config;
    return config;
}

bool BrowserRestricted()
{
    return g_restricted;
}

void SetBrowserRestricted(bool restricted)
{
    g_restricted = restricted;
}
