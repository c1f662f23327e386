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
// found by a run that holds the guard belongs to a run that is gone, and so do
// temporary files of a rewrite, which such a run removes.
//
// Where no lock file can be made beside srcsafe.ini, the guard does nothing
// and runs go ahead unguarded; such a run still switches only with its record.
class CIniGuard
{
public:
    enum class ERecord
    {
        None,      // no run left a switch in force
        Found,     // a killed run did: RecordedOldPath() is to be put back
        Unreadable // there is a record, but what it says cannot be had: RecordError()
    };

    CIniGuard() = default;
    CIniGuard(const CIniGuard&) = delete;
    CIniGuard& operator=(const CIniGuard&) = delete;
    ~CIniGuard();

    // Takes the guard shared, or exclusively when a killed run left its record
    // or temporary files; waits, with one line printed, while another run
    // holds it. Throws when the user gives up the wait with Ctrl+C.
    void Acquire(const std::string& strIniPath);

    // Takes the guard exclusively, for a switch. True when it had to be let go
    // on the way, so that another run may have changed srcsafe.ini meanwhile.
    bool MakeExclusive();

    // False when the run goes unguarded.
    bool IsHeld() const { return m_bLocked; }

    // What a killed run left; read when the guard was taken exclusively, or
    // when the run goes unguarded.
    ERecord Record() const { return m_record; }
    const std::string& RecordedOldPath() const { return m_strRecordedOldPath; }
    unsigned long RecordError() const { return m_nRecordError; }

    // Records, durably, the path that this run's switch back must restore.
    // Returns ERROR_SUCCESS or the system's error code.
    unsigned long RecordSwitch(const std::string& strOldPath);
    // Removes the record, a killed run's or this run's own.
    void ClearRecord();

private:
    bool OpenLockFile();
    bool TryLock(bool bExclusive);
    bool Lock(bool bExclusive);
    void Unlock();
    // Unlocks and closes the lock file, and removes it when no other run has it open.
    void Release();
    void ReadRecord();
    bool LeftBehindByAKilledRun() const;
    void RemoveTempFiles() const;

    CUniqueFile m_lock;
    bool m_bLocked = false;
    bool m_bExclusive = false;
    bool m_bAnnounced = false;
    std::string m_strIniPath;
    std::string m_strLockPath;
    std::string m_strRecordPath;
    ERecord m_record = ERecord::None;
    std::string m_strRecordedOldPath;
    unsigned long m_nRecordError = 0;
};
