#include "tests/fault/fault_file_system.h"

#include "sourcesafe/file_system.h"

#include <windows.h>

namespace tarntest
{
namespace
{
struct CState
{
    CFaultPlan plan;
    int nCalls = 0;
    std::vector<std::string> calls;
    HANDLE hTrace = INVALID_HANDLE_VALUE;
};

CState& State()
{
    static CState state;
    return state;
}

const CFileSystem& Real()
{
    return SystemFileSystem();
}

void Trace(const std::string& strLine)
{
    CState& state = State();
    state.calls.push_back(strLine);
    if (state.hTrace == INVALID_HANDLE_VALUE)
        return;
    const std::string strText = std::to_string(state.nCalls) + " " + strLine + "\r\n";
    DWORD nWritten = 0;
    WriteFile(state.hTrace, strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr);
}

std::string HandleText(HANDLE h)
{
    return "handle " + std::to_string(reinterpret_cast<unsigned long long>(h));
}

// Counts the call and says whether it is to fail. nFirst is the error of a
// single failure, nSecond that of two in a row: a retry then meets another one.
bool Strike(const char* szFunction, const std::string& strWhat, DWORD nFirst, DWORD nSecond)
{
    CState& state = State();
    const int n = ++state.nCalls;
    Trace(std::string(szFunction) + " " + strWhat);
    switch (state.plan.fault)
    {
    case EFault::None:
        return false;
    case EFault::Kill:
        if (n == state.plan.nAt)
            TerminateProcess(GetCurrentProcess(), kKilledExitCode);
        return false;
    case EFault::Fail:
        if (n != state.plan.nAt && n != state.plan.nAlsoAt)
            return false;
        SetLastError(state.plan.nError != 0 ? state.plan.nError : nFirst);
        return true;
    case EFault::FailTwice:
        if (n != state.plan.nAt && n != state.plan.nAt + 1)
            return false;
        SetLastError(nSecond);
        return true;
    }
    return false;
}

HANDLE WINAPI CreateFileFault(LPCSTR szPath, DWORD nAccess, DWORD nShare, LPSECURITY_ATTRIBUTES pSecurity,
                              DWORD nDisposition, DWORD nFlags, HANDLE hTemplate)
{
    if (Strike("CreateFile", szPath, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION))
        return INVALID_HANDLE_VALUE;
    return Real().pCreateFile(szPath, nAccess, nShare, pSecurity, nDisposition, nFlags, hTemplate);
}

BOOL WINAPI ReadFileFault(HANDLE hFile, LPVOID pBuffer, DWORD nToRead, LPDWORD pRead, LPOVERLAPPED pOverlapped)
{
    if (Strike("ReadFile", HandleText(hFile), ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR))
        return FALSE;
    return Real().pReadFile(hFile, pBuffer, nToRead, pRead, pOverlapped);
}

BOOL WINAPI WriteFileFault(HANDLE hFile, LPCVOID pBuffer, DWORD nToWrite, LPDWORD pWritten,
                           LPOVERLAPPED pOverlapped)
{
    if (Strike("WriteFile", HandleText(hFile), ERROR_DISK_FULL, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pWriteFile(hFile, pBuffer, nToWrite, pWritten, pOverlapped);
}

BOOL WINAPI FlushFault(HANDLE hFile)
{
    if (Strike("FlushFileBuffers", HandleText(hFile), ERROR_DISK_FULL, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pFlushFileBuffers(hFile);
}

DWORD WINAPI GetAttributesFault(LPCSTR szPath)
{
    if (Strike("GetFileAttributes", szPath, ERROR_NETNAME_DELETED, ERROR_ACCESS_DENIED))
        return INVALID_FILE_ATTRIBUTES;
    return Real().pGetFileAttributes(szPath);
}

BOOL WINAPI SetAttributesFault(LPCSTR szPath, DWORD nAttributes)
{
    if (Strike("SetFileAttributes", szPath, ERROR_ACCESS_DENIED, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pSetFileAttributes(szPath, nAttributes);
}

BOOL WINAPI GetSecurityFault(LPCSTR szPath, SECURITY_INFORMATION nWhat, PSECURITY_DESCRIPTOR pDescriptor,
                             DWORD nSize, LPDWORD pNeeded)
{
    if (Strike("GetFileSecurity", szPath, ERROR_ACCESS_DENIED, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pGetFileSecurity(szPath, nWhat, pDescriptor, nSize, pNeeded);
}

BOOL WINAPI SetSecurityFault(LPCSTR szPath, SECURITY_INFORMATION nWhat, PSECURITY_DESCRIPTOR pDescriptor)
{
    if (Strike("SetFileSecurity", szPath, ERROR_ACCESS_DENIED, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pSetFileSecurity(szPath, nWhat, pDescriptor);
}

BOOL WINAPI MoveFault(LPCSTR szFrom, LPCSTR szTo, DWORD nFlags)
{
    if (Strike("MoveFileEx", std::string(szFrom) + " -> " + szTo, ERROR_SHARING_VIOLATION, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pMoveFileEx(szFrom, szTo, nFlags);
}

BOOL WINAPI DeleteFault(LPCSTR szPath)
{
    if (Strike("DeleteFile", szPath, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION))
        return FALSE;
    return Real().pDeleteFile(szPath);
}

HANDLE WINAPI FindFirstFault(LPCSTR szPattern, LPWIN32_FIND_DATAA pFound)
{
    if (Strike("FindFirstFile", szPattern, ERROR_NETNAME_DELETED, ERROR_ACCESS_DENIED))
        return INVALID_HANDLE_VALUE;
    return Real().pFindFirstFile(szPattern, pFound);
}

BOOL WINAPI FindNextFault(HANDLE hFind, LPWIN32_FIND_DATAA pFound)
{
    if (Strike("FindNextFile", HandleText(hFind), ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR))
        return FALSE;
    return Real().pFindNextFile(hFind, pFound);
}

BOOL WINAPI LockFault(HANDLE hFile, DWORD nFlags, DWORD nReserved, DWORD nLow, DWORD nHigh, LPOVERLAPPED pWhere)
{
    // Two lock violations in a row make the run wait for a moment.
    if (Strike("LockFileEx", HandleText(hFile), ERROR_NETNAME_DELETED, ERROR_LOCK_VIOLATION))
        return FALSE;
    return Real().pLockFileEx(hFile, nFlags, nReserved, nLow, nHigh, pWhere);
}

BOOL WINAPI UnlockFault(HANDLE hFile, DWORD nReserved, DWORD nLow, DWORD nHigh, LPOVERLAPPED pWhere)
{
    if (Strike("UnlockFileEx", HandleText(hFile), ERROR_NOT_LOCKED, ERROR_NETNAME_DELETED))
        return FALSE;
    return Real().pUnlockFileEx(hFile, nReserved, nLow, nHigh, pWhere);
}

const CFileSystem kFaulty = {
    &CreateFileFault,    &ReadFileFault,    &WriteFileFault,   &FlushFault,  &GetAttributesFault,
    &SetAttributesFault, &GetSecurityFault, &SetSecurityFault, &MoveFault,   &DeleteFault,
    &FindFirstFault,     &FindNextFault,    &LockFault,        &UnlockFault,
};
}

EFault ParseFault(const std::string& strMode)
{
    if (strMode == "fail")
        return EFault::Fail;
    if (strMode == "fail-twice")
        return EFault::FailTwice;
    if (strMode == "kill")
        return EFault::Kill;
    return EFault::None;
}

void InstallFaults(const CFaultPlan& plan)
{
    RemoveFaults();
    CState& state = State();
    state.plan = plan;
    state.nCalls = 0;
    state.calls.clear();
    if (!plan.strTracePath.empty())
        state.hTrace = CreateFileA(plan.strTracePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    FileSystem() = kFaulty;
}

void RemoveFaults()
{
    FileSystem() = SystemFileSystem();
    CState& state = State();
    if (state.hTrace != INVALID_HANDLE_VALUE)
        CloseHandle(state.hTrace);
    state.hTrace = INVALID_HANDLE_VALUE;
}

int CallsMade()
{
    return State().nCalls;
}

const std::vector<std::string>& CallsSeen()
{
    return State().calls;
}
}
