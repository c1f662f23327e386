// tarn.exe as a test build: the same program, with the file-system table
// replaced so that a test can fail any one call, end the process at any call,
// or fail any one allocation. Never shipped; the real tarn.exe has no way in.
// Its conversion into the ANSI code page refuses, as Windows does, flags and
// a lost-character flag that UTF-8 does not take; Wine 8 takes them.
//
// Its environment says what to do:
//   TARN_FAULT_MODE   fail, fail-twice or kill (see fault_file_system.h), oom:
//                     allocation k throws std::bad_alloc, or start-fail: the
//                     first k starts of SS.EXE fail
//   TARN_FAULT_AT     k, counted from 1 over the run's calls (or allocations)
//   TARN_FAULT_ERROR  with start-fail, the error the starts fail with
//                     (ERROR_INTERNAL_ERROR when not set)
//   TARN_FAULT_TRACE  file to which every file-system call is appended as it is
//                     made (with start-fail, every start of SS.EXE), and
//                     "allocations <n>" when the run ends

#include "app/entry.h"
#include "app/wide_to_ansi.h"
#include "launch/process_start.h"
#include "tests/fault/fault_file_system.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#ifdef __MINGW32__
extern "C" {
int _dowildcard = 0;
}
#endif

namespace
{
std::atomic<long> g_nAllocations(0);
std::atomic<long> g_nFailAllocation(0);
std::atomic<bool> g_bCounting(false);
int g_nStartsToFail = 0;
DWORD g_nStartError = ERROR_INTERNAL_ERROR;
std::string g_strTrace;

std::string Environment(const char* szName)
{
    const char* szValue = std::getenv(szName);
    return szValue ? szValue : "";
}

void AppendLine(const std::string& strPath, const std::string& strLine)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD nWritten = 0;
    WriteFile(hFile, strLine.data(), static_cast<DWORD>(strLine.size()), &nWritten, nullptr);
    CloseHandle(hFile);
}

BOOL WINAPI FailingCreateProcess(LPCSTR szApplication, LPSTR szCommandLine, LPSECURITY_ATTRIBUTES pProcess,
                                 LPSECURITY_ATTRIBUTES pThread, BOOL bInherit, DWORD nFlags, LPVOID pEnvironment,
                                 LPCSTR szDirectory, LPSTARTUPINFOA pStartup, LPPROCESS_INFORMATION pInformation)
{
    if (!g_strTrace.empty())
        AppendLine(g_strTrace, "start SS.EXE\r\n");
    if (g_nStartsToFail > 0)
    {
        --g_nStartsToFail;
        SetLastError(g_nStartError);
        return FALSE;
    }
    return CreateProcessA(szApplication, szCommandLine, pProcess, pThread, bInherit, nFlags, pEnvironment,
                          szDirectory, pStartup, pInformation);
}

// For UTF-8, Windows takes no flag but WC_ERR_INVALID_CHARS (ERROR_INVALID_FLAGS)
// and neither a default character nor a flag for its use (ERROR_INVALID_PARAMETER).
int WINAPI WindowsWideCharToMultiByte(UINT nCodePage, DWORD nFlags, LPCWCH pWide, int nWide, LPSTR pBytes,
                                      int nBytes, LPCCH pDefault, LPBOOL pUsedDefault)
{
    if ((nCodePage == CP_ACP ? GetACP() : nCodePage) == CP_UTF8)
    {
        if ((nFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0)
        {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (pDefault != nullptr || pUsedDefault != nullptr)
        {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    return WideCharToMultiByte(nCodePage, nFlags, pWide, nWide, pBytes, nBytes, pDefault, pUsedDefault);
}
}

void* operator new(std::size_t nSize)
{
    if (g_bCounting.load() && ++g_nAllocations == g_nFailAllocation.load())
        throw std::bad_alloc();
    if (void* p = std::malloc(nSize == 0 ? 1 : nSize))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

int main(int argc, char** argv)
{
    const std::string strMode = Environment("TARN_FAULT_MODE");
    const std::string strTrace = Environment("TARN_FAULT_TRACE");
    const int nAt = std::atoi(Environment("TARN_FAULT_AT").c_str());
    WideToAnsiConverter() = &WindowsWideCharToMultiByte;

    if (strMode == "oom")
        g_nFailAllocation = nAt;
    else if (strMode == "start-fail")
    {
        g_nStartsToFail = nAt;
        g_strTrace = strTrace;
        if (!Environment("TARN_FAULT_ERROR").empty())
            g_nStartError = static_cast<DWORD>(std::strtoul(Environment("TARN_FAULT_ERROR").c_str(), nullptr, 10));
        ProcessStarter() = &FailingCreateProcess;
    }
    else
        tarntest::InstallFaults({tarntest::ParseFault(strMode), nAt, strTrace});

    g_bCounting = true;
    const int nExitCode = RunTarn(argc, argv);
    g_bCounting = false;

    if (!strTrace.empty())
        AppendLine(strTrace, "allocations " + std::to_string(g_nAllocations.load()) + "\r\n");
    return nExitCode;
}
