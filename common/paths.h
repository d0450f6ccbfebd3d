#pragma once

#include "lorvanecommon_export.h"

#include <QString>

// Folders and files of the installation and of the user's own data. Every function
// returns a usable path and creates the folder it names when it is missing.
//
// Shipped, read-only files (skins, Common/, data/html/, pictures) live in the folder
// of the running program; the files the programs write (configuration, database,
// snapshots) live in the user's XDG folders, shared by both programs.

// The program's folder, without a trailing separator.
LORVANECOMMON_EXPORT QString GetExeDirectory();
// Full path of the configuration file.
LORVANECOMMON_EXPORT QString GetConfigerPathName();
// Full path of the database file.
LORVANECOMMON_EXPORT QString GetDataBasePathName();
// Folder of the programs' pictures, without a trailing separator.
LORVANECOMMON_EXPORT QString GetPictureDirectory();
// Folder of the site snapshots, with a trailing separator.
LORVANECOMMON_EXPORT QString GetWebSnapShootDirectory();
// Folder where the browser puts the pages it prints when no printer is there, without
// a trailing separator.
LORVANECOMMON_EXPORT QString GetPrintDirectory();
// Folder of the browser's own HTML pages, with a trailing separator.
LORVANECOMMON_EXPORT QString GetHtmlModleDirectory();
// The per-user folder for files the child picks when the installation is read-only,
// without a trailing separator.
LORVANECOMMON_EXPORT QString GetUserConfigDirectory();
// A new GUID as text ("xxxxxxxx-xxxx-..."), unique per call.
LORVANECOMMON_EXPORT QString GetGuid();
// Linux has no short names: the path itself.
LORVANECOMMON_EXPORT QString GetShortPathNameA(const QString& path);

// Tests and tools point the installation folder elsewhere; an empty text restores
// the folder of the running program.
LORVANECOMMON_EXPORT void SetExeDirectoryOverride(const QString& directory);
