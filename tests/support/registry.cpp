#include "tests/support/registry.h"

#include <windows.h>

namespace tarntest
{
const char kDatabasesKey[] = "Software\\Microsoft\\Sourcesafe\\Databases";

namespace
{
std::wstring Widen(const std::string& strText, unsigned nCodePage)
{
    std::wstring strWide(strText.size(), L'\0');
    const int nWide = MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()),
                                          &strWide[0], static_cast<int>(strWide.size()));
    strWide.resize(static_cast<std::size_t>(nWide > 0 ? nWide : 0));
    return strWide;
}
}

CTestDatabase::CTestDatabase(const std::string& strName, const std::string& strData, unsigned nCodePage)
    : m_strName(Widen(strName, nCodePage))
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    const std::wstring strWide = Widen(strData, nCodePage);
    RegSetValueExW(hKey, m_strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strWide.c_str()),
                   static_cast<DWORD>((strWide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
}

CTestDatabase::~CTestDatabase()
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(hKey, m_strName.c_str());
    RegCloseKey(hKey);
}
}
