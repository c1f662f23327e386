#include "sourcesafe/registry_api.h"

namespace
{
// Through a plain function pointer type, which converts to any other without a warning.
template <typename T>
void Take(HMODULE hModule, const char* szName, T& pFunction)
{
    pFunction = reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, szName)));
}

CRegistryApi Load()
{
    CRegistryApi api;
    // Stays loaded for the rest of the run, like an imported DLL.
    const HMODULE hModule = LoadLibraryA("advapi32.dll");
    if (hModule == nullptr)
        return api;
    Take(hModule, "RegCreateKeyExA", api.pCreateKeyEx);
    Take(hModule, "RegQueryValueExA", api.pQueryValueEx);
    Take(hModule, "RegCloseKey", api.pCloseKey);
    return api;
}
}

const CRegistryApi* CRegistryApi::Get()
{
    static const CRegistryApi api = Load();
    return api.pCreateKeyEx && api.pQueryValueEx && api.pCloseKey ? &api : nullptr;
}
