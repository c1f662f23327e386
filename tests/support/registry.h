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
    CTestDatabase(const std::string& strName, const std::string& strData);
    CTestDatabase(const CTestDatabase&) = delete;
    CTestDatabase& operator=(const CTestDatabase&) = delete;
    ~CTestDatabase();

private:
    std::string m_strName;
};
}
