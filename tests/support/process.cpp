#include "tests/support/process.h"

#include <cstring>
#include <thread>

namespace tarntest
{
namespace
{
std::string BuildEnvironmentBlock(const CEnvironment& env)
{
    std::string strBlock;
    char* pStrings = GetEnvironmentStringsA();
    for (const char* p = pStrings; *p; p += std::strlen(p) + 1)
    {
        const std::string strEntry = p;
        const std::string strName = strEntry.substr(0, strEntry.find('=', 1));
        // SSDIR would point SS.EXE, and so the stand-in, at another srcsafe.ini.
        if (strName.rfind("STANDIN_", 0) == 0 || _stricmp(strName.c_str(), "SSDIR") == 0 || env.count(strName))
            continue;
        strBlock += strEntry + '\0';
    }
    FreeEnvironmentStringsA(pStrings);
    for (const auto& entry : env)
        strBlock += entry.first + "=" + entry.second + '\0';
    strBlock += '\0';
    return strBlock;
}

std::wstring Widen(const std::string& strText, UINT nCodePage)
{
    if (strText.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()), &strWide[0], n);
    return strWide;
}

void ReadAll(HANDLE hPipe, std::string& strText)
{
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(hPipe, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        strText.append(buffer, nRead);
}
}

std::string QuoteArgument(const std::string& strArg)
{
    if (!strArg.empty() && strArg.find_first_of(" \t\"") == std::string::npos)
        return strArg;
    std::string strQuoted = "\"";
    std::size_t nBackslashes = 0;
    for (char c : strArg)
    {
        if (c == '\\')
        {
            ++nBackslashes;
            continue;
        }
        strQuoted.append(c == '"' ? nBackslashes * 2 + 1 : nBackslashes, '\\');
        nBackslashes = 0;
        strQuoted += c;
    }
    strQuoted.append(nBackslashes * 2, '\\');
    return strQuoted + "\"";
}

CChild::CChild(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env,
               const std::string& strCurrentDir, const std::string* pRawArgs, DWORD nCreationFlags, UINT nCodePage)
{
    std::string strCommandLine = QuoteArgument(strExe);
    if (pRawArgs)
        strCommandLine += *pRawArgs;
    else
        for (const std::string& strArg : args)
            strCommandLine += " " + QuoteArgument(strArg);

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE hOutWrite = nullptr;
    HANDLE hErrWrite = nullptr;
    CreatePipe(&m_hOut, &hOutWrite, &inherit, 0);
    CreatePipe(&m_hErr, &hErrWrite, &inherit, 0);
    SetHandleInformation(m_hOut, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_hErr, HANDLE_FLAG_INHERIT, 0);
    HANDLE hIn =
        CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = hIn;
    startup.hStdOutput = hOutWrite;
    startup.hStdError = hErrWrite;
    PROCESS_INFORMATION process = {};
    std::string strEnvironment = BuildEnvironmentBlock(env);
    // The wide call: it also starts programs from folders deeper than 260 characters.
    std::wstring strWideLine = Widen(strCommandLine, nCodePage);
    const std::wstring strWideDir = Widen(strCurrentDir, CP_ACP);
    // Wine now and then fails to start a program that was started a moment
    // before (ERROR_INTERNAL_ERROR); a second try succeeds.
    DWORD nError = ERROR_SUCCESS;
    for (int nAttempt = 0; nAttempt < 5 && m_hProcess == nullptr; ++nAttempt)
    {
        if (CreateProcessW(nullptr, &strWideLine[0], nullptr, nullptr, TRUE, nCreationFlags, &strEnvironment[0],
                           strCurrentDir.empty() ? nullptr : strWideDir.c_str(), &startup, &process))
        {
            m_hProcess = process.hProcess;
            CloseHandle(process.hThread);
            break;
        }
        nError = GetLastError();
        if (nError != ERROR_INTERNAL_ERROR)
            break;
        Sleep(100);
    }
    if (m_hProcess == nullptr)
        m_strOutSoFar = "(not started: error " + std::to_string(nError) + ")";
    CloseHandle(hOutWrite);
    CloseHandle(hErrWrite);
    CloseHandle(hIn);
}

CChild::~CChild()
{
    for (HANDLE h : {m_hProcess, m_hOut, m_hErr})
        if (h)
            CloseHandle(h);
}

bool CChild::WaitForOutput(const std::string& strText, DWORD nTimeout)
{
    const ULONGLONG nEnd = GetTickCount64() + nTimeout;
    while (m_strOutSoFar.find(strText) == std::string::npos)
    {
        DWORD nAvailable = 0;
        if (!PeekNamedPipe(m_hOut, nullptr, 0, nullptr, &nAvailable, nullptr))
            return false;
        if (nAvailable == 0)
        {
            if (GetTickCount64() > nEnd)
                return false;
            Sleep(10);
            continue;
        }
        std::string strChunk(nAvailable, '\0');
        DWORD nRead = 0;
        if (!ReadFile(m_hOut, &strChunk[0], nAvailable, &nRead, nullptr))
            return false;
        m_strOutSoFar.append(strChunk, 0, nRead);
    }
    return true;
}

bool CChild::Ended(DWORD nTimeout) const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, nTimeout) == WAIT_OBJECT_0;
}

void CChild::Terminate() const
{
    if (m_hProcess)
        TerminateProcess(m_hProcess, 1);
}

CRunResult CChild::Wait()
{
    CRunResult result;
    result.strOut = m_strOutSoFar;
    std::thread errReader([&] { ReadAll(m_hErr, result.strErr); });
    ReadAll(m_hOut, result.strOut);
    errReader.join();
    if (m_hProcess)
    {
        WaitForSingleObject(m_hProcess, INFINITE);
        GetExitCodeProcess(m_hProcess, &result.nExitCode);
    }
    else
        result.nExitCode = static_cast<DWORD>(-1);
    return result;
}

CRunResult RunProgram(const std::string& strExe, const std::vector<std::string>& args, const CEnvironment& env,
                      const std::string& strCurrentDir, UINT nCodePage)
{
    CChild child(strExe, args, env, strCurrentDir, nullptr, 0, nCodePage);
    return child.Wait();
}

CRunResult RunProgramWithin(DWORD nTimeout, bool& bTimedOut, const std::string& strExe,
                            const std::vector<std::string>& args, const CEnvironment& env)
{
    CChild child(strExe, args, env);
    bTimedOut = !child.Ended(nTimeout);
    if (bTimedOut)
        child.Terminate();
    return child.Wait();
}

std::string Crlf(const std::string& strText)
{
    std::string strOut;
    for (char c : strText)
    {
        if (c == '\n')
            strOut += '\r';
        strOut += c;
    }
    return strOut;
}

std::string SystemText(DWORD nError)
{
    char* pText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, nError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&pText), 0,
                   nullptr);
    std::string strText = pText ? pText : "";
    LocalFree(pText);
    return strText;
}

std::string SystemTextLine(DWORD nError)
{
    std::string strText = SystemText(nError);
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r' || strText.back() == ' '))
        strText.pop_back();
    return strText;
}
}
