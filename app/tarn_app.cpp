#include "app/tarn_app.h"

#include "app/console.h"
#include "app/console_interrupts.h"
#include "app/failures.h"
#include "sourcesafe/ini_guard.h"
#include "version.h"

CTarnApp::CTarnApp() : m_nRequiredArgs(4), m_bLog(false), m_strLog("<Log>\n") {}

void CTarnApp::ShowBanner()
{
    PrintLine("Tarn - SourceSafe command launcher for editors (ver. " TARN_VERSION_TEXT ")");
    PrintLine("\tby the Tarn project");
    PrintLine("\t\tTechnical support: " TARN_SUPPORT_CONTACT "\n");
}

void CTarnApp::Run()
{
    bool bSwitched = false;
    // Guards srcsafe.ini against other runs from here until the switch back.
    CIniGuard guard;
    CConsoleInterruptShield shield;
    RunStage(
        [&]
        {
            LocateFiles();
            CheckCharacters();
            guard.Acquire(IniFile());
            PutBackInterruptedSwitch(guard);
            if (!m_strDatabase.empty())
                bSwitched = SwitchDatabase(guard);
            LaunchSourceSafe();
        });

    if (m_bLog)
        RunStage([&] { WriteLog(); });

    if (bSwitched)
        RunStage([&] { SwitchBack(guard); });
}
