#include "app/console.h"
#include "app/tarn_app.h"
#include "app/win32_handles.h"
#include "launch/process_start.h"
#include "launch/ss_command_line.h"
#include "launch/system_error.h"

#include <vector>

CreateProcessFunction& ProcessStarter()
{
    static CreateProcessFunction pStart = &CreateProcessA;
    return pStart;
}

namespace
{
// Under load Wine now and then loses a child while it is still being started
// and says ERROR_INTERNAL_ERROR. That child never ran, so trying again cannot
// run the command twice.
const int kStartAttempts = 3;
const DWORD kStartRetryDelayMs = 100;
}

void CTarnApp::LaunchSourceSafe()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};

    m_strSSCmdLine = BuildSSCommandLine(m_strExePath, m_strCommand, m_strSSFilePath, m_strParameters);
    PrintLine("Running: " + m_strSSCmdLine);

    for (int nAttempt = 1;; ++nAttempt)
    {
        // CreateProcessA may write into the command line it is given.
        std::vector<char> commandLine(m_strSSCmdLine.begin(), m_strSSCmdLine.end());
        commandLine.push_back('\0');
        if (ProcessStarter()(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                             nullptr, &startup, &process))
            break;
        const DWORD nError = GetLastError();
        if (nError != ERROR_INTERNAL_ERROR || nAttempt == kStartAttempts)
            throw CTarnException("Could not launch SS.EXE.\n" + DescribeSystemError(nError));
        Sleep(kStartRetryDelayMs);
    }

    // Declared in this order so that the thread handle is closed first.
    CUniqueHandle child(process.hProcess);
    CUniqueHandle thread(process.hThread);
    WaitForSingleObject(child.Get(), INFINITE);
}
