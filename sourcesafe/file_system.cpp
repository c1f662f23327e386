#include "sourcesafe/file_system.h"

#include "sourcesafe/advapi32.h"

namespace
{
// The permission functions live in advapi32.dll, which is loaded only when a
// file is rewritten. Where it lacks them, the platform keeps no permissions
// that a rewrite could lose.
BOOL WINAPI GetSecurity(LPCSTR szPath, SECURITY_INFORMATION nWhat, PSECURITY_DESCRIPTOR pDescriptor, DWORD nSize,
                        LPDWORD pNeeded)
{
    const CAdvapi32& api = CAdvapi32::Get();
    if (api.pGetFileSecurity == nullptr)
    {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return api.pGetFileSecurity(szPath, nWhat, pDescriptor, nSize, pNeeded);
}

BOOL WINAPI SetSecurity(LPCSTR szPath, SECURITY_INFORMATION nWhat, PSECURITY_DESCRIPTOR pDescriptor)
{
    const CAdvapi32& api = CAdvapi32::Get();
    if (api.pSetFileSecurity == nullptr)
    {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return api.pSetFileSecurity(szPath, nWhat, pDescriptor);
}

const CFileSystem kSystem = {
    &CreateFileA,        &ReadFile,      &WriteFile,   &FlushFileBuffers, &GetFileAttributesA,
    &SetFileAttributesA, &GetSecurity,   &SetSecurity, &MoveFileExA,      &DeleteFileA,
    &FindFirstFileA,     &FindNextFileA, &LockFileEx,  &UnlockFileEx,
};

CFileSystem g_fileSystem = kSystem;
}

CFileSystem& FileSystem()
{
    return g_fileSystem;
}

const CFileSystem& SystemFileSystem()
{
    return kSystem;
}
