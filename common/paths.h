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
//
// A family install (the machine-wide folder holds "family.ini") gives the child an
// account of its own: the parents' settings record, the recommended sites and the
// snapshots then live in the machine-wide folder, which the parents' group writes and
// the child only reads, and the child's history and favorites in a folder of the
// child's own below it. Every account finds the same files there; what each may change
// is up to the files' permissions.

// The installation folder of the shipped files, without a trailing separator: the
// folder of the running program, or the data folder installed beside it (see
// GetInstallationDirectoryFor).
LORVANECOMMON_EXPORT QString GetExeDirectory();
// The installation folder for programs in `programFolder`: that folder itself when the
// skin list is beside them (a build tree), else `programFolder`/../share/lorvane when it
// exists (an installed package), else `programFolder`. No trailing separator.
LORVANECOMMON_EXPORT QString GetInstallationDirectoryFor(const QString& programFolder);
// Full path of the configuration file (the machine-wide one in a family install).
LORVANECOMMON_EXPORT QString GetConfigerPathName();
// Full path of the database file (the child's own in a family install, for every
// account; empty when family.ini names no usable child).
LORVANECOMMON_EXPORT QString GetDataBasePathName();
// Folder of the programs' pictures, without a trailing separator.
LORVANECOMMON_EXPORT QString GetPictureDirectory();
// Folder of the site snapshots, with a trailing separator (the machine-wide one in a
// family install).
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

// The machine-wide folder of a family install when nothing points it elsewhere.
LORVANECOMMON_EXPORT extern const char kFamilyDirectory[];
// The file whose presence in the machine-wide folder turns the family install on.
LORVANECOMMON_EXPORT extern const char kFamilyFileName[];

// Where a family install keeps its files, as one account sees them.
struct FamilyLayout {
    bool on = false;         // the machine-wide folder holds "family.ini"
    bool isChild = false;    // the account is the child the file names
    QString child;           // the child's account name; empty when the file names none usable
    QString folder;          // the machine-wide folder looked at (also when off)
    QString configFile;      // the parents' settings record
    QString sitesDatabase;   // the recommended sites
    QString snapshotFolder;  // the snapshots of the recommended sites, without a trailing separator
    QString childFolder;     // the child's own folder; empty without a usable child name
    QString childDatabase;   // the child's history and favorites; empty without a usable child name
};

// Reads `folder`/family.ini ([family] child=<account>) as the account `userName` would.
// Without the file the layout is off and names nothing. A file that names no usable
// account name keeps the install on (the parents' settings still hold) but leaves the
// child's folder and database empty, so nothing is written in a wrong place. Only reads.
LORVANECOMMON_EXPORT FamilyLayout ReadFamilyLayout(const QString& folder, const QString& userName);
// Whether `name` can be an account name and a folder name: letters, digits, ".", "_",
// "-" (not first), at most 32 characters, neither "." nor "..".
LORVANECOMMON_EXPORT bool IsUsableAccountName(const QString& name);
// The layout for the account this process runs as, read once per process (and again
// after SetFamilyDirectoryOverride).
LORVANECOMMON_EXPORT FamilyLayout CurrentFamilyLayout();
LORVANECOMMON_EXPORT bool IsFamilyMode();
// The account this process runs as, from the system's user database (never from the
// environment, which the child sets).
LORVANECOMMON_EXPORT QString CurrentAccountName();
// The machine-wide folder of a family install (kFamilyDirectory unless overridden),
// without a trailing separator.
LORVANECOMMON_EXPORT QString GetFamilyDirectory();
// The recommended sites' own database file in a family install; empty otherwise.
LORVANECOMMON_EXPORT QString GetSitesDataBasePathName();
// True when `path` is a file directly in the machine-wide folder of a family install
// that is on: the files the parents' group writes and the child reads.
LORVANECOMMON_EXPORT bool IsFamilySharedFile(const QString& path);
// Tests point the machine-wide folder elsewhere; an empty text restores kFamilyDirectory.
// Only a linked program can call it: no environment variable or argument moves it.
LORVANECOMMON_EXPORT void SetFamilyDirectoryOverride(const QString& directory);
