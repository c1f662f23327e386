#pragma once

#include <string>
#include <vector>

// A data_path line, looked at in lower case: it holds "data_path" with no ";"
// before it, and its first "=" stands after the key, so that a comment or
// another setting whose value merely mentions data_path is never taken.
bool IsDataPathLine(const std::string& strLine);

// The value of a data_path line: lower-cased, after the first "=", cut at the
// next ";", with non-graphic bytes trimmed from both ends.
std::string GetDataPathValue(const std::string& strLine);

// The line rebuilt for strPath: the lower-cased head up to the "=", a blank,
// the path as given, a blank, and the lower-cased comment from the next ";".
std::string RebuildDataPathLine(const std::string& strLine, const std::string& strPath);

// True when a data_path line rebuilt for strPath reads back as strPath (in
// lower case): the path holds no ";", CR or LF, and neither begins nor ends
// with a blank or another non-graphic byte. The empty path qualifies.
bool CanHoldDataPath(const std::string& strPath);

// The value of the first data_path line; false when there is none.
bool FindDataPathValue(const std::vector<std::string>& lines, std::string& strValue);

// Rebuilds the first data_path line for strPath; false when there is none.
bool ReplaceDataPath(std::vector<std::string>& lines, const std::string& strPath);

// The same two on a whole srcsafe.ini text, split into lines and joined again
// (see ini_text.h): the value of the first data_path line, and the text with
// that line rebuilt for strPath.
bool ReadDataPath(const std::string& strIniText, std::string& strValue);
std::string RewriteDataPath(const std::string& strIniText, const std::string& strPath);
