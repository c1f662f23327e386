#include "sourcesafe/advapi32.h"

namespace
{
// Through a plain function pointer type, which converts to any other without a warning.
template <typename T>
void Take(HMODULE hModule, const char* szName, T& pFunction)
{
    pFunction = reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, szName)));
}

CAdvapi32 Load()
{
    CAdvapi32 api;
    // Stays loaded for the rest of the run, like an imported DLL.
    const HMODULE hModule = LoadLibraryA("advapi32.dll");
    if (hModule == nullptr)
        return api;
    Take(hModule, "RegCreateKeyExA", api.pCreateKeyEx);
    Take(hModule, "RegQueryValueExW", api.pQueryValueEx);
    Take(hModule, "RegCloseKey", api.pCloseKey);
    // The registry is used only with all three.
    if (api.pQueryValueEx == nullptr || api.pCloseKey == nullptr)
        api.pCreateKeyEx = nullptr;
    Take(hModule, "GetFileSecurityA", api.pGetFileSecurity);
    Take(hModule, "SetFileSecurityA", api.pSetFileSecurity);
    return api;
}
}

const CAdvapi32& CAdvapi32::Get()
{
    static const CAdvapi32 api = Load();
    return api;
}
