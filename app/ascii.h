#pragma once

#include <string>

// Lower-casing as the program uses it everywhere: only A to Z change, so bytes
// of the ANSI code page from 0x80 up pass through untouched.
inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerAsciiCopy(const std::string& strText)
{
    std::string strLower(strText);
    for (char& c : strLower)
        c = LowerAscii(c);
    return strLower;
}
