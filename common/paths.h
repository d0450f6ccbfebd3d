#pragma once

#include "lorvanecommon_export.h"

#include <QString>

// Folders and files of the installation and of the user's own data. Every function
// returns a usable path and creates the folder it names when it is missing.
//
// Shipped, read-only files (skins, Common/, data/html/, pictures) live in the
// installation folder: beside the programs in a build tree, <prefix>/share/lorvane when
// installed; the files the programs write (configuration, database, snapshots) live in
// the user's XDG folders, shared by both programs.

// The installation folder of the shipped files, without a trailing separator: the
// folder of the running program, or the data folder installed beside it (see
// GetInstallationDirectoryFor).
LORVANECOMMON_EXPORT QString GetExeDirectory();
// The installation folder for programs in `programFolder`: that folder itself when the
// skin list is beside them (a build tree), else `programFolder`/../share/lorvane when it
// exists (an installed package), else `programFolder`. No trailing separator.
LORVANECOMMON_EXPORT QString GetInstallationDirectoryFor(const QString& programFolder);
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
