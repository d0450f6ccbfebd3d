#pragma once

class CppSQLiteDB;

namespace ManagerData {

// Opens the database at DataBasePath() for a read over much of the history. Every read
// opens the file afresh with an empty cache; reading it through a memory map instead of
// a system call per page makes counting it and seeking far into it several times faster.
void OpenForLongRead(CppSQLiteDB& db);

} // namespace ManagerData
