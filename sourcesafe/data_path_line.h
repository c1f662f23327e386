#pragma once

#include "app/code_page.h"

#include <string>
#include <vector>

// The rules for srcsafe.ini's data_path line. They look at characters of the
// code page, so that the second byte of a double-byte character is never
// taken for a letter, "=" or ";", and never lower-cased.

// A data_path line, looked at in lower case: it holds "data_path" with no ";"
// before it, and its first "=" stands after the key, so that a comment or
// another setting whose value merely mentions data_path is never taken.
bool IsDataPathLine(const std::string& strLine, const CCodePage& codePage = AnsiCodePage());

// The value of a data_path line: lower-cased, after the first "=", cut at the
// next ";", with blanks and control characters trimmed from both ends.
std::string GetDataPathValue(const std::string& strLine, const CCodePage& codePage = AnsiCodePage());

// The line rebuilt for strPath: the lower-cased head up to the "=", a blank,
// the path as given, a blank, and the lower-cased comment from the next ";".
std::string RebuildDataPathLine(const std::string& strLine, const std::string& strPath,
                                const CCodePage& codePage = AnsiCodePage());

// True when a data_path line rebuilt for strPath reads back as strPath (in
// lower case): the path holds no ";", CR or LF, neither begins nor ends with
// a blank or a control character, and does not end in half a character. The
// empty path qualifies.
bool CanHoldDataPath(const std::string& strPath, const CCodePage& codePage = AnsiCodePage());

// The value of the first data_path line; false when there is none.
bool FindDataPathValue(const std::vector<std::string>& lines, std::string& strValue,
                       const CCodePage& codePage = AnsiCodePage());

// Rebuilds the first data_path line for strPath; false when there is none.
bool ReplaceDataPath(std::vector<std::string>& lines, const std::string& strPath,
                     const CCodePage& codePage = AnsiCodePage());

// A line that makes SourceSafe read another srcsafe.ini (a network client's
// points at the server's): after blanks and tabs, "#include" in any letter
// case, then a blank or a tab. SS.EXE then takes data_path from that file, so
// a rewrite of this one's data_path line may change nothing.
bool IsIncludeLine(const std::string& strLine, const CCodePage& codePage = AnsiCodePage());

// The same two on a whole srcsafe.ini text, split into lines and joined again
// (see ini_text.h): the value of the first data_path line, and the text with
// that line rebuilt for strPath.
bool ReadDataPath(const std::string& strIniText, std::string& strValue, const CCodePage& codePage = AnsiCodePage());
bool HoldsIncludeLine(const std::string& strIniText, const CCodePage& codePage = AnsiCodePage());
std::string RewriteDataPath(const std::string& strIniText, const std::string& strPath,
                            const CCodePage& codePage = AnsiCodePage());
