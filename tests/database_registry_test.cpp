#include "app/tarn_app.h"
#include "tests/support/registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

using tarntest::CTestDatabase;
using tarntest::kDatabasesKey;

namespace
{
std::string Lookup(const std::string& strName)
{
    CTarnApp app;
    app.m_strDatabase = strName;
    app.LookupDatabasePath();
    return app.m_strNewDatabasePath;
}

bool KeyExists(const std::string& strKey)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}
}

TEST(DatabaseRegistry, ValuesAreReadLowerCasedWithDataAppended)
{
    struct Case
    {
        const char* szName;
        std::string strData;
        std::string strExpected;
    };
    const Case cases[] = {
        {"TarnTest.Remote", "C:\\Shared\\VSS", "c:\\shared\\vss\\data"},
        {"TarnTest.Slash", "C:\\VSS\\", "c:\\vss\\\\data"},
        {"TarnTest.Empty", "", "\\data"},
        {"TarnTest.High", "C:\\\xC4RGER\\\xE9T\xC9", "c:\\\xC4rger\\\xE9t\xC9\\data"},
        {"TarnTest.Percent", "%DBROOT%\\VSS", "%dbroot%\\vss\\data"},
        {"TarnTest.Alphabet", "Z:\\ABCDEFGHIJKLMNOPQRSTUVWXYZ\\Zz", "z:\\abcdefghijklmnopqrstuvwxyz\\zz\\data"},
        {"TarnTest.Fits", std::string(259, 'A'), std::string(259, 'a') + "\\data"},
        {"TarnTest.TooLong", std::string(260, 'A'), ""},
    };
    for (const Case& c : cases)
    {
        CTestDatabase value(c.szName, c.strData);
        EXPECT_EQ(c.strExpected, Lookup(c.szName)) << c.szName;
    }
    EXPECT_EQ("", Lookup("TarnTest.NoSuchDatabase"));
}

// Each type of value as stored: text of every kind (also as a .reg file's
// hex(2): writes it) is read up to its first NUL and never expanded; other
// types keep their bytes.
TEST(DatabaseRegistry, ValueTypes)
{
    struct Case
    {
        const char* szName;
        DWORD nType;
        std::wstring strData; // for the text types
        std::string strBytes; // for the others
        const char* szExpected;
    };
    const Case cases[] = {
        {"TarnTest.Multi", REG_MULTI_SZ, std::wstring(L"C:\\A\0C:\\B\0", 10), "", "c:\\a\\data"},
        {"TarnTest.Expand", REG_EXPAND_SZ, L"%SystemRoot%\\VSS", "", "%systemroot%\\vss\\data"},
        // Binary data without any NUL: the text is every byte the query returned.
        {"TarnTest.Binary", REG_BINARY, L"", "C:\\BIN", "c:\\bin\\data"},
        // More bytes than a path takes: left alone.
        {"TarnTest.LongBinary", REG_BINARY, L"", std::string(300, 'B'), ""},
    };
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &hKey, nullptr));
    for (const Case& c : cases)
    {
        if (c.nType == REG_BINARY)
            RegSetValueExA(hKey, c.szName, 0, c.nType, reinterpret_cast<const BYTE*>(c.strBytes.data()),
                           static_cast<DWORD>(c.strBytes.size()));
        else
            RegSetValueExW(hKey, std::wstring(c.szName, c.szName + std::strlen(c.szName)).c_str(), 0, c.nType,
                           reinterpret_cast<const BYTE*>(c.strData.c_str()),
                           static_cast<DWORD>((c.strData.size() + 1) * sizeof(wchar_t)));
        EXPECT_EQ(c.szExpected, Lookup(c.szName)) << c.szName;
        RegDeleteValueA(hKey, c.szName);
    }
    RegCloseKey(hKey);
}

TEST(DatabaseRegistry, MissingKeyIsCreatedEmpty)
{
    const std::string strTop = "Software\\TarnTest.MissingKey";
    const std::string strKey = strTop + "\\Sourcesafe\\Databases";
    ASSERT_FALSE(KeyExists(strTop));
    CTarnApp app;
    std::string strResult = "untouched";
    app.QueryRegistryPath(strKey, "Remote", strResult);
    EXPECT_EQ("untouched", strResult);
    EXPECT_TRUE(KeyExists(strKey));
    RegDeleteKeyA(HKEY_CURRENT_USER, strKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, (strTop + "\\Sourcesafe").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, strTop.c_str());
    EXPECT_FALSE(KeyExists(strTop));
}

// A key that cannot be opened or made (here: a name longer than the registry
// allows) is a silent failure like any other.
TEST(DatabaseRegistry, KeyThatCannotBeMadeLeavesTheResultAlone)
{
    const std::string strKey = "Software\\TarnTest." + std::string(300, 'k');
    std::string strResult = "untouched";
    CTarnApp::QueryRegistryPath(strKey, "Remote", strResult);
    EXPECT_EQ("untouched", strResult);
    EXPECT_FALSE(KeyExists(strKey));
}
