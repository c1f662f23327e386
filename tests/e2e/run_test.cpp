// The program as an editor meets it: banner, usage text, failures of the
// command line, and the exit status.
#include "tests/support/scratch.h"

#include "version.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
const char kUsage[] = "Usage:\n"
                      " tarn.exe root command filename [-options] [-DB:name] [-PP:prefix] [-LOG]\n\n"
                      "\t root:      drive path of the working folder for $/ in SS\n"
                      "\t              example: \"c:\\src\\work\"\n"
                      "\t  or:       $<ENVIRON> where <ENVIRON> is an environment\n"
                      "\t                       variable containing the drive path\n"
                      "\t              example: \"$SSROOT\"\n\n"
                      "\tcommand:    any valid SS.EXE command\n"
                      "\t              example: checkout\n\n"
                      "\t-options:   any valid SS.EXE command\n"
                      "\t              example: \"-GWR\"\n\n"
                      "\t-DB:name    name is the name of the database you wish to use\n"
                      "\t              example: \"-DB:Common\"\n\n"
                      "\t-PP:prefix  prefix folder for source safe which will be inserted\n"
                      "\t            between \"$/\" and the rest of the path\n"
                      "\t            (helpful if project is stored in multiple SS folders)\n"
                      "\t              example: \"-PP:release\"\n"
                      "\t-LOG        creates TARNLOG.XML, to be sent with the output\n"
                      "\t               to " TARN_SUPPORT_CONTACT " for technical support\n\n"
                      "Examples:\n"
                      "\ttarn.exe C:\\DEV\\SRC checkout C:\\DEV\\SRC\\PROJ1\\HELLO.CPP -GWR\n"
                      "\ttarn.exe $SSROOT checkin C:\\LOCAL\\SOURCE\\MYPROJ\\MAIN.MAK -GWR\n"
                      "\ttarn.exe $SSROOT undocheckout $SSROOT\\THEPROJ\\HELP.H -GWR\n"
                      "\ttarn.exe $SSROOT checkout $SSROOT\\THEPROJ\\HELP.H -GWR -DB:Remote\n";
}

TEST(Run, BannerStartsEveryRun)
{
    CScratchInstall install;
    const CRunResult result = install.RunTarn({});
    // Title with the version, a credit line after one tab, the support contact after two, an empty line.
    const std::string strBanner = result.strOut.substr(0, result.strOut.find("Usage:"));
    ASSERT_EQ(4, std::count(strBanner.begin(), strBanner.end(), '\n')) << strBanner;
    EXPECT_NE(std::string::npos, strBanner.find("(ver. " TARN_VERSION_TEXT ")\r\n\t"));
    EXPECT_NE(std::string::npos, strBanner.find("\r\n\t\t"));
    EXPECT_NE(std::string::npos, strBanner.find("\t\tTechnical support: " TARN_SUPPORT_CONTACT "\r\n"));
    EXPECT_EQ("\r\n\r\n", strBanner.substr(strBanner.size() - 4));
    EXPECT_EQ(BannerText(), strBanner);
}

TEST(Run, TooFewArgumentsShowTheUsageText)
{
    CScratchInstall install;
    const std::string strExpected = BannerText() + Crlf(kUsage) + "Not enough command line parameters.\r\n";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{}, {"C:\\DEV\\SRC"}, {"C:\\DEV\\SRC", "-LOG"}})
    {
        const CRunResult result = install.RunTarn(args);
        EXPECT_EQ(strExpected, result.strOut);
        EXPECT_EQ("", result.strErr);
        EXPECT_EQ(0u, result.nExitCode);
    }
    EXPECT_FALSE(install.StandinRan());
    EXPECT_FALSE(Exists(install.Log()));
}

TEST(Run, CommandLineFailuresStartNothingAndWriteNoLog)
{
    CScratchInstall install;
    WriteBytes(install.Ini(), "Data_Path = C:\\VSS\\Data\r\n");
    struct Case
    {
        std::vector<std::string> args;
        const char* szMessage;
    };
    const Case cases[] = {
        {{"$TARN_E2E_UNSET", "checkout", "X.C", "-LOG", "-DB:Remote"}, "Environment variable not found."},
        {{"C:\\DEV\\SRC", "checkout", "C:\\DEV", "-LOG"}, "File name is not below the root folder."},
        {{"C:\\DEV\\SRC", "checkout", std::string(300, 'x'), "-LOG"}, "Could not get the full path of the file."},
        {{"C:\\DEV\\SRC", "checkout", "", "-LOG"}, "Could not get the full path of the file."},
    };
    for (const Case& c : cases)
    {
        const CRunResult result = install.RunTarn(c.args);
        EXPECT_EQ(BannerText() + c.szMessage + "\r\n", result.strOut);
        EXPECT_EQ(0u, result.nExitCode);
    }
    EXPECT_FALSE(install.StandinRan());
    EXPECT_FALSE(Exists(install.Log()));
    EXPECT_EQ("Data_Path = C:\\VSS\\Data\r\n", ReadBytes(install.Ini()));
}

TEST(Run, EnvironmentRootIsLookedUp)
{
    CScratchInstall install;
    const CRunResult result = install.RunTarn({"$SSROOT", "undocheckout", "$SSROOT\\THEPROJ\\HELP.H", "-GWR"},
                                              {{"SSROOT", "C:\\DEV\\SRC\\"}});
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() +
                  "\" undocheckout \"$/THEPROJ/HELP.H\" -GWR -I- -NL\r\n",
              result.strOut);
}

TEST(Run, OnlyAMissingVariableFailsAnEmptyOneIsARoot)
{
    CScratchInstall install;
    const std::vector<std::string> args = {"$TARN_E2E_ROOT", "checkout", "C:\\PROJ1\\HELLO.CPP", "-GWR"};
    // Not in the environment at all: the run stops.
    const CRunResult missing = install.RunTarn(args);
    EXPECT_EQ(BannerText() + "Environment variable not found.\r\n", missing.strOut);
    EXPECT_FALSE(install.StandinRan());
    // Set to nothing: the root is empty, so the whole file name makes the project path.
    const CRunResult empty = install.RunTarn(args, {{"TARN_E2E_ROOT", ""}});
    const std::string strCall =
        "\"" + install.StandinCopy() + "\" checkout \"$C:/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL";
    EXPECT_EQ(BannerText() + "Running: " + strCall + "\r\n", empty.strOut);
    EXPECT_EQ(strCall, install.RecordedCommandLine());
}

TEST(Run, WildcardsReachTheProgramUnexpanded)
{
    CScratchInstall install;
    const std::string strRoot = install.Folder() + "\\work";
    WriteBytes(strRoot + "\\a.c", "x");
    const CRunResult result = install.RunTarn({strRoot, "checkout", strRoot + "\\*.c", "-*"});
    EXPECT_EQ("\"" + install.StandinCopy() + "\" checkout \"$/*.c\" -* -I- -C- -NL", install.RecordedCommandLine());
    EXPECT_EQ(0u, result.nExitCode);
}
