#include "app/tarn_app.h"
#include "tests/support/registry.h"

#include <gtest/gtest.h>

#include <windows.h>

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

TEST(DatabaseRegistry, TextEndsAtTheFirstNul)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kDatabasesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &hKey, nullptr));
    const char data[] = "C:\\A\0C:\\B";
    RegSetValueExA(hKey, "TarnTest.Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data));
    // Binary data without any NUL: the text is every byte the query returned.
    RegSetValueExA(hKey, "TarnTest.Binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>("C:\\BIN"), 6);
    EXPECT_EQ("c:\\a\\data", Lookup("TarnTest.Multi"));
    EXPECT_EQ("c:\\bin\\data", Lookup("TarnTest.Binary"));
    RegDeleteValueA(hKey, "TarnTest.Multi");
    RegDeleteValueA(hKey, "TarnTest.Binary");
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
