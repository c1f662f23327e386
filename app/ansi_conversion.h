#pragma once

#include <string>

// Between the UTF-16 text the system holds (command line, environment,
// registry, full paths) and the ANSI code page the program works in.

// The text in the ANSI code page, exactly: false when a character has no
// place in it. Such a character becomes "?", never a look-alike of another
// letter (Windows' best fit turns "Ω" into "O"), so that nothing lost can pass
// for a name that exists.
bool ToAnsiExactly(const std::wstring& strWide, std::string& strAnsi);

// ANSI text as UTF-16; every character of the code page has its place there.
std::wstring ToWide(const std::string& strAnsi);

// The number of the ANSI code page (1252, 932, ...), for messages.
unsigned AnsiCodePageNumber();

// An environment variable's value, as the system keeps it; false when there is no such variable.
bool LookUpEnvironmentWide(const std::wstring& strName, std::wstring& strValue);

// The full path of a name, resolved against the current folder as the system
// does it, at any length; the name itself when the system cannot resolve it.
std::wstring FullPathWide(const std::wstring& strName);
