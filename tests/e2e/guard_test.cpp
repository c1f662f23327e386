// Runs that overlap, and runs that are killed while srcsafe.ini is switched.
#include "sourcesafe/data_path_line.h"
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

using namespace tarntest;

namespace
{
const char kIni[] = "[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n";
const char kIniAfter[] = "[General]\r\ndata_path = c:\\vss\\data \r\nUser = Ann\r\n";
const char kWaiting[] = "Waiting for another run of tarn.exe to finish with srcsafe.ini...\r\n";
// The record of a switch from c:\vss\data, as this version writes it.
const char kRecord[] = "tarn: data_path to put back\r\nc:\\vss\\data\r\n";

std::string Name(const char* szSuffix)
{
    return std::string("TarnGuard.") + testing::UnitTest::GetInstance()->current_test_info()->name() + szSuffix;
}

std::vector<std::string> Args(const std::string& strDatabase = "")
{
    std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"};
    if (!strDatabase.empty())
        args.push_back("-DB:" + strDatabase);
    return args;
}

// The stand-in of a run that stays inside its SS.EXE call until the test lets it go.
CEnvironment HeldEnv(const CScratchInstall& install, const std::string& strRecord)
{
    CEnvironment env = install.StandinEnv(strRecord);
    env["STANDIN_WAIT_FOR"] = install.Folder() + "\\release-" + strRecord;
    return env;
}

void Release(const CScratchInstall& install, const std::string& strRecord)
{
    WriteBytes(install.Folder() + "\\release-" + strRecord, "");
}

const DWORD kPatience = 20000;

// Waits until the stand-in of a run has started, so that the run is inside its SS.EXE call.
bool WaitForStandin(const CScratchInstall& install, const std::string& strRecord)
{
    for (int i = 0; i < 400 && !install.StandinRan(strRecord); ++i)
        Sleep(25);
    return install.StandinRan(strRecord);
}

// Runs a switch whose stand-in ends tarn.exe hard while srcsafe.ini is switched.
void KillRunWhileSwitched(const CScratchInstall& install, const std::string& strDatabase)
{
    CEnvironment env = install.StandinEnv("killed");
    env["STANDIN_ACTION"] = "kill-parent";
    const CRunResult killed = RunProgram(install.Tarn(), Args(strDatabase), env);
    ASSERT_NE(0u, killed.nExitCode) << "the stand-in could not end tarn.exe";
    ASSERT_NE(std::string::npos, ReadBytes(install.Ini()).find("c:\\other\\data"));
}

std::string DataPathSeen(const CScratchInstall& install, const std::string& strRecord)
{
    std::string strValue = "(no data_path line)";
    ReadDataPath(install.RecordedIni(strRecord), strValue);
    return strValue;
}
}

TEST(Guard, OverlappingSwitchesEachGetTheirOwnDatabase)
{
    CScratchInstall install;
    CTestDatabase first(Name("1"), "C:\\First");
    CTestDatabase second(Name("2"), "C:\\Second");
    WriteBytes(install.Ini(), kIni);

    CChild runA(install.Tarn(), Args(Name("1")), HeldEnv(install, "a"));
    ASSERT_TRUE(WaitForStandin(install, "a"));
    CChild runB(install.Tarn(), Args(Name("2")), install.StandinEnv("b"));
    const bool bWaited = runB.WaitForOutput(kWaiting, kPatience);
    // Long enough for several polls: the waiting line must still be shown once only.
    Sleep(400);
    EXPECT_FALSE(install.StandinRan("b"));
    Release(install, "a");
    const CRunResult resultA = runA.Wait();
    const CRunResult resultB = runB.Wait();

    EXPECT_TRUE(bWaited);
    EXPECT_EQ("c:\\first\\data", DataPathSeen(install, "a"));
    EXPECT_EQ("c:\\second\\data", DataPathSeen(install, "b"));
    EXPECT_EQ(std::string::npos, resultA.strOut.find(kWaiting));
    EXPECT_EQ(BannerText() + kWaiting, resultB.strOut.substr(0, BannerText().size() + sizeof(kWaiting) - 1));
    EXPECT_EQ(std::string::npos, resultB.strOut.find(kWaiting, BannerText().size() + 1));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

TEST(Guard, PlainRunWaitsForASwitchToEnd)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);

    CChild runA(install.Tarn(), Args(Name("")), HeldEnv(install, "a"));
    ASSERT_TRUE(WaitForStandin(install, "a"));
    CChild plain(install.Tarn(), Args(), install.StandinEnv("plain"));
    EXPECT_TRUE(plain.WaitForOutput(kWaiting, kPatience));
    Release(install, "a");
    runA.Wait();
    plain.Wait();

    EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "a"));
    EXPECT_EQ("c:\\vss\\data", DataPathSeen(install, "plain"));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

TEST(Guard, PlainRunsDoNotWaitForEachOther)
{
    CScratchInstall install;
    WriteBytes(install.Ini(), kIni);
    CChild runA(install.Tarn(), Args(), HeldEnv(install, "a"));
    ASSERT_TRUE(WaitForStandin(install, "a"));
    CChild runB(install.Tarn(), Args(), install.StandinEnv("b"));
    // B gets through while A is still inside its call.
    const bool bEnded = runB.Ended(kPatience);
    Release(install, "a");
    const CRunResult resultB = runB.Wait();
    const CRunResult resultA = runA.Wait();
    EXPECT_TRUE(bEnded);
    EXPECT_TRUE(install.StandinRan("b"));
    EXPECT_EQ(std::string::npos, resultB.strOut.find(kWaiting));
    EXPECT_EQ(std::string::npos, resultA.strOut.find(kWaiting));
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

TEST(Guard, DatabaseRunThatSwitchesNothingDoesNotBlockOthers)
{
    CScratchInstall install;
    // The database srcsafe.ini already names.
    CTestDatabase current(Name(""), "C:\\VSS");
    WriteBytes(install.Ini(), kIni);
    CChild runA(install.Tarn(), Args(Name("")), HeldEnv(install, "a"));
    ASSERT_TRUE(WaitForStandin(install, "a"));
    CChild plain(install.Tarn(), Args(), install.StandinEnv("plain"));
    const bool bPlainEnded = plain.Ended(kPatience);
    Release(install, "a");
    const CRunResult resultPlain = plain.Wait();
    runA.Wait();
    EXPECT_TRUE(bPlainEnded);
    EXPECT_EQ(std::string::npos, resultPlain.strOut.find(kWaiting));
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

TEST(Guard, NextRunPutsBackTheSwitchOfAKilledRun)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);

    ASSERT_NO_FATAL_FAILURE(KillRunWhileSwitched(install, Name("")));
    EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "killed"));

    // The killed run's lock file is still there; it must not block.
    const CRunResult next = install.RunTarn(Args());
    EXPECT_EQ("c:\\vss\\data", DataPathSeen(install, "call"));
    EXPECT_EQ(BannerText() +
                  "Put back the database of an interrupted run in srcsafe.ini (data_path = c:\\vss\\data).\r\n"
                  "Running: \"" +
                  install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
              next.strOut);
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

TEST(Guard, NormalRunsLeaveNothingBesideSrcsafeIni)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    install.RunTarn(Args(Name("")));
    install.RunTarn(Args());
    ASSERT_TRUE(DeleteFileA(install.StandinCopy().c_str()));
    install.RunTarn(Args(Name("")));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// While a killed run's switch cannot be put back, no run starts SS.EXE (it
// would work on the wrong database) and none touches the record.
TEST(Guard, RecordOfAKilledRunStaysUntilSrcsafeIniCanBePutBack)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    CTestDatabase third(Name("3"), "C:\\Third");
    WriteBytes(install.Ini(), kIni);
    ASSERT_NO_FATAL_FAILURE(KillRunWhileSwitched(install, Name("")));
    const std::string strSwitched = ReadBytes(install.Ini());
    const std::string strRecord = ReadBytes(install.Ini() + ".tarnrestore");
    ASSERT_EQ(kRecord, strRecord);

    ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    for (const std::string& strDatabase : {std::string(), Name("3")})
    {
        const CRunResult blocked = install.RunTarn(Args(strDatabase));
        EXPECT_EQ(BannerText() +
                      "srcsafe.ini still holds the database of an interrupted run and could not be put back to "
                      "data_path = c:\\vss\\data.\r\nMake srcsafe.ini writable and run tarn.exe again.\r\n",
                  blocked.strOut);
        EXPECT_FALSE(install.StandinRan());
        EXPECT_EQ(strSwitched, ReadBytes(install.Ini()));
        EXPECT_EQ(strRecord, ReadBytes(install.Ini() + ".tarnrestore"));
    }
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);

    const CRunResult next = install.RunTarn(Args());
    EXPECT_NE(std::string::npos, next.strOut.find("Put back the database of an interrupted run"));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// A record is put back whether this version or an earlier one (LF line ends)
// wrote it. One that does not say what to put back, or whose header does not
// stand at its very start, stops the run: nobody can tell which database
// srcsafe.ini should name.
TEST(Guard, RecordIsPutBackOrStopsTheRun)
{
    CScratchInstall install;
    const char kSwitched[] = "[General]\r\ndata_path = c:\\other\\data \r\nUser = Ann\r\n";
    const std::string strRunning = "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n";
    const std::string strPutBack =
        "Put back the database of an interrupted run in srcsafe.ini (data_path = c:\\vss\\data).\r\n" + strRunning;
    const std::string strUnreadable = "Could not read srcsafe.ini.tarnrestore, the record of an interrupted run: " +
                                      SystemTextLine(ERROR_INVALID_DATA) +
                                      "\r\nRun tarn.exe again; if this stays, check srcsafe.ini's data_path line "
                                      "and delete srcsafe.ini.tarnrestore.\r\n";
    struct Case
    {
        const char* szRecord;
        bool bPutBack;
    };
    const Case cases[] = {
        {kRecord, true},
        {"tarn: data_path to put back\nc:\\vss\\data", true},
        {"tarn: something else\nc:\\x", false},
        {"tarn: data_path to put back\r\nc:\\vss\\data\r\nc:\\x\r\n", false},
        {"tarn: data_path to put back\r\nc:\\vss\\data\r\nc:\\x", false},
        // Saved from Notepad as UTF-8, with a byte-order mark.
        {"\xEF\xBB\xBFtarn: data_path to put back\r\nc:\\vss\\data\r\n", false},
        {"; tarn: data_path to put back\r\nc:\\vss\\data\r\n", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::string(c.szRecord)));
        DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
        WriteBytes(install.Ini(), kSwitched);
        WriteBytes(install.Ini() + ".tarnrestore", c.szRecord);
        const CRunResult result = install.RunTarn(Args());
        EXPECT_EQ(BannerText() + (c.bPutBack ? strPutBack : strUnreadable), result.strOut);
        EXPECT_EQ(c.bPutBack, install.StandinRan());
        EXPECT_EQ(c.bPutBack ? kIniAfter : kSwitched, ReadBytes(install.Ini()));
        if (c.bPutBack)
            EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
        else
            EXPECT_EQ(c.szRecord, ReadBytes(install.Ini() + ".tarnrestore"));
    }
}

// Another program keeps the lock file open to itself. For a moment (another
// run deleting it), the run tries again and is guarded: the lock file goes
// with it. For longer, the run goes ahead unguarded after a few seconds of
// trying, leaves the other program's file alone, and still switches, with
// its record, and switches back.
TEST(Guard, LockFileHeldByAnotherProgram)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    const std::string strLock = install.Ini() + ".tarnlock";
    for (const bool bWholeRun : {false, true})
    {
        SCOPED_TRACE(bWholeRun ? "held for the whole run" : "held for a moment");
        WriteBytes(install.Ini(), kIni);
        HANDLE hLock =
            CreateFileA(strLock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
        std::thread holder(
            [&]
            {
                if (bWholeRun)
                    return;
                Sleep(1500);
                CloseHandle(hLock);
            });
        const CRunResult result = install.RunTarn(Args(Name("")));
        holder.join();
        if (bWholeRun)
            CloseHandle(hLock);
        EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
                  result.strOut);
        EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "call"));
        EXPECT_EQ(kRecord, ReadBytes(install.Folder() + "\\call.restore"));
        EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
        std::vector<std::string> files = install.FilesBesideIni();
        std::sort(files.begin(), files.end());
        const std::vector<std::string> expected =
            bWholeRun ? std::vector<std::string>{"srcsafe.ini", "srcsafe.ini.tarnlock"}
                      : std::vector<std::string>{"srcsafe.ini"};
        EXPECT_EQ(expected, files);
        DeleteFileA(strLock.c_str());
    }
}

// A record with nothing to put back goes without a word: a run killed before
// its switch (srcsafe.ini holds the path already), a srcsafe.ini whose
// data_path line has been removed by hand, or one that is gone.
TEST(Guard, RecordWithNothingToPutBackGoesWithoutAWord)
{
    CScratchInstall install;
    const std::string strRunning = "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n";
    for (const char* szIni : {kIni, "[General]\r\nUser = Ann\r\n", static_cast<const char*>(nullptr)})
    {
        DeleteFileA(install.Ini().c_str());
        if (szIni)
            WriteBytes(install.Ini(), szIni);
        WriteBytes(install.Ini() + ".tarnrestore", kRecord);
        const CRunResult next = install.RunTarn(Args());
        EXPECT_EQ(BannerText() + strRunning, next.strOut);
        EXPECT_EQ(szIni ? std::string(szIni) : std::string(), ReadBytes(install.Ini()));
        EXPECT_EQ(szIni ? std::vector<std::string>{"srcsafe.ini"} : std::vector<std::string>{},
                  install.FilesBesideIni());
    }
}

// What a run killed in the middle of a rewrite left, without a record (it
// was killed writing the record itself): the next run removes it.
TEST(Guard, TemporaryFilesOfAKilledRunAreRemoved)
{
    CScratchInstall install;
    WriteBytes(install.Ini(), kIni);
    WriteBytes(install.Ini() + ".tarnlock", "");
    WriteBytes(install.Ini() + ".tarnrestore.tarn4242-0.tmp", "tarn: data_pa");
    const CRunResult next = install.RunTarn(Args());
    EXPECT_TRUE(install.StandinRan());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// Ctrl+C while a run waits for another run gives the wait up: no SS.EXE, the
// log all the same, and the other run undisturbed. (Ctrl+Break is handled
// alike; Wine cannot raise it, so console_interrupts_test covers it.)
TEST(Guard, CtrlCGivesUpTheWait)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    {
        CChild runA(install.Tarn(), Args(Name("")), HeldEnv(install, "a"));
        ASSERT_TRUE(WaitForStandin(install, "a"));
        std::vector<std::string> args = Args();
        args.push_back("-LOG");
        // A console of its own, in which the keys are pressed.
        CChild waiting(install.Tarn(), args, install.StandinEnv("b"), "", nullptr, CREATE_NEW_CONSOLE);
        ASSERT_TRUE(waiting.WaitForOutput(kWaiting, kPatience));
        const CRunResult keys =
            RunProgram(StandinExe(), {}, {{"STANDIN_ACTION", "ctrl-c:" + std::to_string(waiting.ProcessId())}});
        EXPECT_EQ(0u, keys.nExitCode) << "the keys could not be pressed in that console";
        const bool bGaveUp = waiting.Ended(kPatience);
        Release(install, "a");
        const CRunResult result = waiting.Wait();
        runA.Wait();

        EXPECT_TRUE(bGaveUp);
        EXPECT_EQ(BannerText() + kWaiting +
                      "Stopped waiting for the other run of tarn.exe: SS.EXE was not started.\r\n",
                  result.strOut);
        EXPECT_EQ(0u, result.nExitCode);
        EXPECT_FALSE(install.StandinRan("b"));
        EXPECT_NE(std::string::npos, ReadBytes(install.Log()).find("\t<SSCmdLine></SSCmdLine>\r\n"));
        EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "a"));
        EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
    }
}

// srcsafe.ini changed by someone else while a run waited to switch: the switch
// back restores what the file held when the switch was made, not what was read
// before the wait. One that has come to include another is not switched at all.
TEST(Guard, SrcsafeIniIsReadAgainOnceTheGuardIsExclusive)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    struct Case
    {
        const char* szChangedTo;
        const char* szAfter; // and, when the change named the other database already, no switch at all
        const char* szSeen;  // by SS.EXE in srcsafe.ini
    };
    const char kIncluding[] = "#include C:\\Server\\srcsafe.ini\r\nData_Path = C:\\Changed\\Data\r\n";
    const Case cases[] = {
        {"[General]\r\nData_Path = C:\\Changed\\Data\r\nUser = Ann\r\n",
         "[General]\r\ndata_path = c:\\changed\\data \r\nUser = Ann\r\n", "c:\\other\\data"},
        {"[General]\r\nData_Path = C:\\Other\\Data\r\nUser = Ann\r\n",
         "[General]\r\nData_Path = C:\\Other\\Data\r\nUser = Ann\r\n", "c:\\other\\data"},
        // Refused, as the database's folder holds no srcsafe.ini.
        {kIncluding, kIncluding, "(no data_path line)"},
    };
    for (const Case& c : cases)
    {
        WriteBytes(install.Ini(), kIni);
        DeleteFileA((install.Folder() + "\\release-plain").c_str());
        DeleteFileA((install.Folder() + "\\plain.cmdline").c_str());
        DeleteFileA((install.Folder() + "\\b.ini").c_str());
        CChild plain(install.Tarn(), Args(), HeldEnv(install, "plain"));
        ASSERT_TRUE(WaitForStandin(install, "plain"));
        CChild switching(install.Tarn(), Args(Name("")), install.StandinEnv("b"));
        ASSERT_TRUE(switching.WaitForOutput(kWaiting, kPatience));
        WriteBytes(install.Ini(), c.szChangedTo);
        Release(install, "plain");
        plain.Wait();
        switching.Wait();
        EXPECT_EQ(c.szSeen, DataPathSeen(install, "b"));
        EXPECT_EQ(c.szAfter, ReadBytes(install.Ini()));
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
    }
}

// Two runs wait to switch behind a plain run; the one that goes first is
// killed inside its SS.EXE call. The other must put that switch back before
// it reads the path to restore: read first, it would restore the killed
// run's database, for good.
TEST(Guard, RunThatWaitedPutsBackTheSwitchOfARunKilledMeanwhile)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    CChild plain(install.Tarn(), Args(), HeldEnv(install, "plain"));
    ASSERT_TRUE(WaitForStandin(install, "plain"));
    CEnvironment envA = install.StandinEnv("a");
    envA["STANDIN_ACTION"] = "kill-parent-once:" + install.Folder() + "\\killed";
    CEnvironment envB = install.StandinEnv("b");
    envB["STANDIN_ACTION"] = envA["STANDIN_ACTION"];
    CChild runA(install.Tarn(), Args(Name("")), envA);
    ASSERT_TRUE(runA.WaitForOutput(kWaiting, kPatience));
    CChild runB(install.Tarn(), Args(Name("")), envB);
    ASSERT_TRUE(runB.WaitForOutput(kWaiting, kPatience));
    Release(install, "plain");
    plain.Wait();
    const CRunResult resultA = runA.Wait();
    const CRunResult resultB = runB.Wait();

    const bool bAKilled = resultA.nExitCode != 0;
    ASSERT_NE(bAKilled, resultB.nExitCode != 0) << "exactly one run is to be killed";
    EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "a"));
    EXPECT_EQ("c:\\other\\data", DataPathSeen(install, "b"));
    EXPECT_NE(std::string::npos,
              (bAKilled ? resultB : resultA)
                  .strOut.find("Put back the database of an interrupted run in srcsafe.ini (data_path = "
                               "c:\\vss\\data).\r\n"));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// A run ended hard while it writes the new srcsafe.ini: the file is whole, and
// the next run leaves it put back with nothing beside it.
TEST(Guard, KillDuringARewriteLeavesNothingAfterTheNextRun)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    // Large enough that the rewrite takes a while.
    std::string strIni = kIni;
    for (int i = 0; strIni.size() < 16 * 1024 * 1024; ++i)
        strIni += "Setting" + std::to_string(i) + " = " + std::string(100, 'x') + "\r\n";
    std::string strRestored = strIni;
    strRestored.replace(0, std::strlen(kIni), kIniAfter);
    WriteBytes(install.Ini(), strIni);

    const std::string strPattern = install.Ini() + ".tarn*.tmp";
    CChild run(install.Tarn(), Args(Name("")), install.StandinEnv());
    bool bKilled = false;
    while (!bKilled && !run.Ended(0))
    {
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA(strPattern.c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        // The temporary file of srcsafe.ini itself, not that of the record.
        do
            bKilled = bKilled || std::string(found.cFileName).find("tarnrestore") == std::string::npos;
        while (FindNextFileA(hFind, &found));
        FindClose(hFind);
        if (bKilled)
            run.Terminate();
    }
    run.Wait();
    ASSERT_TRUE(bKilled) << "the run ended before its temporary file was seen";
    EXPECT_FALSE(install.StandinRan());
    std::string strSeen;
    EXPECT_TRUE(ReadBytes(install.Ini()) == strIni ||
                (ReadDataPath(ReadBytes(install.Ini()), strSeen) && strSeen == "c:\\other\\data"));

    install.RunTarn(Args(), {}, "");
    EXPECT_EQ("c:\\vss\\data", DataPathSeen(install, "call"));
    const std::string strAfter = ReadBytes(install.Ini());
    EXPECT_TRUE(strAfter == strIni || strAfter == strRestored) << "srcsafe.ini is neither as it was nor put back";
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}
