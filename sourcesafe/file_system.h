#pragma once

#include <windows.h>

// Every file-system call made on srcsafe.ini, the record of a switch, the lock
// file and the temporary files goes through this one table. The program fills
// it with the system's functions; a test build puts its own in, to make any
// call fail or to end the process at any call, and so reach every failure and
// every instant of a rewrite. Closing a handle is left out: it cannot fail in a
// way that matters here, and a process that ends closes its handles anyway.
struct CFileSystem
{
    decltype(&CreateFileA) pCreateFile;
    decltype(&ReadFile) pReadFile;
    decltype(&WriteFile) pWriteFile;
    decltype(&FlushFileBuffers) pFlushFileBuffers;
    decltype(&GetFileAttributesA) pGetFileAttributes;
    decltype(&SetFileAttributesA) pSetFileAttributes;
    decltype(&GetFileSecurityA) pGetFileSecurity;
    decltype(&SetFileSecurityA) pSetFileSecurity;
    decltype(&MoveFileExA) pMoveFileEx;
    decltype(&DeleteFileA) pDeleteFile;
    decltype(&FindFirstFileA) pFindFirstFile;
    decltype(&FindNextFileA) pFindNextFile;
    decltype(&LockFileEx) pLockFileEx;
    decltype(&UnlockFileEx) pUnlockFileEx;
};

// The table in use.
CFileSystem& FileSystem();

// The system's own functions, as the program uses them.
const CFileSystem& SystemFileSystem();
