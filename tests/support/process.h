#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tarntest
{
// Environment changes for a child: a name mapped to its value; variables
// beginning with STANDIN_ are never inherited from the test itself.
using CEnvironment = std::map<std::string, std::string>;

struct CRunResult
{
    std::string strOut;
    std::string strErr;
    DWORD nExitCode = 0;
};

// Quotes one argument so that the C runtime hands it over unchanged.
std::string QuoteArgument(const std::string& strArg);

// A child process whose standard output and error are captured.
class CChild
{
public:
    // Arguments are quoted one by one; strRawArgs, when given, is used as the whole tail instead.
    CChild(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env = {},
           const std::string& strCurrentDir = "", const std::string* pRawArgs = nullptr,
           DWORD nCreationFlags = 0);
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;
    ~CChild();

    bool Started() const { return m_hProcess != nullptr; }
    // Reads standard output until it holds strText; false after nTimeout milliseconds.
    bool WaitForOutput(const std::string& strText, DWORD nTimeout);
    // True when the process has ended within nTimeout milliseconds.
    bool Ended(DWORD nTimeout) const;
    CRunResult Wait();

private:
    std::string m_strOutSoFar;
    HANDLE m_hProcess = nullptr;
    HANDLE m_hOut = nullptr;
    HANDLE m_hErr = nullptr;
};

CRunResult RunProgram(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env = {},
               const std::string& strCurrentDir = "");

// Console text as a text-mode stream stores it: every LF preceded by CR.
std::string Crlf(const std::string& strText);
}
