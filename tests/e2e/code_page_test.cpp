// Names, paths and srcsafe.ini values in the code pages of East Asian and
// Western Windows, on the real program. Wine runs a program in the code page
// of the LC_ALL it was started with from Linux, and its children in the same
// one, so these tests run once per code page (see CMakeLists.txt), each with
// the cases of the code page it finds itself in. The command line goes to
// tarn.exe in UTF-16, as an editor would hand it over.
#include "tests/support/code_pages.h"
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

namespace
{
std::string DatabaseName()
{
    return "TarnCodePage" + std::to_string(GetACP()) + "." +
           testing::UnitTest::GetInstance()->current_test_info()->name();
}

// The East Asian code page this test runs in; null in a Western one. A run
// meant for a code page (TARN_TEST_CODE_PAGE) that did not get it fails:
// the machine lacks the locale.
const CEastAsianCodePage* CodePageOfThisRun()
{
    char szWanted[16] = {};
    if (GetEnvironmentVariableA("TARN_TEST_CODE_PAGE", szWanted, sizeof(szWanted)) > 0)
    {
        EXPECT_EQ(std::to_string(GetACP()), szWanted) << "Wine did not take the code page from LC_ALL";
    }
    for (const CEastAsianCodePage& page : kEastAsianCodePages)
        if (page.nCodePage == GetACP())
            return &page;
    return nullptr;
}

std::string LogElement(const char* szName, const std::string& strValue)
{
    return std::string("\t<") + szName + ">" + strValue + "</" + szName + ">\r\n";
}
}

TEST(CodePages, ProjectPathsKeepTheirCharacters)
{
    const CEastAsianCodePage* pPage = CodePageOfThisRun();
    if (pPage == nullptr)
        GTEST_SKIP() << "runs in the East Asian code pages";
    const CEastAsianCodePage& page = *pPage;
    CScratchInstall install;
    {
        // Folders and files that end in and hold characters whose second byte is "\" (949 has none).
        const std::string X = *page.szBackslashChars ? page.szBackslashChars : page.szLetterChars;
        const std::string L = page.szLetterChars;
        const std::string strRoot = "C:\\W\\" + L + X;
        const std::string strFile = strRoot + "\\" + X + "\\" + L + X + ".cpp";
        const std::string strPath = "$/" + X + "/" + X + "/" + X + "/" + L + X + ".cpp";
        for (const std::string& strRootGiven : {strRoot, strRoot + "\\"})
        {
            DeleteFileA(install.Log().c_str());
            const CRunResult result = install.RunTarn(
                {strRootGiven, "checkout", strFile, "-PP:" + X + "\\" + X, "-LOG"}, {}, "", CP_UTF8);
            const std::string strCommandLine = "\"" + install.StandinCopy() + "\" checkout \"" +
                                               InCodePage(page.nCodePage, strPath) + "\" -I- -C- -NL";
            EXPECT_EQ(strCommandLine, install.RecordedCommandLine()) << result.strOut;
            const std::string strLog = ReadBytes(install.Log());
            EXPECT_NE(std::string::npos,
                      strLog.find(LogElement("SSFilePath", InCodePage(page.nCodePage, strPath))));
            EXPECT_NE(std::string::npos, strLog.find(LogElement("RealRoot", InCodePage(page.nCodePage, strRoot))));
        }
        // A root whose length ends inside a character of the file name: that
        // file does not begin with it, and no half character reaches SS.EXE.
        DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
        const CRunResult cut = install.RunTarn({"C:\\W\\A", "checkout", "C:\\W\\" + X + "\\a.c"}, {}, "", CP_UTF8);
        EXPECT_EQ(BannerText() + "File name is not below the root folder.\r\n", cut.strOut);
        EXPECT_FALSE(install.StandinRan());
    }
}

// srcsafe.ini's value and comment and the registered folder hold characters
// whose second byte is a capital letter: lower-casing must pass them by.
TEST(CodePages, SwitchKeepsValueCommentAndFolder)
{
    struct Case
    {
        unsigned nCodePage;
        std::string strValue;  // as srcsafe.ini holds it
        std::string strFolder; // as registered
        std::string strOld;    // the value read, in lower case
        std::string strNew;    // the path switched to, in lower case
        std::string strStoredComment;
        std::string strComment; // in lower case
    };
    std::vector<Case> cases;
    for (const CEastAsianCodePage& page : kEastAsianCodePages)
    {
        const std::string L = page.szLetterChars;
        cases.push_back({page.nCodePage, "C:\\VSS\\" + L, "C:\\Shared\\" + L, "c:\\vss\\" + L,
                         "c:\\shared\\" + L + "\\data", "; " + L + " Archive", "; " + L + " archive"});
    }
    // 1252: values that begin or end with a letter from 0x80 up keep it.
    cases.push_back({1252, u8"\\\\SERVEUR\\VSS\\Archiv\u00E9", u8"\u00C9t\u00E9",
                     u8"\\\\serveur\\vss\\archiv\u00E9", u8"\u00C9t\u00E9\\data", u8"; D\u00E9p\u00F4t",
                     u8"; d\u00E9p\u00F4t"});

    CodePageOfThisRun();
    CScratchInstall install;
    for (const Case& c : cases)
    {
        if (c.nCodePage != GetACP())
            continue;
        const std::string strComment = InCodePage(c.nCodePage, c.strComment);
        const std::string strIni = "[General]\r\nData_Path = " + InCodePage(c.nCodePage, c.strValue) + " " +
                                   InCodePage(c.nCodePage, c.strStoredComment) + "\r\nUser = Ann\r\n";
        WriteBytes(install.Ini(), strIni);
        CTestDatabase database(DatabaseName(), c.strFolder, CP_UTF8);
        const CRunResult result = install.RunTarn(
            {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:" + DatabaseName(), "-LOG"}, {}, "", CP_UTF8);
        const std::string strOld = InCodePage(c.nCodePage, c.strOld);
        const std::string strNew = InCodePage(c.nCodePage, c.strNew);
        EXPECT_EQ("[General]\r\ndata_path = " + strNew + " " + strComment + "\r\nUser = Ann\r\n",
                  install.RecordedIni())
            << result.strOut;
        EXPECT_EQ("[General]\r\ndata_path = " + strOld + " " + strComment + "\r\nUser = Ann\r\n",
                  ReadBytes(install.Ini()));
        const std::string strLog = ReadBytes(install.Log());
        EXPECT_NE(std::string::npos, strLog.find(LogElement("OldDatabasePath", strOld)));
        EXPECT_NE(std::string::npos, strLog.find(LogElement("NewDatabasePath", strNew)));
    }
}

// On a Western system, a name the code page cannot hold reaches the program
// as "?" (a wildcard to SS.EXE) or as a look-alike of another letter: such a
// call is refused before anything is touched.
TEST(CodePages, TextsTheCodePageLacksAreRefused)
{
    if (CodePageOfThisRun() != nullptr || GetACP() != 1252)
        GTEST_SKIP() << "runs in code page 1252";
    const std::string kRoot = "C:\\DEV\\SRC";
    struct Case
    {
        std::string strFile;
        std::vector<std::string> extra;
        const char* szFolder; // registered for the -DB: database, when one is given
        std::string strMessage;
    };
    const std::string kLacks = " cannot be handed to SS.EXE in this system's code page (1252): ";
    const Case cases[] = {
        {kRoot + u8"\\\u65E5\u672C.cpp", {}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        {kRoot + u8"\\P\\\u03A9.c", {}, nullptr, "The file name" + kLacks + "$/P/?.c"},
        {kRoot + u8"\\\u0142\u00F3d\u017A.c",
         {"-PP:rel"},
         nullptr,
         "The file name" + kLacks +
             "$/rel/?\xF3"
             "d?.c"},
        {kRoot + "\\A.C", {u8"-PP:\u65E5\u672C"}, nullptr, "The -PP: prefix" + kLacks + "??"},
        {kRoot + "\\A.C", {u8"-Y\u0142"}, nullptr, "A switch" + kLacks + "-Y?"},
        {kRoot + "\\A.C",
         {"-DB:" + DatabaseName()},
         u8"C:\\\u65E5\u672C",
         "The folder registered for the database " + DatabaseName() + kLacks + "C:\\??"},
    };
    CScratchInstall install;
    const std::string strIni = "[General]\r\nData_Path = C:\\VSS\\Data\r\n";
    for (const char* szCommand : {"undocheckout", "checkin"})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(szCommand + (" " + c.strMessage));
            WriteBytes(install.Ini(), strIni);
            DeleteFileA(install.Log().c_str());
            std::unique_ptr<CTestDatabase> pDatabase;
            if (c.szFolder != nullptr)
                pDatabase = std::make_unique<CTestDatabase>(DatabaseName(), c.szFolder, CP_UTF8);
            std::vector<std::string> args = {kRoot, szCommand, c.strFile, "-LOG"};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            const CRunResult result = install.RunTarn(args, {}, "", CP_UTF8);
            EXPECT_EQ(BannerText() + c.strMessage + "\r\n", result.strOut);
            EXPECT_FALSE(install.StandinRan());
            EXPECT_EQ(strIni, ReadBytes(install.Ini()));
            EXPECT_TRUE(Exists(install.Log()));
            EXPECT_EQ(0u, result.nExitCode);
        }

    // A root the code page cannot hold does no harm when it is cut off whole.
    const std::string strRoot = u8"C:\\\u0141\u00F3d\u017A";
    install.RunTarn({strRoot, "checkin", strRoot + "\\A.C"}, {}, "", CP_UTF8);
    EXPECT_EQ("\"" + install.StandinCopy() + "\" checkin \"$/A.C\" -I- -C- -NL", install.RecordedCommandLine());
}
