#include "app/tarn_app.h"

#include "app/console.h"
#include "sourcesafe/ini_guard.h"
#include "launch/console_interrupts.h"
#include "version.h"

CTarnApp::CTarnApp() : m_nRequiredArgs(4), m_bLog(false), m_strLog("<Log>\n") {}

void CTarnApp::ShowBanner()
{
    PrintLine("Tarn - SourceSafe command launcher for editors (ver. " TARN_VERSION_TEXT ")");
    PrintLine("\tby the Tarn project");
    PrintLine("\t\tTechnical support: tarn-support@example.org\n");
}

void CTarnApp::Run()
{
    bool bSwitched = false;
    // Guards srcsafe.ini against other runs from here until the switch back.
    CIniGuard guard;
    CConsoleInterruptShield shield;
    try
    {
        LocateFiles();
        guard.Acquire(m_strIniPath);
        if (guard.HasInterruptedSwitch())
            PutBackInterruptedSwitch(guard);

        if (!m_strDatabase.empty())
        {
            ReadCurrentDatabasePath();
            LookupDatabasePath();
            if (m_strOldDatabasePath != m_strNewDatabasePath && guard.MakeExclusive())
            {
                // Another run may have had srcsafe.ini while the guard was let go: read it again.
                if (guard.HasInterruptedSwitch())
                    PutBackInterruptedSwitch(guard);
                m_strOldDatabasePath.clear();
                ReadCurrentDatabasePath();
            }
            if (m_strOldDatabasePath != m_strNewDatabasePath)
            {
                guard.RecordSwitch(m_strOldDatabasePath);
                SetDatabasePath(m_strNewDatabasePath);
                bSwitched = true;
            }
        }
        LaunchSourceSafe();
    }
    catch (const CTarnException& e)
    {
        PrintLine(e.m_strMessage);
    }

    if (m_bLog)
        WriteLog();

    if (bSwitched)
    {
        SetDatabasePath(m_strOldDatabasePath);
        // The record stays while srcsafe.ini is not back, so that the next run puts it back.
        if (IniHoldsDatabasePath(m_strOldDatabasePath))
            guard.ClearRecord();
    }
}

void CTarnApp::PutBackInterruptedSwitch(CIniGuard& guard)
{
    const std::string strOldPath = guard.InterruptedOldPath();
    SetDatabasePath(strOldPath);
    if (!IniHoldsDatabasePath(strOldPath))
    {
        PrintLine("srcsafe.ini still holds the database of an interrupted run: it could not be put back to "
                  "data_path = " + strOldPath + ".");
        return;
    }
    guard.ClearRecord();
    PrintLine("Put back the database of an interrupted run in srcsafe.ini (data_path = " + strOldPath + ").");
}
