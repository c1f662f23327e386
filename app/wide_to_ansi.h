#pragma once

#include <windows.h>

// Text goes into the ANSI code page through this one call. The program uses
// the system's WideCharToMultiByte; a test build puts its own in, which
// refuses the arguments Windows refuses and Wine takes.
using WideToAnsiFunction = decltype(&WideCharToMultiByte);

WideToAnsiFunction& WideToAnsiConverter();
