#include "app/ansi_conversion.h"
#include "app/console.h"
#include "app/tarn_app.h"
#include "launch/system_error.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/file_io.h"
#include "sourcesafe/ini_guard.h"

namespace
{
std::string ReasonText(unsigned long nError)
{
    if (nError == ERROR_FILE_READ_ONLY)
        return "srcsafe.ini is read-only.";
    return SystemErrorLine(nError);
}

CTarnApp::CTarnException SwitchFailure(const std::string& strPath, const std::string& strReason)
{
    return CTarnApp::CTarnException("Could not switch srcsafe.ini to data_path = " + strPath + ".\n" + strReason);
}

// Records the switch, then makes it. Empty when srcsafe.ini was switched;
// otherwise why not, and srcsafe.ini is as it was, with no record beside it.
std::string WriteSwitch(const CTarnApp& app, CIniGuard& guard)
{
    // Without a record a kill could never be put right, whether or not the
    // run holds the guard: no switch is made without it.
    const unsigned long nRecordError = guard.RecordSwitch(app.m_strOldDatabasePath);
    if (nRecordError != ERROR_SUCCESS)
        return "The record of the switch, srcsafe.ini.tarnrestore, could not be written: " +
               SystemErrorLine(nRecordError);
    unsigned long nError = ERROR_SUCCESS;
    try
    {
        nError = app.SetDatabasePath(app.m_strNewDatabasePath);
    }
    catch (...)
    {
        guard.ClearRecord();
        throw;
    }
    if (nError == ERROR_SUCCESS)
        return std::string();
    guard.ClearRecord();
    return ReasonText(nError);
}
}

bool CTarnApp::SwitchDatabase(CIniGuard& guard)
{
    // SS.EXE would not read the srcsafe.ini a switch changes; nor would a
    // switch of one that includes another change the database it opens.
    const bool bOtherIni = SSDirNamesAnotherFolder();
    if (!bOtherIni)
        ReadCurrentDatabasePath();
    LookupDatabasePath();
    if (bOtherIni || m_bIniIncludes)
    {
        PointSSDirAtDatabase();
        return false;
    }
    if (m_strOldDatabasePath == m_strNewDatabasePath)
        return false;

    std::string strReason = "The path cannot be written on srcsafe.ini's data_path line.";
    if (CanHoldDataPath(m_strNewDatabasePath))
    {
        if (guard.MakeExclusive())
        {
            // Another run may have had srcsafe.ini while the guard was let go: read it again.
            PutBackInterruptedSwitch(guard);
            m_strOldDatabasePath.clear();
            ReadCurrentDatabasePath();
            // It may have come to include another file meanwhile: switched,
            // it would get back an empty data_path.
            if (m_bIniIncludes)
            {
                PointSSDirAtDatabase();
                return false;
            }
            if (m_strOldDatabasePath == m_strNewDatabasePath)
                return false;
        }
        strReason = WriteSwitch(*this, guard);
        if (strReason.empty())
            return true;
    }
    // srcsafe.ini is as it was. A user who may only read it (SourceSafe's own
    // set-up) still gets the database, opened as SourceSafe opens one: through
    // SSDIR. Not through our own folder, whose srcsafe.ini names the other database.
    const bool bOwnFolder = IsIniFolder(ToWide(m_strDatabaseFolder));
    std::string strSSDirReason;
    if (!bOwnFolder && TryPointSSDirAtDatabase(strSSDirReason))
        return false;
    throw SwitchFailure(m_strNewDatabasePath, strReason);
}

void CTarnApp::SwitchBack(CIniGuard& guard) const
{
    unsigned long nError = ERROR_NOT_ENOUGH_MEMORY;
    try
    {
        nError = SetDatabasePath(m_strOldDatabasePath);
    }
    catch (...)
    {}
    // A srcsafe.ini that is gone has nothing left to put back.
    if (nError == ERROR_SUCCESS || IsMissingFileError(nError))
    {
        guard.ClearRecord();
        return;
    }
    // The record of the switch stays: no switch is made without one.
    PrintLine(("srcsafe.ini could not be put back to data_path = " + m_strOldDatabasePath).c_str(),
              "; the next run of tarn.exe will put it back.");
}

void CTarnApp::PutBackInterruptedSwitch(CIniGuard& guard) const
{
    if (guard.Record() == CIniGuard::ERecord::None)
        return;
    if (guard.Record() == CIniGuard::ERecord::Unreadable)
        throw CTarnException("Could not read srcsafe.ini.tarnrestore, the record of an interrupted run: " +
                             SystemErrorLine(guard.RecordError()) +
                             "\nRun tarn.exe again; if this stays, check srcsafe.ini's data_path line and delete "
                             "srcsafe.ini.tarnrestore.");

    const std::string strOldPath = guard.RecordedOldPath();
    std::string strCurrent;
    bool bHasLine = false;
    unsigned long nError = QueryDatabasePath(strCurrent, bHasLine);
    // Killed before its switch, or srcsafe.ini changed by hand since: nothing to put back.
    const bool bNothingToPutBack = nError == ERROR_SUCCESS && (!bHasLine || strCurrent == strOldPath);
    if (nError == ERROR_SUCCESS && !bNothingToPutBack)
        nError = SetDatabasePath(strOldPath);
    // Nor is there when srcsafe.ini is gone.
    if (bNothingToPutBack || IsMissingFileError(nError))
    {
        guard.ClearRecord();
        return;
    }
    if (nError != ERROR_SUCCESS)
        throw CTarnException("srcsafe.ini still holds the database of an interrupted run and could not be put back "
                             "to data_path = " +
                             strOldPath + ".\nMake srcsafe.ini writable and run tarn.exe again.");
    guard.ClearRecord();
    PrintLine("Put back the database of an interrupted run in srcsafe.ini (data_path = " + strOldPath + ").");
}
