// "-LOG": tarnlog.xml beside the program, with every argument and every value of the run.
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
// The log of a run, from the parameter list to the end, as the text the program builds.
std::string ExpectedLog(const std::vector<std::string>& params, const std::vector<std::string>& values)
{
    static const char* const kNames[] = {
        "Root",    "Command",    "FileName",  "Database", "PathPrefix",      "Parameters",     "IniPath",
        "ExePath", "SSFilePath", "SSCmdLine", "RealRoot", "OldDatabasePath", "NewDatabasePath"};
    std::string strLog = "<Log>\n\t<Parameters>\n";
    for (const std::string& strParam : params)
        strLog += "\t\t<Parameter>" + strParam + "</Parameter>\n";
    strLog += "\t</Parameters>\n";
    for (std::size_t i = 0; i < 13; ++i)
        strLog += std::string("\t<") + kNames[i] + ">" + values.at(i) + "</" + kNames[i] + ">\n";
    return Crlf(strLog + "</Log>\n");
}

std::string DatabaseName()
{
    return std::string("TarnLog.") + testing::UnitTest::GetInstance()->current_test_info()->name();
}
}

TEST(Log, FirstUsageExample)
{
    CScratchInstall install;
    const std::string strBin = install.Bin() + "\\";
    install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR", "-LOG"});
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_EQ(
        ExpectedLog({install.Tarn(), "C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR", "-LOG"},
                    {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "", "", " -GWR -I- -C- -NL",
                     strBin + "..\\srcsafe.ini", strBin + "ss.exe", "$/PROJ1/HELLO.CPP",
                     "\"" + strBin + "ss.exe\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL", "C:\\DEV\\SRC", "",
                     ""}),
        strLog);
    EXPECT_EQ(23, std::count(strLog.begin(), strLog.end(), '\n'));
}

TEST(Log, ValuesAreWrittenRaw)
{
    CScratchInstall install;
    const std::string strBin = install.Bin() + "\\";
    const std::string strFile = "C:\\A&B\\<x>\\\xC4\xE9.cpp";
    install.RunTarn({"C:\\A&B", "checkout", strFile, "", "-Y<&>", "-PP:p&q", "-log"});
    EXPECT_EQ(ExpectedLog({install.Tarn(), "C:\\A&B", "checkout", strFile, "", "-Y<&>", "-PP:p&q", "-log"},
                          {"C:\\A&B", "checkout", strFile, "", "p&q", " -Y<&> -I- -C- -NL",
                           strBin + "..\\srcsafe.ini", strBin + "ss.exe", "$/p&q/<x>/\xC4\xE9.cpp",
                           "\"" + strBin + "ss.exe\" checkout \"$/p&q/<x>/\xC4\xE9.cpp\" -Y<&> -I- -C- -NL",
                           "C:\\A&B", "", ""}),
              ReadBytes(install.Log()));
}

TEST(Log, NoLogWithoutTheSwitchEvenWhenAnOldOneExists)
{
    CScratchInstall install;
    WriteBytes(install.Log(), "old log");
    install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"});
    EXPECT_TRUE(install.StandinRan());
    EXPECT_EQ("old log", ReadBytes(install.Log()));
}

TEST(Log, NoLogAfterAParsingFailure)
{
    CScratchInstall install;
    install.RunTarn({"C:\\DEV\\SRC", "-LOG"});
    install.RunTarn({"$TARN_LOG_UNSET", "checkout", "X.C", "-LOG"});
    EXPECT_FALSE(Exists(install.Log()));
}

TEST(Log, WrittenAfterAFailedLaunch)
{
    CScratchInstall install;
    const std::string strBin = install.Bin() + "\\";
    ASSERT_TRUE(DeleteFileA(install.StandinCopy().c_str()));
    install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG"});
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_NE(std::string::npos,
              strLog.find("\t<SSCmdLine>\"" + strBin + "ss.exe\" checkout \"$/A.C\" -I- -C- -NL</SSCmdLine>\r\n"));
    EXPECT_EQ(std::string::npos, strLog.find("Could not"));
}

TEST(Log, WrittenWhenSrcsafeIniIsMissing)
{
    CScratchInstall install;
    const std::string strBin = install.Bin() + "\\";
    // A root through a variable: RealRoot shows its folder.
    install.RunTarn({"$SSROOT", "checkout", "$SSROOT\\A.C", "-DB:Remote", "-LOG"}, {{"SSROOT", "C:\\DEV\\SRC"}});
    EXPECT_EQ(ExpectedLog({install.Tarn(), "$SSROOT", "checkout", "$SSROOT\\A.C", "-DB:Remote", "-LOG"},
                          {"$SSROOT", "checkout", "C:\\DEV\\SRC\\A.C", "Remote", "", " -I- -C- -NL",
                           strBin + "..\\srcsafe.ini", strBin + "ss.exe", "$/A.C", "", "C:\\DEV\\SRC", "", ""}),
              ReadBytes(install.Log()));
}

TEST(Log, ShowsBothDatabasePathsAfterASwitch)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), "Data_Path = C:\\VSS\\Data\r\n");
    install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:" + DatabaseName(), "-LOG"});
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_NE(std::string::npos, strLog.find("\t<Database>" + DatabaseName() + "</Database>\r\n"));
    EXPECT_NE(std::string::npos, strLog.find("\t<OldDatabasePath>c:\\vss\\data</OldDatabasePath>\r\n"
                                             "\t<NewDatabasePath>c:\\shared\\vss\\data</NewDatabasePath>\r\n"));
    EXPECT_EQ("data_path = c:\\vss\\data \r\n", ReadBytes(install.Ini()));
}

TEST(Log, EachRunReplacesTheLog)
{
    CScratchInstall install;
    install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\FIRST.C", "-LOG"});
    install.RunTarn({"C:\\DEV\\SRC", "checkin", "C:\\DEV\\SRC\\SECOND.C", "-LOG"});
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_EQ(std::string::npos, strLog.find("FIRST"));
    EXPECT_NE(std::string::npos, strLog.find("<SSFilePath>$/SECOND.C</SSFilePath>"));
    EXPECT_EQ(0u, strLog.find("<Log>\r\n"));
    EXPECT_EQ(strLog.size() - 8, strLog.find("</Log>\r\n"));
}

TEST(Log, UnwritableLogIsSkippedSilently)
{
    CScratchInstall install;
    // A folder where the file should be: it cannot be opened as a file.
    ASSERT_TRUE(CreateDirectoryA(install.Log().c_str(), nullptr));
    const CRunResult result = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG"});
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
              result.strOut);
    EXPECT_TRUE(install.StandinRan());
    EXPECT_EQ(0u, result.nExitCode);
}
