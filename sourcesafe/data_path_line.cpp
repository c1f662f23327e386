#include "sourcesafe/data_path_line.h"

#include "sourcesafe/ini_text.h"

#include <algorithm>

namespace
{
const char kKey[] = "data_path";
const std::size_t kKeyLength = sizeof(kKey) - 1;

// Position of the first "=" of a data_path line (lower-cased), or npos when the line is none.
std::size_t FindValueEquals(const std::string& strLower, const CCodePage& codePage)
{
    const std::size_t nKey = codePage.Find(strLower, kKey);
    if (nKey == std::string::npos)
        return std::string::npos;
    const std::size_t nSemicolon = codePage.Find(strLower, ";");
    if (nSemicolon != std::string::npos && nSemicolon < nKey)
        return std::string::npos;
    const std::size_t nEquals = codePage.Find(strLower, "=");
    if (nEquals == std::string::npos || nEquals < nKey + kKeyLength)
        return std::string::npos;
    return nEquals;
}
}

bool IsDataPathLine(const std::string& strLine, const CCodePage& codePage)
{
    return FindValueEquals(codePage.Lower(strLine), codePage) != std::string::npos;
}

std::string GetDataPathValue(const std::string& strLine, const CCodePage& codePage)
{
    const std::string strLower = codePage.Lower(strLine);
    const std::size_t nEquals = FindValueEquals(strLower, codePage);
    if (nEquals == std::string::npos)
        return std::string();
    // The "=" is a character of its own, so the value starts at a character too.
    std::string strValue = strLower.substr(nEquals + 1);
    const std::size_t nComment = codePage.Find(strValue, ";");
    if (nComment != std::string::npos)
        strValue.resize(nComment);
    return codePage.TrimBlanks(strValue);
}

std::string RebuildDataPathLine(const std::string& strLine, const std::string& strPath, const CCodePage& codePage)
{
    const std::string strLower = codePage.Lower(strLine);
    const std::size_t nEquals = FindValueEquals(strLower, codePage);
    if (nEquals == std::string::npos)
        return strLine;
    const std::size_t nComment = codePage.Find(strLower, ";", nEquals);
    const std::string strTail = nComment == std::string::npos ? std::string() : strLower.substr(nComment);
    return strLower.substr(0, nEquals + 1) + " " + strPath + " " + strTail;
}

bool CanHoldDataPath(const std::string& strPath, const CCodePage& codePage)
{
    if (strPath.empty())
        return true;
    for (const char* szStop : {";", "\r", "\n"})
        if (codePage.Find(strPath, szStop) != std::string::npos)
            return false;
    // Half a character at the end would take the blank after it in.
    if (codePage.EndsInLoneLeadByte(strPath))
        return false;
    return codePage.TrimBlanks(strPath).size() == strPath.size();
}

bool IsIncludeLine(const std::string& strLine, const CCodePage& codePage)
{
    static const char kInclude[] = "#include";
    const std::size_t nLength = sizeof(kInclude) - 1;
    // Blanks and tabs are characters of their own, so the word begins at a
    // character, and ends where the first of them after it stands.
    const std::size_t nStart = strLine.find_first_not_of(" \t");
    if (nStart == std::string::npos || strLine.find_first_of(" \t", nStart) != nStart + nLength)
        return false;
    return codePage.Lower(strLine.substr(nStart, nLength)) == kInclude;
}

bool FindDataPathValue(const std::vector<std::string>& lines, std::string& strValue, const CCodePage& codePage)
{
    for (const std::string& strLine : lines)
    {
        if (IsDataPathLine(strLine, codePage))
        {
            strValue = GetDataPathValue(strLine, codePage);
            return true;
        }
    }
    return false;
}

bool ReplaceDataPath(std::vector<std::string>& lines, const std::string& strPath, const CCodePage& codePage)
{
    for (std::string& strLine : lines)
    {
        if (IsDataPathLine(strLine, codePage))
        {
            strLine = RebuildDataPathLine(strLine, strPath, codePage);
            return true;
        }
    }
    return false;
}

bool ReadDataPath(const std::string& strIniText, std::string& strValue, const CCodePage& codePage)
{
    return FindDataPathValue(SplitIniLines(strIniText), strValue, codePage);
}

bool HoldsIncludeLine(const std::string& strIniText, const CCodePage& codePage)
{
    const std::vector<std::string> lines = SplitIniLines(strIniText);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& strLine) { return IsIncludeLine(strLine, codePage); });
}

std::string RewriteDataPath(const std::string& strIniText, const std::string& strPath, const CCodePage& codePage)
{
    std::vector<std::string> lines = SplitIniLines(strIniText);
    ReplaceDataPath(lines, strPath, codePage);
    return JoinIniLines(lines);
}
