#pragma once

#include "app/win32_handles.h"

#include <string>

// Keeps runs of the program from working on srcsafe.ini at the same time, and
// lets a later run put back a switch that a killed run left in force.
//
// The guard is a lock file beside srcsafe.ini, so it holds across machines
// that share the file through a network folder. Every run holds it shared
// while SS.EXE runs, so runs that switch nothing do not wait for each other; a
// run that switches the database holds it exclusively from reading the
// current path until after the switch back. The system drops the lock of a
// process that dies.
// Before switching, a run writes a record of the path to put back; a record
// found by a run that holds the guard belongs to a run that is gone.
//
// Where no lock file can be made beside srcsafe.ini, the guard does nothing.
class CIniGuard
{
public:
    CIniGuard() = default;
    CIniGuard(const CIniGuard&) = delete;
    CIniGuard& operator=(const CIniGuard&) = delete;
    ~CIniGuard();

    // Takes the guard shared (exclusively when a killed run's switch must be
    // put back); waits, with one line printed, while another run holds it.
    void Acquire(const std::string& strIniPath);

    // Takes the guard exclusively, for a switch. True when it had to be let go
    // on the way, so that another run may have changed srcsafe.ini meanwhile.
    bool MakeExclusive();

    // True when a killed run left srcsafe.ini switched; the path to put back follows.
    bool HasInterruptedSwitch() const { return m_bInterrupted; }
    const std::string& InterruptedOldPath() const { return m_strInterruptedOldPath; }

    // Records, durably, the path that the switch back must restore.
    void RecordSwitch(const std::string& strOldPath);
    void ClearRecord();

private:
    bool OpenLockFile();
    bool TryLock(bool bExclusive);
    bool Lock(bool bExclusive);
    void Unlock();
    // Unlocks and closes the lock file, and removes it when no other run has it open.
    void Release();
    void ReadRecord();

    CUniqueFile m_lock;
    bool m_bLocked = false;
    bool m_bExclusive = false;
    bool m_bAnnounced = false;
    std::string m_strLockPath;
    std::string m_strRecordPath;
    bool m_bInterrupted = false;
    std::string m_strInterruptedOldPath;
};
