#pragma once

#include "configrecord.h"
#include "lorvaneconfig_export.h"

#include <stdexcept>

// Raised by LoadConfigFromFile and SaveConfigToFile when no path was set; what()
// is the message text (UTF-8).
class LORVANECONFIG_EXPORT CConfigPathException : public std::runtime_error
{
public:
    CConfigPathException();
};

LORVANECONFIG_EXPORT extern const char kConfigNoPathMessage[];
// The home page the defaults give the browser.
LORVANECONFIG_EXPORT extern const char kDefaultHomePage[];

// Holds the shared settings and keeps them in the configuration file. The programs
// read and write the members of m_record directly and call the class only to name
// the file, to load it and to save it.
class LORVANECONFIG_EXPORT CConfigManager
{
public:
    CConfigManager();
    virtual ~CConfigManager();

    ConfigRecord m_record;
    char m_szConfigPathName[260];

    // Stores the path without leading and trailing spaces (tabs stay). A path of
    // blanks only, or one longer than 259 bytes, leaves the path empty; the result
    // is 0 when a path was stored, -1 otherwise.
    int SetConfigPathName(const char* path);
    // The installer defaults; the password members stay as they are.
    void SetDefaultConfig();
    // Reads the whole record. When the file is missing, of another size than a record
    // or unreadable, the members get the installer defaults with no password set and
    // the result is false; a record is never half filled.
    bool LoadConfigFromFile();
    // Writes the whole record to a new file beside the old one and renames it over
    // the old only when it is complete, so a failed save (full disk, no permission)
    // returns false and leaves the old file exactly as it was.
    bool SaveConfigToFile();

private:
    void requirePath() const;
};
