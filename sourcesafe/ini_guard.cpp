#include "sourcesafe/ini_guard.h"

#include "app/console.h"
#include "sourcesafe/file_io.h"

namespace
{
const char kRecordHeader[] = "tarn: data_path to put back\n";
const DWORD kPollMilliseconds = 50;
// Only a run deleting the lock file holds it exclusively, for an instant.
const int kOpenAttempts = 250;
const DWORD kOpenRetryMilliseconds = 20;
}

CIniGuard::~CIniGuard()
{
    Release();
}

void CIniGuard::Release()
{
    if (!m_lock)
        return;
    Unlock();
    m_lock.Reset();
    // Deletes the lock file only when no other run has it open: such a run
    // would otherwise lock a file that has left the folder.
    CUniqueFile last(CreateFileA(m_strLockPath.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

void CIniGuard::Acquire(const std::string& strIniPath)
{
    m_strLockPath = strIniPath + ".tarnlock";
    m_strRecordPath = strIniPath + ".tarnrestore";
    if (!OpenLockFile() || !Lock(false) || !FileExists(m_strRecordPath))
        return;
    // Putting a switch back writes srcsafe.ini, which needs the guard exclusively.
    MakeExclusive();
}

bool CIniGuard::MakeExclusive()
{
    if (!m_bLocked || m_bExclusive)
        return false;
    // A shared lock cannot be turned into an exclusive one in place.
    Unlock();
    if (!Lock(true))
        return true;
    m_bExclusive = true;
    ReadRecord();
    return true;
}

void CIniGuard::RecordSwitch(const std::string& strOldPath)
{
    if (m_bLocked)
        WriteFileDurably(m_strRecordPath, kRecordHeader + strOldPath);
}

void CIniGuard::ClearRecord()
{
    if (m_bLocked)
        DeleteFileA(m_strRecordPath.c_str());
    m_bInterrupted = false;
}

bool CIniGuard::OpenLockFile()
{
    for (int i = 0; i < kOpenAttempts; ++i)
    {
        m_lock.Reset(CreateFileA(m_strLockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (m_lock)
            return true;
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(kOpenRetryMilliseconds);
    }
    return false;
}

bool CIniGuard::TryLock(bool bExclusive)
{
    OVERLAPPED where = {};
    const DWORD nFlags = LOCKFILE_FAIL_IMMEDIATELY | (bExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    m_bLocked = LockFileEx(m_lock.Get(), nFlags, 0, 1, 0, &where) != FALSE;
    return m_bLocked;
}

// Polls rather than blocks, so that a wait never depends on the file system
// delivering lock releases (network folders differ there). A file system that
// has no locks at all leaves the run unguarded.
bool CIniGuard::Lock(bool bExclusive)
{
    while (!TryLock(bExclusive))
    {
        if (GetLastError() != ERROR_LOCK_VIOLATION)
        {
            Release();
            return false;
        }
        if (!m_bAnnounced)
        {
            PrintLine("Waiting for another run of tarn.exe to finish with srcsafe.ini...");
            m_bAnnounced = true;
        }
        Sleep(kPollMilliseconds);
    }
    return true;
}

void CIniGuard::Unlock()
{
    if (!m_bLocked)
        return;
    OVERLAPPED where = {};
    UnlockFileEx(m_lock.Get(), 0, 1, 0, &where);
    m_bLocked = false;
    m_bExclusive = false;
}

void CIniGuard::ReadRecord()
{
    m_bInterrupted = false;
    if (!FileExists(m_strRecordPath))
        return;
    std::string strRecord;
    const std::string strHeader(kRecordHeader);
    if (!ReadWholeFile(m_strRecordPath, strRecord) || strRecord.compare(0, strHeader.size(), strHeader) != 0)
        return;
    m_bInterrupted = true;
    m_strInterruptedOldPath = strRecord.substr(strHeader.size());
}
