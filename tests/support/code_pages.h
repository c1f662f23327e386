#pragma once

#include "app/code_page.h"

#include <string>

namespace tarntest
{
// The double-byte code pages of East Asian Windows, the locale that makes
// Wine run a program in each (tests/CMakeLists.txt), and characters whose second byte is that of
// "\" (none in 949) or of a capital letter, written in UTF-8.
struct CEastAsianCodePage
{
    unsigned nCodePage;
    const char* szLocale;
    const char* szBackslashChars;
    const char* szLetterChars;
};
extern const CEastAsianCodePage kEastAsianCodePages[4];

// The code page as the program walks it, from the system's own table.
CCodePage CodePageOf(unsigned nCodePage);

// UTF-8 text in the bytes of a code page ("?" for what it lacks).
std::string InCodePage(unsigned nCodePage, const std::string& strUtf8);
}
