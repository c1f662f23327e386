// A stand-in for SourceSafe's SS.EXE, for tests and the demo; never shipped.
//
// Its environment says what to do:
//   STANDIN_RECORD      path prefix: the raw command line goes to PREFIX.cmdline,
//                       the bytes of the srcsafe.ini it reads (SSDIR's, as SS.EXE
//                       reads it when SSDIR is set, else the one above its own
//                       folder) to PREFIX.ini, those of srcsafe.ini.tarnrestore
//                       beside it, if there is one, to PREFIX.restore, SSDIR,
//                       when set, to PREFIX.ssdir, and the Data_Path it ends
//                       with, following include lines, to PREFIX.datapath;
//                       PREFIX.done is made as the very last step
//   STANDIN_ECHO        when set, prints one line saying what it was asked to do
//   STANDIN_DELAY_MS    waits this long before it ends
//   STANDIN_WAIT_FOR    waits (30 s at most) until this file exists, then ends
//   STANDIN_EXIT_CODE   ends with this exit code (default 0)
//   STANDIN_ACTION      kill-parent: ends its parent process hard, as the task manager would;
//                       kill-parent-once:PATH: the same unless the file PATH exists, which
//                       it then makes, so that of several runs only the first is ended;
//                       ctrl-events: raises Ctrl+C and Ctrl+Break in its console (Wine 8
//                       delivers only Ctrl+C: it refuses to raise Ctrl+Break);
//                       readonly-ini, delete-ini: makes the srcsafe.ini it reads read-only, or deletes it;
//                       ctrl-c:PID: raises Ctrl+C in the console of process PID (and does
//                       nothing else)

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
std::string Environment(const char* szName)
{
    const char* szValue = std::getenv(szName);
    return szValue ? szValue : "";
}

bool ReadFileBytes(const std::string& strPath, std::string& strBytes)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (!pFile)
        return false;
    char buffer[4096];
    std::size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        strBytes.append(buffer, nRead);
    const bool bRead = std::ferror(pFile) == 0;
    // Closing a file that was only read loses nothing.
    static_cast<void>(std::fclose(pFile));
    return bRead;
}

// A file written only in part is removed again: a test that finds a record
// can trust it is whole.
void WriteFileBytes(const std::string& strPath, const std::string& strBytes)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile)
        return;
    // Flushed by hand: Wine's fclose does not report a failure to write the buffer out.
    const bool bWritten =
        std::fwrite(strBytes.data(), 1, strBytes.size(), pFile) == strBytes.size() && std::fflush(pFile) == 0;
    if (std::fclose(pFile) != 0 || !bWritten)
        static_cast<void>(std::remove(strPath.c_str()));
}

// The number in a variable; 0 when it is unset or holds anything but a number.
int NumberFromEnvironment(const char* szName)
{
    const std::string strValue = Environment(szName);
    char* pEnd = nullptr;
    const long nValue = std::strtol(strValue.c_str(), &pEnd, 10);
    if (strValue.empty() || *pEnd != '\0')
        return 0;
    return static_cast<int>(nValue);
}

// The srcsafe.ini SS.EXE reads: in the folder SSDIR names when it is set,
// else one folder above its own.
std::string IniPath()
{
    std::string strFolder = Environment("SSDIR");
    if (strFolder.empty())
    {
        char szModule[MAX_PATH];
        const DWORD nLength = GetModuleFileNameA(nullptr, szModule, MAX_PATH);
        strFolder.assign(szModule, nLength);
        strFolder.resize(strFolder.rfind('\\'));
        strFolder.resize(strFolder.rfind('\\') + 1);
    }
    if (strFolder.back() != '\\')
        strFolder += '\\';
    return strFolder + "srcsafe.ini";
}

std::string Trimmed(const std::string& strText)
{
    const std::size_t nStart = strText.find_first_not_of(" \t\r");
    if (nStart == std::string::npos)
        return std::string();
    return strText.substr(nStart, strText.find_last_not_of(" \t\r") - nStart + 1);
}

std::string Lowered(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return strText;
}

// Reads the settings of a srcsafe.ini as SourceSafe documents them: a line
// "#include <path>" reads that file in its place (a network client's names the
// server's), and a Data_Path line sets the database. SourceSafe documents no
// rule for a file that holds both; here, as for two Data_Path lines, the
// first one read counts.
void ReadDataPath(const std::string& strPath, std::string& strDataPath, int nDepth)
{
    std::string strText;
    if (nDepth > 8 || !ReadFileBytes(strPath, strText))
        return;
    std::size_t nStart = 0;
    while (nStart <= strText.size() && strDataPath.empty())
    {
        const std::size_t nEnd = std::min(strText.find('\n', nStart), strText.size());
        const std::string strLine = Trimmed(strText.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
        const std::string strLower = Lowered(strLine);
        if (strLower.rfind("#include", 0) == 0 && strLine.size() > 8 && (strLine[8] == ' ' || strLine[8] == '\t'))
        {
            ReadDataPath(Trimmed(strLine.substr(9)), strDataPath, nDepth + 1);
            continue;
        }
        const std::size_t nEquals = strLine.find('=');
        if (strLine.empty() || strLine[0] == ';' || nEquals == std::string::npos ||
            Lowered(Trimmed(strLine.substr(0, nEquals))) != "data_path")
            continue;
        const std::string strValue = strLine.substr(nEquals + 1);
        strDataPath = Trimmed(strValue.substr(0, strValue.find(';')));
    }
}

void Record(const std::string& strPrefix)
{
    WriteFileBytes(strPrefix + ".cmdline", GetCommandLineA());
    std::string strIni;
    if (ReadFileBytes(IniPath(), strIni))
        WriteFileBytes(strPrefix + ".ini", strIni);
    std::string strRecord;
    if (ReadFileBytes(IniPath() + ".tarnrestore", strRecord))
        WriteFileBytes(strPrefix + ".restore", strRecord);
    if (!Environment("SSDIR").empty())
        WriteFileBytes(strPrefix + ".ssdir", Environment("SSDIR"));
    std::string strDataPath;
    ReadDataPath(IniPath(), strDataPath, 0);
    if (!strDataPath.empty())
        WriteFileBytes(strPrefix + ".datapath", strDataPath);
}

void Echo(int argc, char** argv)
{
    std::string strSwitches;
    for (int i = 3; i < argc; ++i)
        strSwitches += std::string(i > 3 ? " " : "") + argv[i];
    // A test that closes standard output wants no line; there is nobody to tell.
    static_cast<void>(std::printf("  [ss.exe stand-in] %s %s, switches: %s\n", argc > 1 ? argv[1] : "(no command)",
                                  argc > 2 ? argv[2] : "(no project path)", strSwitches.c_str()));
    static_cast<void>(std::fflush(stdout));
}

void KillParent()
{
    const DWORD nSelf = GetCurrentProcessId();
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    DWORD nParent = 0;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore; bMore = Process32Next(hSnapshot, &entry))
        if (entry.th32ProcessID == nSelf)
            nParent = entry.th32ParentProcessID;
    CloseHandle(hSnapshot);
    HANDLE hParent = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nParent);
    if (!hParent)
        return;
    TerminateProcess(hParent, 99);
    WaitForSingleObject(hParent, 5000);
    CloseHandle(hParent);
}

BOOL WINAPI IgnoreInterrupt(DWORD /*nEvent*/)
{
    return TRUE;
}

void RaiseConsoleEvents()
{
    SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0);
    // Gives the events time to reach every process of the console.
    Sleep(300);
}

// Joins the console of another process and raises Ctrl+C in it, as a user
// pressing the keys in that window would.
int RaiseCtrlCIn(const std::string& strPid)
{
    FreeConsole();
    if (!AttachConsole(static_cast<DWORD>(std::strtoul(strPid.c_str(), nullptr, 10))))
        return 2;
    SetConsoleCtrlHandler(nullptr, TRUE);
    const BOOL bRaised = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    Sleep(300);
    return bRaised ? 0 : 3;
}
}

int main(int argc, char** argv)
{
    const std::string strAction = Environment("STANDIN_ACTION");
    if (strAction.rfind("ctrl-c:", 0) == 0)
        return RaiseCtrlCIn(strAction.substr(7));

    const std::string strRecord = Environment("STANDIN_RECORD");
    if (!strRecord.empty())
        Record(strRecord);
    if (!Environment("STANDIN_ECHO").empty())
        Echo(argc, argv);

    if (strAction == "kill-parent")
        KillParent();
    else if (strAction.rfind("kill-parent-once:", 0) == 0)
    {
        const std::string strMarker = strAction.substr(17);
        if (GetFileAttributesA(strMarker.c_str()) == INVALID_FILE_ATTRIBUTES)
        {
            WriteFileBytes(strMarker, "");
            KillParent();
        }
    }
    else if (strAction == "ctrl-events")
        RaiseConsoleEvents();
    else if (strAction == "readonly-ini")
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    else if (strAction == "delete-ini")
        DeleteFileA(IniPath().c_str());

    const int nDelay = NumberFromEnvironment("STANDIN_DELAY_MS");
    if (nDelay > 0)
        Sleep(static_cast<DWORD>(nDelay));
    const std::string strWaitFor = Environment("STANDIN_WAIT_FOR");
    for (int i = 0;
         !strWaitFor.empty() && i < 1500 && GetFileAttributesA(strWaitFor.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(20);
    if (!strRecord.empty())
        WriteFileBytes(strRecord + ".done", "");
    return NumberFromEnvironment("STANDIN_EXIT_CODE");
}
