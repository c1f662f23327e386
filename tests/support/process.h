#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tarntest
{
// Environment changes for a child: a name mapped to its value; variables
// beginning with STANDIN_, and SSDIR, are never inherited from the test itself.
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
    // The command line is handed over in UTF-16, read from nCodePage (the
    // test's own by default; CP_UTF8 for characters outside it).
    CChild(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env = {},
           const std::string& strCurrentDir = "", const std::string* pRawArgs = nullptr, DWORD nCreationFlags = 0,
           UINT nCodePage = CP_ACP);
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;
    ~CChild();

    bool Started() const { return m_hProcess != nullptr; }
    DWORD ProcessId() const { return m_hProcess ? GetProcessId(m_hProcess) : 0; }
    // Reads standard output until it holds strText; false after nTimeout milliseconds.
    bool WaitForOutput(const std::string& strText, DWORD nTimeout);
    // True when the process has ended within nTimeout milliseconds.
    bool Ended(DWORD nTimeout) const;
    // Ends the process hard, as the task manager would.
    void Terminate() const;
    CRunResult Wait();

private:
    std::string m_strOutSoFar;
    HANDLE m_hProcess = nullptr;
    HANDLE m_hOut = nullptr;
    HANDLE m_hErr = nullptr;
};

CRunResult RunProgram(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env = {},
                      const std::string& strCurrentDir = "", UINT nCodePage = CP_ACP);

// As RunProgram, but a program still running after nTimeout milliseconds is
// ended and bTimedOut set, so that a hang fails a test instead of stopping it.
CRunResult RunProgramWithin(DWORD nTimeout, bool& bTimedOut, const std::string& strExe,
                            const std::vector<std::string>& args, const CEnvironment& env = {});

// Console text as a text-mode stream stores it: every LF preceded by CR.
std::string Crlf(const std::string& strText);

// The system's own text for an error code, as FormatMessage gives it (with its line end).
std::string SystemText(DWORD nError);
// The same without its line end, as the program prints it inside its own messages.
std::string SystemTextLine(DWORD nError);
}
