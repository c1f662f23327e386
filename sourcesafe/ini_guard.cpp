#include "sourcesafe/ini_guard.h"

#include "app/console.h"
#include "app/console_interrupts.h"
#include "app/tarn_app.h"
#include "sourcesafe/file_io.h"
#include "sourcesafe/file_system.h"
#include "sourcesafe/restore_record.h"

namespace
{
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
    CUniqueFile last(FileSystem().pCreateFile(m_strLockPath.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

void CIniGuard::Acquire(const std::string& strIniPath)
{
    m_strIniPath = strIniPath;
    m_strLockPath = strIniPath + ".tarnlock";
    m_strRecordPath = strIniPath + ".tarnrestore";
    if (OpenLockFile() && Lock(false))
    {
        // Putting a switch back, and removing files, needs the guard exclusively.
        if (LeftBehindByAKilledRun())
            MakeExclusive();
        return;
    }
    // Unguarded: nobody can be told apart from a killed run, so what is found is taken as left behind.
    ReadRecord();
}

bool CIniGuard::LeftBehindByAKilledRun() const
{
    return ProbeFile(m_strRecordPath) != ERROR_FILE_NOT_FOUND || !FindTempFiles(m_strIniPath).empty();
}

bool CIniGuard::MakeExclusive()
{
    if (!m_bLocked || m_bExclusive)
        return false;
    // A shared lock cannot be turned into an exclusive one in place.
    Unlock();
    if ((m_lock || OpenLockFile()) && Lock(true))
    {
        m_bExclusive = true;
        RemoveTempFiles();
    }
    ReadRecord();
    return true;
}

unsigned long CIniGuard::RecordSwitch(const std::string& strOldPath)
{
    return WriteFileDurably(m_strRecordPath, RestoreRecordText(strOldPath));
}

void CIniGuard::ClearRecord()
{
    RemoveFile(m_strRecordPath);
    m_record = ERecord::None;
}

bool CIniGuard::OpenLockFile()
{
    for (int i = 0; i < kOpenAttempts; ++i)
    {
        m_lock.Reset(FileSystem().pCreateFile(m_strLockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD nError = GetLastError();
        // A user who may read the lock file but not write it (it takes the
        // rights of its folder) locks it all the same: a handle for reading
        // holds byte-range locks too.
        if (!m_lock && (nError == ERROR_ACCESS_DENIED || nError == ERROR_WRITE_PROTECT))
        {
            m_lock.Reset(FileSystem().pCreateFile(m_strLockPath.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
            nError = GetLastError();
        }
        if (m_lock)
            return true;
        if (nError != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(kOpenRetryMilliseconds);
    }
    return false;
}

bool CIniGuard::TryLock(bool bExclusive)
{
    OVERLAPPED where = {};
    const DWORD nFlags = LOCKFILE_FAIL_IMMEDIATELY | (bExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    m_bLocked = FileSystem().pLockFileEx(m_lock.Get(), nFlags, 0, 1, 0, &where) != FALSE;
    return m_bLocked;
}

// Polls rather than blocks, so that a wait never depends on the file system
// delivering lock releases (network folders differ there), and so that the
// user can give it up. A file system that has no locks at all leaves the run
// unguarded.
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
        if (CConsoleInterruptShield::Interrupted())
            throw CTarnApp::CTarnException(
                "Stopped waiting for the other run of tarn.exe: SS.EXE was not started.");
        Sleep(kPollMilliseconds);
    }
    return true;
}

void CIniGuard::Unlock()
{
    if (!m_bLocked)
        return;
    OVERLAPPED where = {};
    // Closing the handle drops its lock for sure; the run would otherwise wait for itself.
    if (!FileSystem().pUnlockFileEx(m_lock.Get(), 0, 1, 0, &where))
        m_lock.Reset();
    m_bLocked = false;
    m_bExclusive = false;
}

void CIniGuard::ReadRecord()
{
    std::string strRecord;
    const DWORD nError = ReadWholeFile(m_strRecordPath, strRecord);
    m_record = ERecord::Unreadable;
    m_nRecordError = nError;
    // A read can fail for a record that is not there at all, or that cannot
    // be there (a name too long, which the probe tells too); only one that is
    // there must stop the run.
    if (IsMissingFileError(nError) ||
        (nError != ERROR_SUCCESS && ProbeFile(m_strRecordPath) == ERROR_FILE_NOT_FOUND))
        m_record = ERecord::None;
    else if (nError != ERROR_SUCCESS)
        return;
    else if (!ReadRestoreRecord(strRecord, m_strRecordedOldPath))
        m_nRecordError = ERROR_INVALID_DATA;
    else
        m_record = ERecord::Found;
}

void CIniGuard::RemoveTempFiles() const
{
    for (const std::string& strPath : FindTempFiles(m_strIniPath))
        RemoveFile(strPath);
}
