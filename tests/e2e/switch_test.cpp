// "-DB:": srcsafe.ini pointed at another database for the length of one SS.EXE call.
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
const char kIni[] = "; SourceSafe settings, shared by the team\r\n"
                    "[General]\n"
                    "Data_Path = C:\\VSS\\Data   ; the main database\r\n"
                    "Temp_Path = C:\\Temp\\VSS\n"
                    "\n"
                    "UserName = Ann \xC4rger\r\n"
                    "Data_Path = C:\\Second\\Data\n";

const char kIniAfter[] = "; SourceSafe settings, shared by the team\r\n"
                         "[General]\r\n"
                         "data_path = c:\\vss\\data ; the main database\r\n"
                         "Temp_Path = C:\\Temp\\VSS\r\n"
                         "\r\n"
                         "UserName = Ann \xC4rger\r\n"
                         "Data_Path = C:\\Second\\Data\r\n";

std::string DatabaseName()
{
    return std::string("TarnE2E.") + testing::UnitTest::GetInstance()->current_test_info()->name();
}

FILETIME WriteTime(const std::string& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// Sets the file's time back an hour, so that any rewrite would show.
void AgeFile(const std::string& strPath)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    FILETIME time = WriteTime(strPath);
    ULARGE_INTEGER value = {{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart -= 36000000000ULL;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = value.HighPart;
    SetFileTime(hFile, nullptr, nullptr, &time);
    CloseHandle(hFile);
}

std::vector<std::string> Args(const std::string& strDatabase, std::vector<std::string> extra = {})
{
    std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR",
                                     "-DB:" + strDatabase};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}
}

TEST(Switch, SSExeSeesTheOtherDatabaseAndTheFileComesBack)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    const CRunResult result = install.RunTarn(Args(DatabaseName()));

    std::string strDuring = kIniAfter;
    strDuring.replace(strDuring.find("c:\\vss\\data"), 11, "c:\\shared\\vss\\data");
    EXPECT_EQ(strDuring, install.RecordedIni());
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() +
                  "\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL\r\n",
              result.strOut);
    EXPECT_EQ(0u, result.nExitCode);
}

TEST(Switch, SamePathLeavesTheFileUntouched)
{
    CScratchInstall install;
    // Equal once both are lower-cased.
    CTestDatabase database(DatabaseName(), "c:\\VSS");
    WriteBytes(install.Ini(), kIni);
    AgeFile(install.Ini());
    const FILETIME before = WriteTime(install.Ini());
    install.RunTarn(Args(DatabaseName()));
    const FILETIME after = WriteTime(install.Ini());

    EXPECT_EQ(kIni, install.RecordedIni());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(0, CompareFileTime(&before, &after));
}

TEST(Switch, UnknownDatabaseSwitchesToAnEmptyPathAndBack)
{
    CScratchInstall install;
    WriteBytes(install.Ini(), kIni);
    install.RunTarn(Args("TarnE2E.NoSuchDatabase"));
    std::string strDuring = kIniAfter;
    strDuring.replace(strDuring.find(" c:\\vss\\data "), 13, "  ");
    EXPECT_EQ(strDuring, install.RecordedIni());
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
}

TEST(Switch, MissingSrcsafeIniStopsTheRunAndIsNotCreated)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    const CRunResult result = install.RunTarn(Args(DatabaseName()));
    EXPECT_EQ(BannerText() + "Could not locate current database path in srcsafe.ini\r\n", result.strOut);
    EXPECT_FALSE(install.StandinRan());
    EXPECT_FALSE(Exists(install.Ini()));
    EXPECT_EQ(0u, result.nExitCode);
}

TEST(Switch, FailedLaunchStillSwitchesBack)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    ASSERT_TRUE(DeleteFileA(install.StandinCopy().c_str()));
    const CRunResult result = install.RunTarn(Args(DatabaseName()));
    EXPECT_NE(std::string::npos, result.strOut.find("\r\nCould not launch SS.EXE.\r\n"));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
}

TEST(Switch, ReadOnlySrcsafeIniIsNeverWritten)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    const CRunResult result = install.RunTarn(Args(DatabaseName()));
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(kIni, install.RecordedIni());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() +
                  "\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL\r\n",
              result.strOut);
}

TEST(Switch, ConsoleInterruptsDoNotStopTheSwitchBack)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    CEnvironment env = install.StandinEnv();
    env["STANDIN_ACTION"] = "ctrl-events";
    // A console of their own, shared by tarn.exe and the stand-in, for the events to travel in.
    CChild child(install.Tarn(), Args(DatabaseName(), {"-LOG"}), env, "", nullptr, CREATE_NEW_CONSOLE);
    const CRunResult result = child.Wait();
    ASSERT_TRUE(install.StandinFinished());
    EXPECT_EQ(0u, result.nExitCode);
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_NE(std::string::npos, ReadBytes(install.Log()).find("<NewDatabasePath>c:\\shared\\vss\\data<"));
}
