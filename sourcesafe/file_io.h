#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Whole-file access for srcsafe.ini and the files kept beside it, every call
// through the file-system table (file_system.h). Bytes go in and out exactly
// as stored: no text-mode translation, no stop at 0x1A or NUL. Each operation
// returns ERROR_SUCCESS or the system's error code for what went wrong.

// All of the file's bytes; a read that fails part way is a failure, never a
// shorter text.
DWORD ReadWholeFile(const std::string& strPath, std::string& strBytes);

// Replaces an existing file's contents so that no reader ever finds it
// missing or half written: the new bytes go to a temporary file in the same
// folder, which is flushed, given the old file's attributes and permissions,
// and renamed over the file in one step (retried for about a second while
// another program has the file open). A read-only file is left alone
// (ERROR_FILE_READ_ONLY), and so is a file whose folder takes no new file. On
// failure the file keeps its contents and no temporary file is left.
DWORD RewriteFile(const std::string& strPath, const std::string& strBytes);

// Creates or replaces a small file so that it is either whole or absent, even
// after a crash: written, flushed to disk, then renamed into place.
DWORD WriteFileDurably(const std::string& strPath, const std::string& strBytes);

// ERROR_SUCCESS when the file is there; ERROR_FILE_NOT_FOUND when it is not
// (its folder missing included, or a name too long to exist); any other code
// when that cannot be told.
DWORD ProbeFile(const std::string& strPath);

DWORD RemoveFile(const std::string& strPath);

// Temporary files of a rewrite are named "<file>.tarn<process>-<n>.tmp" after
// srcsafe.ini or a file beside it. The full paths of those found beside
// strIniPath: after a run has ended, such a file is one that a killed run left.
std::vector<std::string> FindTempFiles(const std::string& strIniPath);

inline bool IsMissingFileError(DWORD nError)
{
    return nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND;
}

// A name beside srcsafe.ini that the system refuses as too long: in a deep
// folder, srcsafe.ini's own path fits and the longer names of the files kept
// beside it do not, so no such file can be there.
inline bool IsNameTooLongError(DWORD nError)
{
    return nError == ERROR_FILENAME_EXCED_RANGE || nError == ERROR_BUFFER_OVERFLOW;
}
