// The switch itself, in the test's own process, with the file-system table
// failing calls that a whole run cannot be made to fail together.
#include "app/tarn_app.h"
#include "sourcesafe/ini_guard.h"
#include "tests/fault/fault_file_system.h"
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
const char kIni[] = "[General]\r\nData_Path = C:\\VSS\\Data\r\n";
const char kDatabase[] = "TarnDatabaseSwitch.Other";

// The number of the first call seen whose text holds strPart; 0 when none.
int CallNamed(const std::vector<std::string>& calls, const std::string& strPart)
{
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].find(strPart) != std::string::npos)
            return static_cast<int>(i) + 1;
    return 0;
}

// A "-DB:" run's guard, switch and switch back under a fault plan: the calls
// it made, whether it held the guard, and the message it failed with.
struct CSwitchRun
{
    std::vector<std::string> calls;
    bool bGuarded = false;
    std::string strFailure;
};

CSwitchRun RunSwitch(const CScratchInstall& install, const CFaultPlan& plan, const char* szDatabase = kDatabase)
{
    CSwitchRun run;
    CTarnApp app;
    app.m_strIniPath = install.Ini();
    app.m_strDatabase = szDatabase;
    InstallFaults(plan);
    {
        CIniGuard guard;
        guard.Acquire(app.IniFile());
        run.bGuarded = guard.IsHeld();
        try
        {
            if (app.SwitchDatabase(guard))
                app.SwitchBack(guard);
        }
        catch (const CTarnApp::CTarnException& e)
        {
            run.strFailure = e.m_strMessage;
        }
    }
    run.calls = CallsSeen();
    RemoveFaults();
    return run;
}
}

// A run that cannot take the lock (no right to create the lock file, a name
// too long, a file system without locks) goes unguarded; it still switches
// nothing without its record, which alone lets a later run put a kill right.
TEST(DatabaseSwitch, UnguardedRunSwitchesNothingWithoutItsRecord)
{
    CScratchInstall install;
    CTestDatabase database(kDatabase, "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    const CSwitchRun clean = RunSwitch(install, {EFault::None, 0, ""});
    ASSERT_TRUE(clean.bGuarded);
    ASSERT_EQ("", clean.strFailure);
    struct Case
    {
        const char* szLockCall;
        unsigned long nError;
    };
    for (const Case& c : {Case{".tarnlock", ERROR_ACCESS_DENIED}, Case{".tarnlock", ERROR_FILENAME_EXCED_RANGE},
                          Case{"LockFileEx", ERROR_NOT_SUPPORTED}})
    {
        SCOPED_TRACE(std::string(c.szLockCall) + " " + std::to_string(c.nError));
        CFaultPlan plan{EFault::Fail, CallNamed(clean.calls, c.szLockCall), ""};
        plan.nError = c.nError;
        const CSwitchRun unguarded = RunSwitch(install, plan);
        ASSERT_FALSE(unguarded.bGuarded);
        ASSERT_EQ("", unguarded.strFailure);

        // The same run, its record failing too.
        WriteBytes(install.Ini(), kIni);
        plan.nAlsoAt = CallNamed(unguarded.calls, ".tarnrestore.tarn");
        ASSERT_GT(plan.nAlsoAt, 0);
        const CSwitchRun recordless = RunSwitch(install, plan);
        EXPECT_EQ(0u, recordless.strFailure.rfind("Could not switch srcsafe.ini to data_path = c:\\other\\data.\n"
                                                  "The record of the switch, srcsafe.ini.tarnrestore, could not be "
                                                  "written: ",
                                                  0))
            << recordless.strFailure;
        EXPECT_EQ(kIni, ReadBytes(install.Ini()));
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
    }
}

// A lock file on a medium that takes no writes (ERROR_WRITE_PROTECT; a user
// who may not write it meets ERROR_ACCESS_DENIED, tests/readonly_lock_test.sh)
// is locked all the same, through a handle for reading.
TEST(DatabaseSwitch, WriteProtectedLockFileStillGuards)
{
    // A database of its own: tests run at once.
    const char kOwnDatabase[] = "TarnDatabaseSwitch.WriteProtected";
    CScratchInstall install;
    CTestDatabase database(kOwnDatabase, "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    WriteBytes(install.Ini() + ".tarnlock", "");
    const CSwitchRun clean = RunSwitch(install, {EFault::None, 0, ""}, kOwnDatabase);
    ASSERT_TRUE(clean.bGuarded);
    WriteBytes(install.Ini(), kIni);
    WriteBytes(install.Ini() + ".tarnlock", "");
    CFaultPlan plan{EFault::Fail, CallNamed(clean.calls, ".tarnlock"), ""};
    plan.nError = ERROR_WRITE_PROTECT;
    const CSwitchRun run = RunSwitch(install, plan, kOwnDatabase);
    EXPECT_TRUE(run.bGuarded);
    EXPECT_EQ("", run.strFailure);
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}
