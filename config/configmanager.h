#pragma once

#include "configrecord.h"
#include "lorvaneconfig_export.h"

#include <QLoggingCategory>

#include <stdexcept>

// Raised by LoadConfigFromFile and SaveConfigToFile when no path was set; what()
// is the message text (UTF-8).
class LORVANECONFIG_EXPORT CConfigPathException : public std::runtime_error
{
public:
    CConfigPathException();
};

// What the configuration store absorbs (a damaged file, a failed save) is logged here.
LORVANECONFIG_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcConfig)

LORVANECONFIG_EXPORT extern const char kConfigNoPathMessage[];
// Appended to the configuration file's name to name the copy of the last good record.
LORVANECONFIG_EXPORT extern const char kLastGoodSuffix[];
// The home page the defaults give the browser.
LORVANECONFIG_EXPORT extern const char kDefaultHomePage[];

// Where the record of the latest load came from.
enum class ConfigSource {
    File,         // the configuration file itself
    LastGoodCopy, // the file was missing or damaged; the copy of the last good save was read
    NoFile,       // neither file exists: a first run, installer defaults
    Damaged,      // nothing readable although something is there: installer defaults, no password
};

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
    // Reads the whole record; true when one was read. When the file is missing, of
    // another size than a record or unreadable, the copy of the last good save is read
    // instead. With neither, the members get the installer defaults with no password
    // set and the result is false; a record is never half filled. LoadedFrom() tells
    // which case it was.
    bool LoadConfigFromFile();
    // Writes the whole record to a new file beside the old one and renames it over
    // the old only when it is complete, so a failed save (full disk, no permission)
    // returns false and leaves the old file exactly as it was. After the file, the
    // same record is kept as the last good copy (the path plus kLastGoodSuffix); the
    // result does not depend on the copy.
    bool SaveConfigToFile();

    ConfigSource LoadedFrom() const { return m_loadedFrom; }

private:
    void requirePath() const;

    ConfigSource m_loadedFrom = ConfigSource::NoFile;
};
