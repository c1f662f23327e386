// Runs that overlap, and runs that are killed while srcsafe.ini is switched.
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
const char kIni[] = "[General]\r\nData_Path = C:\\VSS\\Data\r\nUser = Ann\r\n";
const char kIniAfter[] = "[General]\r\ndata_path = c:\\vss\\data \r\nUser = Ann\r\n";
const char kWaiting[] = "Waiting for another run of tarn.exe to finish with srcsafe.ini...\r\n";

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
    const std::string strIni = install.RecordedIni(strRecord);
    const std::size_t nStart = strIni.find("data_path = ");
    if (nStart == std::string::npos)
        return "(none): " + strIni;
    return strIni.substr(nStart + 12, strIni.find(' ', nStart + 12) - nStart - 12);
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
    EXPECT_FALSE(install.StandinRan("b"));
    Release(install, "a");
    const CRunResult resultA = runA.Wait();
    const CRunResult resultB = runB.Wait();

    EXPECT_TRUE(bWaited);
    EXPECT_EQ("c:\\first\\data", DataPathSeen(install, "a"));
    EXPECT_EQ("c:\\second\\data", DataPathSeen(install, "b"));
    EXPECT_EQ(std::string::npos, resultA.strOut.find(kWaiting));
    EXPECT_EQ(BannerText() + kWaiting, resultB.strOut.substr(0, BannerText().size() + sizeof(kWaiting) - 1));
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
                  "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
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

TEST(Guard, RecordOfAKilledRunStaysUntilSrcsafeIniCanBePutBack)
{
    CScratchInstall install;
    CTestDatabase other(Name(""), "C:\\Other");
    WriteBytes(install.Ini(), kIni);
    ASSERT_NO_FATAL_FAILURE(KillRunWhileSwitched(install, Name("")));
    const std::string strSwitched = ReadBytes(install.Ini());

    ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    const CRunResult blocked = install.RunTarn(Args(), {}, "");
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(std::string::npos,
              blocked.strOut.find("srcsafe.ini still holds the database of an interrupted run: it could not be put "
                                  "back to data_path = c:\\vss\\data.\r\n"));
    EXPECT_EQ(strSwitched, ReadBytes(install.Ini()));

    const CRunResult next = install.RunTarn(Args());
    EXPECT_NE(std::string::npos, next.strOut.find("Put back the database of an interrupted run"));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}
