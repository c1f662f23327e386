#pragma once

#include <string>

namespace tarntest
{
extern const char kDatabasesKey[];

// A database of the test's own under the current user's databases key: a value
// named strName holding strData, removed again when the test ends.
class CTestDatabase
{
public:
    // strName and strData are text of nCodePage (the test's own by default),
    // stored as the registry keeps text, in UTF-16.
    CTestDatabase(const std::string& strName, const std::string& strData, unsigned nCodePage = 0);
    CTestDatabase(const CTestDatabase&) = delete;
    CTestDatabase& operator=(const CTestDatabase&) = delete;
    ~CTestDatabase();

private:
    std::wstring m_strName;
};
}
