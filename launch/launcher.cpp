#include "app/console.h"
#include "app/tarn_app.h"
#include "app/win32_handles.h"
#include "launch/ss_command_line.h"
#include "launch/system_error.h"

#include <vector>

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
        throw CTarnException("Could not launch SS.EXE.\n" + DescribeSystemError(nError));
    }

    // Declared in this order so that the thread handle is closed first.
    CUniqueHandle child(process.hProcess);
    CUniqueHandle thread(process.hThread);
    WaitForSingleObject(child.Get(), INFINITE);
}
