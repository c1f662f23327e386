#pragma once

#include "app/win32_handles.h"

#include <windows.h>

// The functions of advapi32.dll the program needs, taken from the DLL when
// first asked for. Most runs never look at the registry or at a file's
// permissions, and importing the DLL at start-up costs about a tenth of a
// program start.
struct CAdvapi32
{
    decltype(&RegCreateKeyExA) pCreateKeyEx = nullptr;
    decltype(&RegQueryValueExW) pQueryValueEx = nullptr;
    decltype(&RegCloseKey) pCloseKey = nullptr;
    decltype(&GetFileSecurityA) pGetFileSecurity = nullptr;
    decltype(&SetFileSecurityA) pSetFileSecurity = nullptr;

    // A function that cannot be had (nor the DLL) is null; pCreateKeyEx is
    // null unless all three registry functions are there.
    static const CAdvapi32& Get();
};

// An open registry key, closed on every road out.
struct CKeyTraits
{
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CAdvapi32::Get().pCloseKey(h); }
};

using CUniqueHkey = CUniqueResource<CKeyTraits>;
