#include "app/tarn_app.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace
{
// Sets an environment variable for one test and puts the old state back.
class CScopedVariable
{
public:
    CScopedVariable(const char* szName, const char* szValue) : m_strName(szName)
    {
        char buffer[1024];
        const DWORD n = GetEnvironmentVariableA(szName, buffer, sizeof(buffer));
        m_bHad = n > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        m_strOld.assign(buffer, n < sizeof(buffer) ? n : 0);
        SetEnvironmentVariableA(szName, szValue);
    }
    ~CScopedVariable() { SetEnvironmentVariableA(m_strName.c_str(), m_bHad ? m_strOld.c_str() : nullptr); }

private:
    std::string m_strName;
    std::string m_strOld;
    bool m_bHad = false;
};

// Parses the arguments after the program's path.
void Parse(CTarnApp& app, std::initializer_list<const char*> args)
{
    std::vector<std::string> storage = {"C:\\VSS\\BIN\\tarn.exe"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(&s[0]);
    app.ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

std::string ParseFailure(std::initializer_list<const char*> args)
{
    CTarnApp app;
    try
    {
        Parse(app, args);
    }
    catch (const CTarnApp::CTarnException& e)
    {
        return e.m_strMessage;
    }
    return "(no failure)";
}
}

TEST(CommandLine, WorkedExamples)
{
    struct Case
    {
        std::initializer_list<const char*> args;
        const char* szSsRoot;
        const char* szRealRoot;
        const char* szFileName;
        const char* szSSFilePath;
        const char* szParameters;
        const char* szDatabase;
        const char* szPrefix;
        bool bLog;
    };
    const Case cases[] = {
        {{"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR"},
         nullptr,
         "C:\\DEV\\SRC",
         "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP",
         "$/PROJ1/HELLO.CPP",
         " -GWR -I- -C- -NL",
         "",
         "",
         false},
        {{"$SSROOT", "checkin", "C:\\LOCAL\\SOURCE\\MYPROJ\\MAIN.MAK", "-GWR"},
         "C:\\LOCAL\\SOURCE",
         "C:\\LOCAL\\SOURCE",
         "C:\\LOCAL\\SOURCE\\MYPROJ\\MAIN.MAK",
         "$/MYPROJ/MAIN.MAK",
         " -GWR -I- -C- -NL",
         "",
         "",
         false},
        {{"$SSROOT", "undocheckout", "$SSROOT\\THEPROJ\\HELP.H", "-GWR"},
         "C:\\DEV\\SRC",
         "C:\\DEV\\SRC",
         "C:\\DEV\\SRC\\THEPROJ\\HELP.H",
         "$/THEPROJ/HELP.H",
         " -GWR -I- -NL",
         "",
         "",
         false},
        {{"$SSROOT", "checkout", "$SSROOT\\THEPROJ\\HELP.H", "-GWR", "-DB:Remote"},
         "C:\\DEV\\SRC\\",
         "C:\\DEV\\SRC",
         "C:\\DEV\\SRC\\THEPROJ\\HELP.H",
         "$/THEPROJ/HELP.H",
         " -GWR -I- -C- -NL",
         "Remote",
         "",
         false},
        // A variable whose name is longer than its folder: the folder counts.
        {{"$MY_SOURCE_ROOT_FOLDER", "checkout", "C:\\W\\A.C"},
         nullptr,
         "C:\\W",
         "C:\\W\\A.C",
         "$/A.C",
         " -I- -C- -NL",
         "",
         "",
         false},
        {{"C:\\DEV\\SRC\\", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-PP:release", "-log"},
         nullptr,
         "C:\\DEV\\SRC",
         "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP",
         "$/release/PROJ1/HELLO.CPP",
         " -I- -C- -NL",
         "",
         "release",
         true},
    };
    CScopedVariable longName("MY_SOURCE_ROOT_FOLDER", "C:\\W");
    for (const Case& c : cases)
    {
        CScopedVariable ssroot("SSROOT", c.szSsRoot);
        CTarnApp app;
        Parse(app, c.args);
        const std::string strWhat = std::string(*c.args.begin()) + " " + *(c.args.begin() + 1);
        EXPECT_EQ(*c.args.begin(), app.m_strRoot) << strWhat;
        EXPECT_EQ(*(c.args.begin() + 1), app.m_strCommand) << strWhat;
        EXPECT_EQ(c.szRealRoot, app.m_strRealRoot) << strWhat;
        EXPECT_EQ(c.szFileName, app.m_strFileName) << strWhat;
        EXPECT_EQ(c.szSSFilePath, app.m_strSSFilePath) << strWhat;
        EXPECT_EQ(c.szParameters, app.m_strParameters) << strWhat;
        EXPECT_EQ(c.szDatabase, app.m_strDatabase) << strWhat;
        EXPECT_EQ(c.szPrefix, app.m_strPathPrefix) << strWhat;
        EXPECT_EQ(c.bLog, app.m_bLog) << strWhat;
    }
}

TEST(CommandLine, EnvironmentNameMatchesInAnyLetterCase)
{
    CScopedVariable root("TarnTestRoot", "C:\\DEV\\SRC");
    CTarnApp app;
    Parse(app, {"$TARNTESTROOT", "checkout", "C:\\DEV\\SRC\\A.C"});
    EXPECT_EQ("C:\\DEV\\SRC", app.m_strRealRoot);
    EXPECT_EQ("$/A.C", app.m_strSSFilePath);
}

TEST(CommandLine, RelativeFileNameIsResolvedAgainstTheCurrentDirectory)
{
    tarntest::CScratchInstall install;
    const std::string strRoot = install.Folder() + "\\work";
    tarntest::MakeFolders(strRoot + "\\PROJ1");
    char szOld[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szOld);
    ASSERT_TRUE(SetCurrentDirectoryA((strRoot + "\\PROJ1").c_str()));
    CTarnApp app;
    Parse(app, {strRoot.c_str(), "checkout", "HELLO.CPP"});
    CTarnApp fromRoot;
    const std::string strDrive = strRoot.substr(0, 2);
    Parse(fromRoot, {strDrive.c_str(), "checkout", "\\x\\HELLO.CPP"});
    // From a folder so deep that the full name takes 260 characters: refused.
    const std::string strDeep = strRoot + "\\" + std::string(250 - strRoot.size() - 1, 'd');
    tarntest::MakeFolders(strDeep);
    const bool bInDeep = SetCurrentDirectoryA(strDeep.c_str()) != FALSE;
    const std::string strDeepFailure = ParseFailure({strRoot.c_str(), "checkout", "HELLO.CPP"});
    SetCurrentDirectoryA(szOld);

    ASSERT_TRUE(bInDeep);
    EXPECT_EQ("Could not get the full path of the file.", strDeepFailure);

    EXPECT_EQ(strRoot + "\\PROJ1\\HELLO.CPP", app.m_strFileName);
    EXPECT_EQ("$/PROJ1/HELLO.CPP", app.m_strSSFilePath);
    // One leading backslash: put on the current drive.
    EXPECT_EQ(strDrive + "\\x\\HELLO.CPP", fromRoot.m_strFileName);
    EXPECT_EQ("$/x/HELLO.CPP", fromRoot.m_strSSFilePath);
}

TEST(CommandLine, AbsoluteAndDollarNamesAreNotResolved)
{
    // A drive path, a network path, a one-letter folder first, and a "$" name that stays after replacement.
    for (const char* szFile :
         {"C:\\DEV\\SRC\\X.C", "\\\\server\\share\\DEV\\X.C", "a\\relative\\X.C", "$X\\LONGER\\NAME.C"})
    {
        CTarnApp app;
        Parse(app, {"C:\\DEV\\SRC", "checkout", szFile});
        EXPECT_EQ(szFile, app.m_strFileName);
    }
}

TEST(CommandLine, SwitchRules)
{
    CTarnApp app;
    Parse(app, {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\X.C", "-DB:first", "-db:remote", "-PP:one", "-pp:two",
                "-LOGGING", "plain", "-GWR", "-Y X", "-", "-DB", "-LO"});
    EXPECT_EQ("remote", app.m_strDatabase);
    EXPECT_EQ("two", app.m_strPathPrefix);
    EXPECT_TRUE(app.m_bLog);
    // Dropped: "plain"; passed: every other "-" argument as it came, short ones included.
    EXPECT_EQ(" -GWR -Y X - -DB -LO -I- -C- -NL", app.m_strParameters);
    EXPECT_EQ("$/two/X.C", app.m_strSSFilePath);

    CTarnApp empty;
    Parse(empty, {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\X.C", "-DB:", "-PP:", "-Log"});
    EXPECT_EQ("", empty.m_strDatabase);
    EXPECT_EQ("", empty.m_strPathPrefix);
    EXPECT_TRUE(empty.m_bLog);
    EXPECT_EQ(" -I- -C- -NL", empty.m_strParameters);

    // Arguments 1 to 3 are never switches.
    CTarnApp early;
    Parse(early, {"C:\\DEV\\SRC", "-LOG", "C:\\DEV\\SRC\\X.C"});
    EXPECT_FALSE(early.m_bLog);
    EXPECT_EQ("-LOG", early.m_strCommand);
}

TEST(CommandLine, FileNameBeginningWithADashIsTheFileNameAndNoSwitch)
{
    char szCurrent[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, szCurrent));
    std::string strFolder = szCurrent;
    if (strFolder.back() != '\\')
        strFolder += '\\';
    // Each would change the run if it were read as a switch.
    for (const char* szFile : {"-GWR.C", "-LOG", "-DB:Remote", "-PP:release", "-I-N-C.txt"})
    {
        CTarnApp app;
        Parse(app, {szCurrent, "checkout", szFile});
        EXPECT_EQ(strFolder + szFile, app.m_strFileName);
        EXPECT_EQ(std::string("$/") + szFile, app.m_strSSFilePath);
        EXPECT_EQ(" -I- -C- -NL", app.m_strParameters) << szFile;
        EXPECT_EQ("", app.m_strDatabase) << szFile;
        EXPECT_EQ("", app.m_strPathPrefix) << szFile;
        EXPECT_FALSE(app.m_bLog) << szFile;
    }
}

TEST(CommandLine, RootEdgeCases)
{
    struct Case
    {
        const char* szRoot;
        const char* szFile;
        const char* szRealRoot;
        const char* szSSFilePath;
    };
    const Case cases[] = {
        {"C:\\", "C:\\PROJ\\X.H", "C:", "$/PROJ/X.H"},
        {"C:\\DEV\\SRC\\\\", "C:\\DEV\\SRC\\\\PROJ1\\HELLO.CPP", "C:\\DEV\\SRC\\", "$/PROJ1/HELLO.CPP"},
        {"c:\\dev\\src", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "c:\\dev\\src", "$/PROJ1/HELLO.CPP"},
        {"C:\\DEV\\SRC", "C:\\DEV\\SRC", "C:\\DEV\\SRC", "$"},
        // An empty root, as an empty variable gives: the whole name is the path.
        {"", "C:\\PROJ\\X.H", "", "$C:/PROJ/X.H"},
    };
    for (const Case& c : cases)
    {
        CTarnApp app;
        Parse(app, {c.szRoot, "checkout", c.szFile});
        EXPECT_EQ(c.szRoot, app.m_strRoot);
        EXPECT_EQ(c.szRealRoot, app.m_strRealRoot) << c.szRoot;
        EXPECT_EQ(c.szSSFilePath, app.m_strSSFilePath) << c.szRoot;
    }
}

TEST(CommandLine, DollarFileNameShorterThanTheRootNameIsReplacedWhole)
{
    CScopedVariable root("SSROOT", "C:\\DEV\\SRC");
    CTarnApp app;
    Parse(app, {"$SSROOT", "checkout", "$SS"});
    EXPECT_EQ("C:\\DEV\\SRC", app.m_strFileName);
    EXPECT_EQ("$", app.m_strSSFilePath);
}

TEST(CommandLine, Failures)
{
    CScopedVariable missing("TARN_TEST_NOT_SET", nullptr);
    CScopedVariable ssroot("SSROOT", "C:\\DEV\\SRC");
    std::string strLongName(300, 'x');
    struct Case
    {
        std::initializer_list<const char*> args;
        const char* szMessage;
    };
    const Case cases[] = {
        {{"$TARN_TEST_NOT_SET", "checkout", "X.C", "-LOG"}, "Environment variable not found."},
        {{"$", "checkout", "X.C"}, "Environment variable not found."},
        {{"C:\\DEV\\SRC", "checkout", "C:\\DEV"}, "File name is not below the root folder."},
        {{"$SSROOT", "checkout", "C:\\DEV"}, "File name is not below the root folder."},
        {{"C:\\DEV\\SRC", "checkout", strLongName.c_str()}, "Could not get the full path of the file."},
        {{"C:\\DEV\\SRC", "checkout", ""}, "Could not get the full path of the file."},
        {{"$SSROOT", "checkout", ""}, "Could not get the full path of the file."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.szMessage, ParseFailure(c.args)) << *(c.args.begin() + 2);
}

TEST(CommandLine, TooFewArgumentsShowUsageAndKeepOnlyTheParameterList)
{
    CTarnApp app;
    testing::internal::CaptureStdout();
    std::string strMessage;
    try
    {
        Parse(app, {"C:\\DEV\\SRC", "-LOG"});
    }
    catch (const CTarnApp::CTarnException& e)
    {
        strMessage = e.m_strMessage;
    }
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ("Not enough command line parameters.", strMessage);
    EXPECT_EQ(0u, strOut.find("Usage:"));
    EXPECT_EQ(30, std::count(strOut.begin(), strOut.end(), '\n'));
    EXPECT_FALSE(app.m_bLog);
    EXPECT_TRUE(app.m_strRoot.empty());
    EXPECT_EQ("<Log>\n\t<Parameters>\n\t\t<Parameter>C:\\VSS\\BIN\\tarn.exe</Parameter>\n"
              "\t\t<Parameter>C:\\DEV\\SRC</Parameter>\n\t\t<Parameter>-LOG</Parameter>\n\t</Parameters>\n",
              app.m_strLog);
}
