#include "app/command_line_split.h"

namespace
{
bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// The program's path from nPos on: a quoted part keeps its blanks; backslashes are path separators only.
std::wstring ReadProgramPath(const std::wstring& strLine, std::size_t& nPos)
{
    std::wstring strProgram;
    bool bQuoted = false;
    for (; nPos < strLine.size() && (bQuoted || !IsBlank(strLine[nPos])); ++nPos)
    {
        if (strLine[nPos] == L'"')
            bQuoted = !bQuoted;
        else
            strProgram += strLine[nPos];
    }
    return strProgram;
}

// Backslashes from nPos on, and the quote after them if any, added to strArg;
// bQuoted follows the quotes that open or close a quoted part.
void ReadBackslashesAndQuote(const std::wstring& strLine, std::size_t& nPos, std::wstring& strArg, bool& bQuoted)
{
    std::size_t nBackslashes = 0;
    while (nPos < strLine.size() && strLine[nPos] == L'\\')
    {
        ++nBackslashes;
        ++nPos;
    }
    if (nPos >= strLine.size() || strLine[nPos] != L'"')
    {
        strArg.append(nBackslashes, L'\\');
        return;
    }
    strArg.append(nBackslashes / 2, L'\\');
    if (nBackslashes % 2 == 1)
        strArg += L'"';
    else if (bQuoted && nPos + 1 < strLine.size() && strLine[nPos + 1] == L'"')
        strArg += strLine[++nPos];
    else
        bQuoted = !bQuoted;
    ++nPos;
}

// One argument from nPos on, up to a blank outside quotes or the end.
std::wstring ReadArgument(const std::wstring& strLine, std::size_t& nPos)
{
    std::wstring strArg;
    bool bQuoted = false;
    while (nPos < strLine.size() && (bQuoted || !IsBlank(strLine[nPos])))
    {
        if (strLine[nPos] == L'\\' || strLine[nPos] == L'"')
            ReadBackslashesAndQuote(strLine, nPos, strArg, bQuoted);
        else
            strArg += strLine[nPos++];
    }
    return strArg;
}
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& strCommandLine)
{
    std::size_t nPos = 0;
    std::vector<std::wstring> args = {ReadProgramPath(strCommandLine, nPos)};
    for (;;)
    {
        while (nPos < strCommandLine.size() && IsBlank(strCommandLine[nPos]))
            ++nPos;
        if (nPos >= strCommandLine.size())
            return args;
        args.push_back(ReadArgument(strCommandLine, nPos));
    }
}
