#include "browserconfig.h"

#include "configmanager.h"

CConfigManager& BrowserConfig()
{
    static CConfigManager config;
    return config;
}
