#include "app/console.h"
#include "app/tarn_app.h"
#include "app/win32_handles.h"
#include "launch/ss_command_line.h"

#include <vector>

namespace
{
// The system's text for an error code, or one that names the code when the system has none.
std::string DescribeError(DWORD nError)
{
    CUniqueLocalText text;
    const DWORD nLength = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        nError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(text.Put()), 0, nullptr);
    if (nLength == 0 || !text)
        return "System error " + std::to_string(nError) + ".";
    return std::string(text.Get(), nLength);
}
}

void CTarnApp::LaunchSourceSafe()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};

    m_strSSCmdLine = BuildSSCommandLine(m_strExePath, m_strCommand, m_strSSFilePath, m_strParameters);
    PrintLine("Running: " + m_strSSCmdLine);

    // CreateProcessA may write into the command line it is given.
    std::vector<char> commandLine(m_strSSCmdLine.begin(), m_strSSCmdLine.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process))
    {
        const DWORD nError = GetLastError();
        throw CTarnException("Could not launch SS.EXE.\n" + DescribeError(nError));
    }

    // Declared in this order so that the thread handle is closed first.
    CUniqueHandle child(process.hProcess);
    CUniqueHandle thread(process.hThread);
    WaitForSingleObject(child.Get(), INFINITE);
}
