#pragma once

#include "app/win32_handles.h"

#include <windows.h>

// The three registry functions the database lookup needs, taken from
// advapi32.dll when first asked for. Most runs never look at the registry, and
// importing the DLL at start-up costs about a tenth of a program start.
struct CRegistryApi
{
    decltype(&RegCreateKeyExA) pCreateKeyEx = nullptr;
    decltype(&RegQueryValueExA) pQueryValueEx = nullptr;
    decltype(&RegCloseKey) pCloseKey = nullptr;

    // Null when the DLL or one of the functions cannot be had.
    static const CRegistryApi* Get();
};

// An open registry key, closed on every road out.
struct CKeyTraits
{
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CRegistryApi::Get()->pCloseKey(h); }
};

using CUniqueHkey = CUniqueResource<CKeyTraits>;
