#include "sourcesafe/data_path_line.h"

#include "app/ascii.h"
#include "sourcesafe/ini_text.h"

namespace
{
const char kKey[] = "data_path";
const std::size_t kKeyLength = sizeof(kKey) - 1;

bool IsGraphic(char c)
{
    return c >= 0x21 && c <= 0x7E;
}

// Position of the first "=" of a data_path line (lower-cased), or npos when the line is none.
std::size_t FindValueEquals(const std::string& strLower)
{
    const std::size_t nKey = strLower.find(kKey);
    if (nKey == std::string::npos)
        return std::string::npos;
    const std::size_t nSemicolon = strLower.find(';');
    if (nSemicolon != std::string::npos && nSemicolon < nKey)
        return std::string::npos;
    const std::size_t nEquals = strLower.find('=');
    if (nEquals == std::string::npos || nEquals < nKey + kKeyLength)
        return std::string::npos;
    return nEquals;
}
}

bool IsDataPathLine(const std::string& strLine)
{
    return FindValueEquals(LowerAsciiCopy(strLine)) != std::string::npos;
}

std::string GetDataPathValue(const std::string& strLine)
{
    const std::string strLower = LowerAsciiCopy(strLine);
    const std::size_t nEquals = FindValueEquals(strLower);
    if (nEquals == std::string::npos)
        return std::string();
    std::string strValue = strLower.substr(nEquals + 1);
    const std::size_t nComment = strValue.find(';');
    if (nComment != std::string::npos)
        strValue.resize(nComment);
    std::size_t nFirst = 0;
    while (nFirst < strValue.size() && !IsGraphic(strValue[nFirst]))
        ++nFirst;
    std::size_t nEnd = strValue.size();
    while (nEnd > nFirst && !IsGraphic(strValue[nEnd - 1]))
        --nEnd;
    return strValue.substr(nFirst, nEnd - nFirst);
}

std::string RebuildDataPathLine(const std::string& strLine, const std::string& strPath)
{
    const std::string strLower = LowerAsciiCopy(strLine);
    const std::size_t nEquals = FindValueEquals(strLower);
    if (nEquals == std::string::npos)
        return strLine;
    const std::size_t nComment = strLower.find(';', nEquals);
    const std::string strTail = nComment == std::string::npos ? std::string() : strLower.substr(nComment);
    return strLower.substr(0, nEquals + 1) + " " + strPath + " " + strTail;
}

bool CanHoldDataPath(const std::string& strPath)
{
    if (strPath.find_first_of(";\r\n") != std::string::npos)
        return false;
    return strPath.empty() || (IsGraphic(strPath.front()) && IsGraphic(strPath.back()));
}

bool FindDataPathValue(const std::vector<std::string>& lines, std::string& strValue)
{
    for (const std::string& strLine : lines)
    {
        if (IsDataPathLine(strLine))
        {
            strValue = GetDataPathValue(strLine);
            return true;
        }
    }
    return false;
}

bool ReplaceDataPath(std::vector<std::string>& lines, const std::string& strPath)
{
    for (std::string& strLine : lines)
    {
        if (IsDataPathLine(strLine))
        {
            strLine = RebuildDataPathLine(strLine, strPath);
            return true;
        }
    }
    return false;
}

bool ReadDataPath(const std::string& strIniText, std::string& strValue)
{
    return FindDataPathValue(SplitIniLines(strIniText), strValue);
}

std::string RewriteDataPath(const std::string& strIniText, const std::string& strPath)
{
    std::vector<std::string> lines = SplitIniLines(strIniText);
    ReplaceDataPath(lines, strPath);
    return JoinIniLines(lines);
}
