#include "tests/support/registry.h"

#include <windows.h>

namespace tarntest
{
const char kDatabasesKey[] = "Software\\Microsoft\\Sourcesafe\\Databases";

CTestDatabase::CTestDatabase(const std::string& strName, const std::string& strData) : m_strName(strName)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(hKey, strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                   static_cast<DWORD>(strData.size() + 1));
    RegCloseKey(hKey);
}

CTestDatabase::~CTestDatabase()
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(hKey, m_strName.c_str());
    RegCloseKey(hKey);
}
}
