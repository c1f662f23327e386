#pragma once

#include <string>

// Whole-file access for srcsafe.ini and the files kept beside it. Bytes go in
// and out exactly as stored: no text-mode translation, no stop at 0x1A or NUL.

// False when the file cannot be opened for reading.
bool ReadWholeFile(const std::string& strPath, std::string& strBytes);

// Replaces an existing file's contents so that no reader ever sees it half
// written: the new bytes go to a temporary file in the same folder, which then
// takes the file's place (keeping its attributes and permissions). A read-only
// file is left alone. Where no temporary file can be made in that folder, the
// file is overwritten in place. False when nothing was written.
bool RewriteFile(const std::string& strPath, const std::string& strBytes);

// Creates or replaces a small file so that it is either whole or absent, even
// after a crash: written, flushed to disk, then renamed into place.
bool WriteFileDurably(const std::string& strPath, const std::string& strBytes);

bool FileExists(const std::string& strPath);
