#pragma once

#include "app/code_page.h"

#include <string>

namespace tarntest
{
// A code page in which a character can take more than one byte, the locale
// that makes Wine run a program in it (tests/CMakeLists.txt), and characters
// written in UTF-8: in the double-byte code pages of East Asian Windows, ones
// whose second byte is that of "\" (none in 949) or of a capital letter, and
// ones whose lead byte is the last of its range.
struct CMultiByteCodePage
{
    unsigned nCodePage;
    const char* szLocale;
    const char* szBackslashChars;
    const char* szLetterChars;
    const char* szRangeEndChars;
};
extern const CMultiByteCodePage kEastAsianCodePages[4];
// UTF-8 as the ANSI code page. No byte of its characters after the first is
// below 0x80: the Japanese characters stand in for the first two kinds, and
// for the third, characters of 2, 3 and 4 bytes whose lead byte is the last
// of its length.
extern const CMultiByteCodePage kUtf8CodePage;

// The code page as the program walks it, from the system's own table.
CCodePage CodePageOf(unsigned nCodePage);

// UTF-8 text in the bytes of a code page ("?" for what it lacks).
std::string InCodePage(unsigned nCodePage, const std::string& strUtf8);
}
