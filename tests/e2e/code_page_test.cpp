// Names, paths and srcsafe.ini values in the code pages of East Asian and
// Western Windows and in UTF-8, on the real program. Wine runs a program in
// the code pages of the LC_ALL it was started with from Linux, and its
// children in the same ones, so these tests run once per code page (see
// CMakeLists.txt), each with the cases of the code page it finds itself in.
// The command line goes to tarn.exe in UTF-16, as an editor would hand it over.
#include "app/ansi_conversion.h"
#include "app/code_page.h"
#include "app/tarn_app.h"
#include "tests/support/code_pages.h"
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tarntest;

namespace
{
std::string DatabaseName()
{
    return "TarnCodePage" + CodePageRunSuffix() + "." +
           testing::UnitTest::GetInstance()->current_test_info()->name();
}

// The multi-byte code page this test runs in; null in a Western one. A run
// meant for other code pages (TARN_TEST_CODE_PAGE, and the OEM one in
// TARN_TEST_OEM_CODE_PAGE) that did not get them fails: the machine lacks the locale.
const CMultiByteCodePage* CodePageOfThisRun()
{
    char szWanted[16] = {};
    if (GetEnvironmentVariableA("TARN_TEST_CODE_PAGE", szWanted, sizeof(szWanted)) > 0)
    {
        EXPECT_EQ(std::to_string(GetACP()), szWanted) << "Wine did not take the code page from LC_ALL";
    }
    if (GetEnvironmentVariableA("TARN_TEST_OEM_CODE_PAGE", szWanted, sizeof(szWanted)) > 0)
    {
        EXPECT_EQ(std::to_string(GetOEMCP()), szWanted) << "Wine did not take the OEM code page from LC_ALL";
    }
    if (GetACP() == kUtf8CodePage.nCodePage)
        return &kUtf8CodePage;
    for (const CMultiByteCodePage& page : kEastAsianCodePages)
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
    const CMultiByteCodePage* pPage = CodePageOfThisRun();
    if (pPage == nullptr)
        GTEST_SKIP() << "runs in the multi-byte code pages";
    const CMultiByteCodePage& page = *pPage;
    CScratchInstall install;
    install.InstallFaultBuild();
    {
        // Folders and files that end in and hold characters whose second byte
        // is "\" (949 has none), and whose lead byte ends its range.
        const std::string X =
            std::string(*page.szBackslashChars ? page.szBackslashChars : page.szLetterChars) + page.szRangeEndChars;
        const std::string L = page.szLetterChars;
        const std::string strRoot = "C:\\W\\" + L + X;
        const std::string strFile = strRoot + "\\" + X + "\\" + L + X + ".cpp";
        const std::string strPath = "$/" + X + "/" + X + "/" + X + "/" + L + X + ".cpp";
        // The test build too: its conversion is held to Windows' rules, which Wine does not check.
        for (const std::string& strProgram : {install.Tarn(), install.FaultTarn()})
            for (const std::string& strRootGiven : {strRoot, strRoot + "\\"})
            {
                SCOPED_TRACE(strProgram + " " + strRootGiven);
                DeleteFileA(install.Log().c_str());
                DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
                const CRunResult result =
                    RunProgram(strProgram, {strRootGiven, "checkout", strFile, "-PP:" + X + "\\" + X, "-LOG"},
                               install.StandinEnv(), "", CP_UTF8);
                const std::string strCommandLine = "\"" + install.StandinCopy() + "\" checkout \"" +
                                                   InCodePage(page.nCodePage, strPath) + "\" -I- -C- -NL";
                EXPECT_EQ(strCommandLine, install.RecordedCommandLine()) << result.strOut;
                const std::string strLog = ReadBytes(install.Log());
                EXPECT_NE(std::string::npos,
                          strLog.find(LogElement("SSFilePath", InCodePage(page.nCodePage, strPath))));
                EXPECT_NE(std::string::npos,
                          strLog.find(LogElement("RealRoot", InCodePage(page.nCodePage, strRoot))));
            }
        // A root whose length ends inside a character of the file name (after
        // its first byte), a folder or a $NAME: that file does not begin with
        // it, and no half character reaches SS.EXE. Also for each character
        // whose lead byte ends its range.
        std::vector<std::string> firsts = {X};
        // Cut into characters here, apart from the code: each begins at a byte that is no UTF-8 continuation byte.
        for (const char* p = page.szRangeEndChars; *p != '\0'; ++p)
            if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
                firsts.emplace_back(1, *p);
            else
                firsts.back() += *p;
        for (const std::string& strFirst : firsts)
            for (const std::vector<std::string>& args :
                 {std::vector<std::string>{"C:\\W\\A", "checkout", "C:\\W\\" + strFirst + "\\a.c"},
                  std::vector<std::string>{"$WA", "checkout", "$W" + strFirst + "\\a.c"}})
            {
                DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
                const CRunResult cut = install.RunTarn(args, {{"WA", "C:\\W"}}, "", CP_UTF8);
                EXPECT_EQ(BannerText() + "File name is not below the root folder.\r\n", cut.strOut) << args[2];
                EXPECT_FALSE(install.StandinRan());
            }
    }
}

// srcsafe.ini's value and comment and the registered folder hold characters
// whose second byte is a capital letter: lower-casing must pass them by. In
// 1252 and UTF-8, the database's name and the installation's folders hold
// letters from 0x80 up, which are looked up and resolved in the ANSI code
// page whatever the OEM one (437, or 850 on a French system) makes of them.
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
        std::string strName;    // added to the database's name
    };
    std::vector<Case> cases;
    const std::string kAccents = u8".D\u00E9p\u00F4t";
    for (const CMultiByteCodePage& page : kEastAsianCodePages)
    {
        const std::string L = page.szLetterChars;
        cases.push_back({page.nCodePage, "C:\\VSS\\" + L, "C:\\Shared\\" + L, "c:\\vss\\" + L,
                         "c:\\shared\\" + L + "\\data", "; " + L + " Archive", "; " + L + " archive", ""});
    }
    const std::string U = kUtf8CodePage.szLetterChars;
    cases.push_back({CP_UTF8, "C:\\VSS\\" + U, "C:\\Shared\\" + U, "c:\\vss\\" + U, "c:\\shared\\" + U + "\\data",
                     "; " + U + " Archive", "; " + U + " archive", kAccents});
    // 1252: values that begin or end with a letter from 0x80 up keep it.
    cases.push_back({1252, u8"\\\\SERVEUR\\VSS\\Archiv\u00E9", u8"\u00C9t\u00E9",
                     u8"\\\\serveur\\vss\\archiv\u00E9", u8"\u00C9t\u00E9\\data", u8"; D\u00E9p\u00F4t",
                     u8"; d\u00E9p\u00F4t", kAccents});

    CodePageOfThisRun();
    const bool bAccents = GetACP() == 1252 || GetACP() == CP_UTF8;
    CScratchInstall install(bAccents ? InCodePage(GetACP(), u8"Outils\\D\u00E9veloppement\\VSS\\BIN") : "VSS\\BIN");
    for (const Case& c : cases)
    {
        if (c.nCodePage != GetACP())
            continue;
        const std::string strComment = InCodePage(c.nCodePage, c.strComment);
        const std::string strIni = "[General]\r\nData_Path = " + InCodePage(c.nCodePage, c.strValue) + " " +
                                   InCodePage(c.nCodePage, c.strStoredComment) + "\r\nUser = Ann\r\n";
        WriteBytes(install.Ini(), strIni);
        const std::string strName = DatabaseName() + c.strName;
        CTestDatabase database(strName, c.strFolder, CP_UTF8);
        // In the test's own code page, which the installation's folders are in too.
        const CRunResult result = install.RunTarn(
            {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:" + InCodePage(GetACP(), strName), "-LOG"});
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
// call is refused before anything is touched, with or without switches after
// the file name, whichever switches stand beside it, and with a $NAME root.
TEST(CodePages, TextsTheCodePageLacksAreRefused)
{
    if (CodePageOfThisRun() != nullptr || GetACP() != 1252)
        GTEST_SKIP() << "runs in code page 1252";
    CScratchInstall install;
    const std::string kRoot = "C:\\DEV\\SRC";
    const std::string strWork = install.Folder() + "\\work";
    struct Case
    {
        std::string strRoot; // "$SSROOT" and "$Lódz" stand for kRoot
        std::string strFile;
        std::vector<std::string> extra;
        const char* szFolder; // registered for the -DB: database, when one is given
        std::string strMessage;
        std::string strCommand = "";    // in place of each of the usual ones
        std::string strCurrentDir = ""; // the run's current folder
    };
    const std::string kLacks = " cannot be handed to SS.EXE in this system's code page (1252): ";
    const std::string kLodz = u8"\u0141\u00F3d\u017A";
    const std::string kLodzShown = "?\xF3"
                                   "d?";
    const std::string kLodzLookAlike = "L\xF3"
                                       "dz";
    const std::string kJapanese = u8"\u65E5\u672C";
    const Case cases[] = {
        {kRoot, kRoot + "\\" + kJapanese + ".cpp", {"-LOG"}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        {kRoot, kRoot + "\\" + kJapanese + ".cpp", {}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        {"$SSROOT", "$SSROOT\\" + kJapanese + ".cpp", {"-LOG"}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        {"$SSROOT", kRoot + "\\" + kJapanese + ".cpp", {"-LOG"}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        {"", kRoot + "\\" + kJapanese + ".cpp", {"-LOG"}, nullptr, "The file name" + kLacks + "$C:/DEV/SRC/??.cpp"},
        {"\\\\SERVER\\SHARE",
         "\\\\SERVER\\SHARE\\" + kJapanese + ".cpp",
         {"-LOG"},
         nullptr,
         "The file name" + kLacks + "$/??.cpp"},
        // A "$" name is taken as it stands, not from the current folder.
        {"C:\\D", "$DEV\\" + kJapanese + ".cpp", {"-LOG"}, nullptr, "The file name" + kLacks + "$/??.cpp"},
        // Taken from the current folder, one character long or longer.
        {strWork, u8"\u65E5.c", {"-LOG"}, nullptr, "The file name" + kLacks + "$/?.c", "", strWork},
        {strWork, u8"\u65E5", {"-LOG"}, nullptr, "The file name" + kLacks + "$/?", "", strWork},
        {kRoot, kRoot + u8"\\P\\\u03A9.c", {"-LOG"}, nullptr, "The file name" + kLacks + "$/P/?.c"},
        {kRoot,
         kRoot + "\\" + kLodz + ".c",
         {"-PP:rel", "-LOG"},
         nullptr,
         "The file name" + kLacks + "$/rel/" + kLodzShown + ".c"},
        {kRoot, kRoot + "\\A.C", {"-PP:" + kJapanese, "-LOG"}, nullptr, "The -PP: prefix" + kLacks + "??"},
        {kRoot, kRoot + "\\A.C", {u8"-Y\u0142", "-LOG"}, nullptr, "A switch" + kLacks + "-Y?"},
        {kRoot, kRoot + "\\A.C", {"-DB:" + kLodz}, nullptr, "The database name" + kLacks + kLodzShown},
        {kRoot,
         kRoot + "\\A.C",
         {"-GWR", "-DB:" + kLodz, "-PP:rel", "-LOG"},
         nullptr,
         "The database name" + kLacks + kLodzShown},
        {kRoot,
         kRoot + "\\A.C",
         {"-DB:" + DatabaseName(), "-LOG"},
         u8"C:\\\u65E5\u672C",
         "The folder registered for the database " + DatabaseName() + kLacks + "C:\\??"},
        {kRoot, kRoot + "\\A.C", {"-LOG"}, nullptr, "The command" + kLacks + "??", kJapanese},
        // The program gets "$Lódz" (a look-alike for each letter 1252 lacks): a
        // variable of that name is there, and Łódź is not.
        {"$" + kLodz, kRoot + "\\A.C", {"-LOG"}, nullptr, "The root" + kLacks + "$" + kLodzShown},
    };
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
            std::vector<std::string> args = {c.strRoot, c.strCommand.empty() ? szCommand : c.strCommand, c.strFile};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            const CRunResult result =
                install.RunTarn(args, {{"SSROOT", kRoot}, {kLodzLookAlike, kRoot}}, c.strCurrentDir, CP_UTF8);
            EXPECT_EQ(BannerText() + c.strMessage + "\r\n", result.strOut);
            EXPECT_FALSE(install.StandinRan());
            EXPECT_EQ(strIni, ReadBytes(install.Ini()));
            EXPECT_EQ(std::count(args.begin(), args.end(), "-LOG") == 1, Exists(install.Log()));
            EXPECT_EQ(0u, result.nExitCode);
        }

    // A root the code page cannot hold does no harm when it is cut off whole.
    const std::string strRoot = u8"C:\\\u0141\u00F3d\u017A";
    install.RunTarn({strRoot, "checkin", strRoot + "\\A.C"}, {}, "", CP_UTF8);
    EXPECT_EQ("\"" + install.StandinCopy() + "\" checkin \"$/A.C\" -I- -C- -NL", install.RecordedCommandLine());
}

// SSDIR naming another folder: "-DB:" hands SS.EXE the registered folder as
// SSDIR, found to hold its srcsafe.ini also where its last character's second
// byte is that of "\", with a final backslash after it or without.
TEST(CodePages, SSDirGetsAFolderEndingInAnyCharacter)
{
    const CMultiByteCodePage* pPage = CodePageOfThisRun();
    if (pPage == nullptr)
        GTEST_SKIP() << "runs in the multi-byte code pages";
    CScratchInstall install;
    const std::string strFolder =
        install.Folder() + "\\" +
        InCodePage(GetACP(), *pPage->szBackslashChars ? pPage->szBackslashChars : pPage->szLetterChars);
    const std::string strElsewhere = install.Folder() + "\\Elsewhere";
    MakeFolders(strFolder);
    MakeFolders(strElsewhere);
    const std::string kIni = "[General]\r\nData_Path = C:\\VSS\\Data\r\n";
    WriteBytes(install.Ini(), kIni);
    WriteBytes(strFolder + "\\srcsafe.ini", "[General]\r\nData_Path = C:\\Other\\Data\r\n");
    for (const std::string& strRegistered : {strFolder, strFolder + "\\"})
    {
        SCOPED_TRACE(strRegistered);
        DeleteFileA((install.Folder() + "\\call.ssdir").c_str());
        CTestDatabase database(DatabaseName(), strRegistered);
        const CRunResult result = install.RunTarn(
            {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:" + DatabaseName()}, {{"SSDIR", strElsewhere}});
        EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
                  result.strOut);
        EXPECT_EQ(strRegistered, ReadBytes(install.Folder() + "\\call.ssdir"));
        EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    }
}

// The conversions themselves, in the code page of the run: empty texts stay
// empty (the system takes no text of length 0), a name the system makes no
// full path of stays as it is, and a broken surrogate pair, which no code
// page holds, is refused: shown as "?", or in UTF-8 as U+FFFD.
TEST(CodePages, ConversionsInTheCodePageOfTheRun)
{
    CodePageOfThisRun();
    std::string strAnsi = "untouched";
    EXPECT_TRUE(ToAnsiExactly(L"", strAnsi));
    EXPECT_EQ("", strAnsi);
    EXPECT_EQ(L"", ToWide(""));
    EXPECT_EQ(L"", FullPathWide(L""));
    EXPECT_FALSE(ToAnsiExactly(L"a\xD800.c", strAnsi));
    EXPECT_EQ(GetACP() == CP_UTF8 ? "a\xEF\xBF\xBD.c" : "a?.c", strAnsi);
}

// A registered folder is taken only while its bytes in the code page, the
// form srcsafe.ini's line and SS.EXE get it in, fit the 260 of a path: one
// whose characters fit but whose bytes do not counts as not registered.
TEST(CodePages, RegisteredFolderIsMeasuredInBytesOfTheCodePage)
{
    const CMultiByteCodePage* pPage = CodePageOfThisRun();
    if (pPage == nullptr)
        GTEST_SKIP() << "runs in the multi-byte code pages";
    const std::string strLetters = InCodePage(GetACP(), pPage->szLetterChars);
    std::string strFits = "C:\\";
    while (strFits.size() + strLetters.size() < 260)
        strFits += strLetters;
    for (const std::string& strFolder : {strFits, strFits + strLetters})
    {
        CTestDatabase database(DatabaseName(), strFolder);
        CTarnApp app;
        app.m_strDatabase = DatabaseName();
        app.LookupDatabasePath();
        EXPECT_EQ(strFolder.size() < 260 ? AnsiCodePage().Lower(strFolder) + "\\data" : "",
                  app.m_strNewDatabasePath)
            << strFolder.size() << " bytes";
    }
}
