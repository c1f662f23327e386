// "-DB:": srcsafe.ini pointed at another database for the length of one SS.EXE call.
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

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

const char kCouldNotSwitch[] = "Could not switch srcsafe.ini to data_path = c:\\shared\\vss\\data.\r\n";

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
    HANDLE hFile =
        CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
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
    // What a later run would put back, had this one been killed during the call.
    EXPECT_EQ("tarn: data_path to put back\r\nc:\\vss\\data\r\n", ReadBytes(install.Folder() + "\\call.restore"));
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

// A switch that cannot be made must not become a call on the database srcsafe.ini already names.
TEST(Switch, ReadOnlySrcsafeIniStopsTheRunUntouched)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    const CRunResult result = install.RunTarn(Args(DatabaseName(), {"-LOG"}));
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(BannerText() + kCouldNotSwitch + "srcsafe.ini is read-only.\r\n", result.strOut);
    EXPECT_FALSE(install.StandinRan());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_NE(std::string::npos, strLog.find("\t<SSCmdLine></SSCmdLine>\r\n"));
    EXPECT_NE(std::string::npos, strLog.find("\t<NewDatabasePath>c:\\shared\\vss\\data</NewDatabasePath>\r\n"));
    EXPECT_EQ(0u, result.nExitCode);
}

TEST(Switch, PathsADataPathLineCannotHoldAreRefused)
{
    CScratchInstall install;
    WriteBytes(install.Ini(), kIni);
    for (const char* szFolder : {"C:\\Semi;Colon", "C:\\Line\r\nBreak", " C:\\Leading Blank"})
    {
        CTestDatabase database(DatabaseName(), szFolder);
        const CRunResult result = install.RunTarn(Args(DatabaseName()));
        std::string strPath = std::string(szFolder) + "\\data";
        for (char& c : strPath)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        EXPECT_EQ(BannerText() + Crlf("Could not switch srcsafe.ini to data_path = " + strPath +
                                      ".\nThe path cannot be written on srcsafe.ini's data_path line.\n"),
                  result.strOut);
        EXPECT_EQ(kIni, ReadBytes(install.Ini())) << szFolder;
        EXPECT_FALSE(install.StandinRan()) << szFolder;
    }
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// Another program (a virus scanner, an indexer) has srcsafe.ini open: the
// replace waits about a second for it, and gives up cleanly after that.
TEST(Switch, SrcsafeIniHeldOpenByAnotherProgram)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    for (const DWORD nHoldMilliseconds : {300u, 3000u})
    {
        WriteBytes(install.Ini(), kIni);
        DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
        HANDLE hHeld = CreateFileA(install.Ini().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
        std::thread holder(
            [&]
            {
                Sleep(nHoldMilliseconds);
                CloseHandle(hHeld);
            });
        const CRunResult result = install.RunTarn(Args(DatabaseName()));
        holder.join();
        if (nHoldMilliseconds < 1000)
        {
            EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
            EXPECT_TRUE(install.StandinRan());
            continue;
        }
        // Refused as a sharing violation or as access denied, as the platform sees it.
        const std::string strReason = result.strOut.substr(
            std::min(result.strOut.size(), BannerText().size() + std::strlen(kCouldNotSwitch)));
        EXPECT_EQ(BannerText() + kCouldNotSwitch, result.strOut.substr(0, result.strOut.size() - strReason.size()));
        EXPECT_TRUE(strReason == SystemTextLine(ERROR_ACCESS_DENIED) + "\r\n" ||
                    strReason == SystemTextLine(ERROR_SHARING_VIOLATION) + "\r\n")
            << strReason;
        EXPECT_EQ(kIni, ReadBytes(install.Ini()));
        EXPECT_FALSE(install.StandinRan());
    }
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// The new text takes the file's place in one rename: the file is a new one
// (never the old one written over), and a reader in another process never
// finds it missing or holding anything but a whole text.
TEST(Switch, ReadersNeverFindSrcsafeIniMissingOrPartlyWritten)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    // A second name for the file as it is: a write in place would show through it, a rename does not.
    const std::string strLink = install.Folder() + "\\old-srcsafe.ini";
    ASSERT_TRUE(CreateHardLinkA(strLink.c_str(), install.Ini().c_str(), nullptr));
    install.RunTarn(Args(DatabaseName()));
    EXPECT_EQ(kIni, ReadBytes(strLink));
    const std::string strSwitched = install.RecordedIni();
    ASSERT_NE(std::string::npos, strSwitched.find("c:\\shared\\vss\\data"));
    ASSERT_EQ(kIniAfter, ReadBytes(install.Ini()));

    std::atomic<bool> bStop(false);
    int nReads = 0;
    int nMissing = 0;
    int nPartial = 0;
    std::thread reader(
        [&]
        {
            while (!bStop)
            {
                if (GetFileAttributesA(install.Ini().c_str()) == INVALID_FILE_ATTRIBUTES)
                    ++nMissing;
                HANDLE hFile = CreateFileA(install.Ini().c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
                if (hFile == INVALID_HANDLE_VALUE)
                {
                    nMissing += GetLastError() == ERROR_FILE_NOT_FOUND ? 1 : 0;
                    continue;
                }
                char buffer[4096];
                DWORD nRead = 0;
                ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr);
                CloseHandle(hFile);
                const std::string strText(buffer, nRead);
                nPartial += (strText == kIniAfter || strText == strSwitched) ? 0 : 1;
                ++nReads;
                Sleep(1);
            }
        });
    int nSwitched = 0;
    for (int i = 0; i < 8; ++i)
    {
        install.RunTarn(Args(DatabaseName()));
        nSwitched += install.RecordedIni() == strSwitched ? 1 : 0;
    }
    bStop = true;
    reader.join();
    EXPECT_EQ(8, nSwitched);
    EXPECT_GT(nReads, 50);
    EXPECT_EQ(0, nMissing);
    EXPECT_EQ(0, nPartial);
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
}

// srcsafe.ini made read-only while SS.EXE runs: the run says it could not put
// it back; the record stays, so that a later run puts it back once it can.
TEST(Switch, SwitchBackThatFailsIsReportedAndPutRightLater)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    const CRunResult result = install.RunTarn(Args(DatabaseName()), {{"STANDIN_ACTION", "readonly-ini"}});
    EXPECT_EQ(
        BannerText() + "Running: \"" + install.StandinCopy() +
            "\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL\r\n"
            "srcsafe.ini could not be put back to data_path = c:\\vss\\data; the next run of tarn.exe will put "
            "it back.\r\n",
        result.strOut);
    const std::string strSwitched = install.RecordedIni();
    EXPECT_EQ(strSwitched, ReadBytes(install.Ini()));
    EXPECT_EQ("tarn: data_path to put back\r\nc:\\vss\\data\r\n", ReadBytes(install.Ini() + ".tarnrestore"));

    ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL));
    const CRunResult next = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"});
    EXPECT_NE(std::string::npos,
              next.strOut.find("Put back the database of an interrupted run in srcsafe.ini (data_path = "
                               "c:\\vss\\data).\r\n"));
    EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

// srcsafe.ini deleted while SS.EXE runs: there is nothing to put back, and no
// run speaks of it again.
TEST(Switch, SrcsafeIniDeletedDuringTheCallIsNotMentioned)
{
    CScratchInstall install;
    CTestDatabase database(DatabaseName(), "C:\\Shared\\VSS");
    WriteBytes(install.Ini(), kIni);
    const std::string strRunning =
        "Running: \"" + install.StandinCopy() + "\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL\r\n";
    const CRunResult result = install.RunTarn(Args(DatabaseName()), {{"STANDIN_ACTION", "delete-ini"}});
    EXPECT_EQ(BannerText() + strRunning, result.strOut);
    EXPECT_FALSE(Exists(install.Ini()));
    EXPECT_TRUE(install.FilesBesideIni().empty());

    WriteBytes(install.Ini(), kIni);
    const CRunResult next = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR"});
    EXPECT_EQ(BannerText() + strRunning, next.strOut);
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
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

// SS.EXE reads the srcsafe.ini of the folder SSDIR names. Set to another
// folder than srcsafe.ini's, "-DB:" hands SS.EXE the database's own folder as
// SSDIR and touches no srcsafe.ini; set to srcsafe.ini's own folder (in any
// letter case, with a final backslash or not) or to nothing, it switches as
// always; with no srcsafe.ini of its own, "-DB:" still hands SS.EXE SSDIR.
TEST(Switch, SSDirDecidesWhichSrcsafeIniIsPointed)
{
    CScratchInstall install;
    const std::string strOther = install.Folder() + "\\Other";
    const std::string strEmpty = install.Folder() + "\\Empty";
    const std::string strElsewhere = install.Folder() + "\\Elsewhere";
    const std::string kOtherIni = "[General]\r\nData_Path = C:\\Other\\Data\r\n";
    const std::string kElsewhereIni = "[General]\r\nData_Path = C:\\Elsewhere\\Data\r\n";
    for (const std::string& strFolder : {strOther, strEmpty, strElsewhere})
        MakeFolders(strFolder);
    WriteBytes(strOther + "\\srcsafe.ini", kOtherIni);
    WriteBytes(strElsewhere + "\\srcsafe.ini", kElsewhereIni);
    CTestDatabase other(DatabaseName() + ".Other", strOther);
    CTestDatabase empty(DatabaseName() + ".Empty", strEmpty + "\\");
    CTestDatabase blank(DatabaseName() + ".Blank", "");
    std::string strOwnFolder = install.Ini().substr(0, install.Ini().rfind('\\')) + "\\";
    for (char& c : strOwnFolder)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const std::string strRefused = "Could not set SSDIR to the folder of the database ";

    struct Case
    {
        std::string strSSDir;
        std::string strDatabase;
        std::string strSeen;      // the srcsafe.ini SS.EXE read; empty: SS.EXE must not run
        std::string strSSDirSeen; // the SSDIR SS.EXE got
        std::string strMessage;   // what follows the banner when SS.EXE does not run
        bool bOwnIni = true;      // false: no srcsafe.ini above tarn.exe, as beside SourceSafe 2005's SS.EXE
    };
    const Case cases[] = {
        {strElsewhere, DatabaseName() + ".Other", kOtherIni, strOther, ""},
        {strElsewhere, DatabaseName() + ".Other", kOtherIni, strOther, "", false},
        {strElsewhere + "\\", DatabaseName() + ".Unknown", "", "",
         strRefused + DatabaseName() + ".Unknown.\nNo folder is registered under that name for this user.\n"},
        {strElsewhere, DatabaseName() + ".Empty", "", "",
         strRefused + DatabaseName() + ".Empty.\nIts folder, " + strEmpty + "\\, holds no srcsafe.ini.\n"},
        {strElsewhere, DatabaseName() + ".Blank", "", "",
         strRefused + DatabaseName() + ".Blank.\nNo folder is registered under that name for this user.\n"},
        {strElsewhere, "", kElsewhereIni, strElsewhere, ""},
        {strOwnFolder, DatabaseName() + ".Other", "", strOwnFolder, ""},
        {"", DatabaseName() + ".Other", "", "", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.strSSDir + " -DB:" + c.strDatabase + (c.bOwnIni ? "" : " without srcsafe.ini"));
        if (c.bOwnIni)
            WriteBytes(install.Ini(), kIni);
        else
            DeleteFileA(install.Ini().c_str());
        for (const char* szSuffix : {".cmdline", ".ini", ".ssdir"})
            DeleteFileA((install.Folder() + "\\call" + szSuffix).c_str());
        std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG"};
        if (!c.strDatabase.empty())
            args.push_back("-DB:" + c.strDatabase);
        const CRunResult result = install.RunTarn(args, {{"SSDIR", c.strSSDir}});
        const std::string strLog = ReadBytes(install.Log());
        // The log names SSDIR only where the run handed SS.EXE one of its own.
        const std::string strSSDirElement = "\t<SSDir>" + strOther + "</SSDir>\r\n</Log>\r\n";
        if (c.strSSDirSeen == strOther)
            EXPECT_EQ(strSSDirElement,
                      strLog.substr(strLog.size() - std::min(strLog.size(), strSSDirElement.size())));
        else
            EXPECT_EQ(std::string::npos, strLog.find("<SSDir>"));
        if (c.strSSDirSeen == strOwnFolder || c.strSSDir.empty())
        {
            // The switch, as without SSDIR.
            std::string strSwitched = "data_path = " + strOther + "\\data ";
            for (char& ch : strSwitched)
                ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
            EXPECT_NE(std::string::npos, install.RecordedIni().find(strSwitched));
            EXPECT_EQ(kIniAfter, ReadBytes(install.Ini()));
            continue;
        }
        EXPECT_EQ(c.bOwnIni ? kIni : "", ReadBytes(install.Ini()));
        EXPECT_EQ(c.strSeen, install.RecordedIni());
        if (c.strSeen.empty())
        {
            EXPECT_EQ(BannerText() + Crlf(c.strMessage), result.strOut);
        }
        EXPECT_EQ(c.strSSDirSeen, ReadBytes(install.Folder() + "\\call.ssdir"));
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, FilesIn(strOther));
        EXPECT_EQ(kOtherIni, ReadBytes(strOther + "\\srcsafe.ini"));
    }
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}

namespace
{
std::string Lowered(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return strText;
}

// What a "-DB:" run is to do, and what it must leave.
struct CExpected
{
    std::string strDataPath; // the Data_Path SS.EXE ends with; empty: SS.EXE must not run
    std::string strSSDir;    // the SSDIR SS.EXE gets from the run; empty: none
    std::string strRefusal;  // what follows the banner when SS.EXE does not run
};

// Runs tarn.exe with -LOG on the srcsafe.ini it finds and checks the outcome:
// srcsafe.ini and every database folder's files byte for byte as they were
// (or, where strIniAfter is given, switched and put back), nothing left
// beside them, and the log naming SSDIR only where the run set it.
void CheckDatabaseRun(const CScratchInstall& install, const std::vector<std::string>& args,
                      const CExpected& expected, const std::vector<std::pair<std::string, std::string>>& folders,
                      const std::string& strIniAfter = "")
{
    const std::string strIni = ReadBytes(install.Ini());
    for (const char* szSuffix : {".cmdline", ".ini", ".ssdir", ".datapath"})
        DeleteFileA((install.Folder() + "\\call" + szSuffix).c_str());
    DeleteFileA(install.Log().c_str());
    const FILETIME before = WriteTime(install.Ini());
    const CRunResult result = install.RunTarn(args);

    EXPECT_EQ(expected.strDataPath, install.RecordedDataPath());
    EXPECT_EQ(expected.strSSDir, ReadBytes(install.Folder() + "\\call.ssdir"));
    if (expected.strDataPath.empty())
        EXPECT_EQ(BannerText() + Crlf(expected.strRefusal), result.strOut);
    else
        EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
                  result.strOut);
    EXPECT_EQ(strIniAfter.empty() ? strIni : strIniAfter, ReadBytes(install.Ini()));
    const FILETIME after = WriteTime(install.Ini());
    if (strIniAfter.empty())
    {
        EXPECT_EQ(0, CompareFileTime(&before, &after)) << "srcsafe.ini was written";
    }
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
    for (const auto& folder : folders)
    {
        EXPECT_EQ(folder.second, ReadBytes(folder.first + "\\srcsafe.ini")) << folder.first;
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, FilesIn(folder.first)) << folder.first;
    }
    const std::string strLog = ReadBytes(install.Log());
    EXPECT_NE(std::string::npos, strLog.find("\t<SSCmdLine>")) << "no log";
    const std::string strSSDirElement = "\t<SSDir>" + expected.strSSDir + "</SSDir>\r\n";
    EXPECT_EQ(!expected.strSSDir.empty(), strLog.find(strSSDirElement) != std::string::npos) << strLog;
    EXPECT_EQ(!expected.strSSDir.empty(), strLog.find("<SSDir>") != std::string::npos) << strLog;
}
}

// A network client's srcsafe.ini includes the server's, from which SS.EXE
// takes data_path: "-DB:" opens the database through SSDIR, as under a
// foreign SSDIR, and touches neither file. A commented-out include is none.
TEST(Switch, IncludingSrcsafeIniOpensTheDatabaseThroughSSDir)
{
    CScratchInstall install;
    const std::string strServer = install.Folder() + "\\Server";
    const std::string strOther = install.Folder() + "\\Other";
    const std::string strEmpty = install.Folder() + "\\Empty";
    const std::string kServerIni = "[General]\r\nData_Path = C:\\Server\\Data\r\n";
    const std::string kOtherIni = "[General]\r\nData_Path = C:\\Other\\Data\r\n";
    for (const std::string& strFolder : {strServer, strOther, strEmpty})
        MakeFolders(strFolder);
    WriteBytes(strServer + "\\srcsafe.ini", kServerIni);
    WriteBytes(strOther + "\\srcsafe.ini", kOtherIni);
    const std::string strName = DatabaseName();
    CTestDatabase other(strName + ".Other", strOther);
    CTestDatabase empty(strName + ".Empty", strEmpty);
    const std::vector<std::pair<std::string, std::string>> folders = {{strServer, kServerIni},
                                                                      {strOther, kOtherIni}};
    const std::string strInclude = "#include " + strServer + "\\srcsafe.ini";
    const std::string strRefused = "Could not set SSDIR to the folder of the database ";

    struct Client
    {
        std::string strIni;
        std::string strPlainDataPath; // what SS.EXE ends with in a run without -DB:
    };
    const Client clients[] = {
        {strInclude + "\r\n", "C:\\Server\\Data"},
        {" \t#INCLUDE\t" + strServer + "\\srcsafe.ini\r\n[$/PROJ1]\r\nDir = C:\\DEV\\SRC\\PROJ1\r\n",
         "C:\\Server\\Data"},
        {"Data_Path = C:\\Client\\Data\r\n" + strInclude + "\r\n", "C:\\Client\\Data"},
        {strInclude + "\nData_Path = C:\\Client\\Data", "C:\\Server\\Data"},
    };
    for (const Client& client : clients)
    {
        SCOPED_TRACE(client.strIni);
        WriteBytes(install.Ini(), client.strIni);
        AgeFile(install.Ini());
        const std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG"};
        std::vector<std::string> withOther = args, withUnknown = args, withEmpty = args;
        withOther.push_back("-DB:" + strName + ".Other");
        withUnknown.push_back("-DB:" + strName + ".Unknown");
        withEmpty.push_back("-DB:" + strName + ".Empty");
        CheckDatabaseRun(install, withOther, {"C:\\Other\\Data", strOther, ""}, folders);
        CheckDatabaseRun(
            install, withUnknown,
            {"", "", strRefused + strName + ".Unknown.\nNo folder is registered under that name for this user.\n"},
            folders);
        CheckDatabaseRun(
            install, withEmpty,
            {"", "", strRefused + strName + ".Empty.\nIts folder, " + strEmpty + ", holds no srcsafe.ini.\n"},
            folders);
        CheckDatabaseRun(install, args, {client.strPlainDataPath, "", ""}, folders);
    }

    WriteBytes(install.Ini(), "; " + strInclude + "\r\nData_Path = C:\\VSS\\Data\r\n");
    CheckDatabaseRun(
        install, {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG", "-DB:" + strName + ".Other"},
        {Lowered(strOther) + "\\data", "", ""}, folders, "; " + strInclude + "\r\ndata_path = c:\\vss\\data \r\n");
}

// A srcsafe.ini that cannot be switched (SourceSafe's server set-up gives
// users read rights only): where the database's folder holds a srcsafe.ini,
// "-DB:" opens it through SSDIR instead, and srcsafe.ini stays as it was, its
// time included. Where the folder holds none, or is srcsafe.ini's own (whose
// data_path names another database), the switch is refused as before; where
// srcsafe.ini can be switched, it is.
TEST(Switch, SrcsafeIniThatCannotBeSwitchedOpensTheDatabaseThroughSSDir)
{
    CScratchInstall install;
    const std::string strOwn = install.Ini().substr(0, install.Ini().rfind('\\'));
    const std::string strOther = install.Folder() + "\\Other";
    const std::string strEmpty = install.Folder() + "\\Empty";
    const std::string strSemicolon = install.Folder() + "\\Semi;Colon";
    const std::string strSemicolonEmpty = install.Folder() + "\\Semi;Empty";
    const std::string kOtherIni = "[General]\r\nData_Path = C:\\Other\\Data\r\n";
    for (const std::string& strFolder : {strOther, strEmpty, strSemicolon, strSemicolonEmpty})
        MakeFolders(strFolder);
    WriteBytes(strOther + "\\srcsafe.ini", kOtherIni);
    WriteBytes(strSemicolon + "\\srcsafe.ini", kOtherIni);
    const std::vector<std::pair<std::string, std::string>> folders = {{strOther, kOtherIni},
                                                                      {strSemicolon, kOtherIni}};
    const std::string strReadOnly = "srcsafe.ini is read-only.\n";
    const std::string strCannotHold = "The path cannot be written on srcsafe.ini's data_path line.\n";

    struct Case
    {
        bool bReadOnly;
        std::string strFolder; // registered for the database
        std::string strReason; // of the refusal; empty: SS.EXE runs
        bool bSwitched;
    };
    const Case cases[] = {
        {true, strOther, "", false},
        {true, strEmpty, strReadOnly, false},
        {true, strOwn, strReadOnly, false},
        {false, strSemicolon, "", false},
        {false, strSemicolonEmpty, strCannotHold, false},
        {false, strOther, "", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.strFolder + (c.bReadOnly ? " read-only" : ""));
        CTestDatabase database(DatabaseName(), c.strFolder);
        SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteBytes(install.Ini(), kIni);
        AgeFile(install.Ini());
        if (c.bReadOnly)
        {
            ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        const std::string strPath = Lowered(c.strFolder) + "\\data";
        CExpected expected = {"C:\\Other\\Data", c.strFolder, ""};
        if (c.bSwitched)
            expected = {strPath, "", ""};
        else if (!c.strReason.empty())
            expected = {"", "", "Could not switch srcsafe.ini to data_path = " + strPath + ".\n" + c.strReason};
        CheckDatabaseRun(install,
                         {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG", "-DB:" + DatabaseName()},
                         expected, folders, c.bSwitched ? kIniAfter : "");
    }
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
}
