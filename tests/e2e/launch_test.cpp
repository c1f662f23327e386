// Starting SS.EXE: the command line it gets, what the console shows, and the
// failures of finding the installation and of the start.
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

using namespace tarntest;

// SS.EXE's own output follows, on tarn.exe's standard output.
TEST(Launch, CommandLineAndRunningLine)
{
    CScratchInstall install;
    const CRunResult result = install.RunTarn(
        {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", "-GWR"}, {{"STANDIN_ECHO", "1"}});
    const std::string strCommandLine =
        "\"" + install.Bin() + "\\ss.exe\" checkout \"$/PROJ1/HELLO.CPP\" -GWR -I- -C- -NL";
    EXPECT_EQ(strCommandLine, install.RecordedCommandLine());
    EXPECT_EQ(BannerText() + "Running: " + strCommandLine +
                  "\r\n  [ss.exe stand-in] checkout $/PROJ1/HELLO.CPP, switches: -GWR -I- -C- -NL\r\n",
              result.strOut);
    EXPECT_EQ("", result.strErr);
    EXPECT_EQ(0u, result.nExitCode);
}

TEST(Launch, BlanksInTheInstallationFolderStayInsideTheQuotes)
{
    CScratchInstall install("Program Files\\Visual SS\\BIN");
    install.RunTarn({"C:\\DEV\\SRC", "checkin", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP"});
    EXPECT_EQ("\"" + install.Bin() + "\\ss.exe\" checkin \"$/PROJ1/HELLO.CPP\" -I- -C- -NL",
              install.RecordedCommandLine());
}

TEST(Launch, ProjectPathAndSwitchesArePassedUnchanged)
{
    CScratchInstall install;
    install.RunTarn({"C:\\DEV\\SRC", "Checkout", "C:\\DEV\\SRC\\My Project\\A \"quoted\" file.cpp", "-GWR",
                     "-YUser,Secret Word", "-i-", "-PP:Release 2\\", "-c"});
    EXPECT_EQ(
        "\"" + install.StandinCopy() +
            "\" Checkout \"$/Release 2//My Project/A \"quoted\" file.cpp\" -GWR -YUser,Secret Word -i- -c -I- "
            "-C- -NL",
        install.RecordedCommandLine());
}

TEST(Launch, MissingSSExeIsReportedWithTheSystemText)
{
    CScratchInstall install;
    ASSERT_TRUE(DeleteFileA(install.StandinCopy().c_str()));
    const CRunResult result = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"});
    const std::string strSystemText = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(strSystemText.empty());
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n" +
                  "Could not launch SS.EXE.\r\n" + Crlf(strSystemText) + "\r\n",
              result.strOut);
    EXPECT_EQ(0u, result.nExitCode);
}

TEST(Launch, FailingSSExeIsNotReported)
{
    CScratchInstall install;
    CEnvironment env = {{"STANDIN_EXIT_CODE", "7"}};
    const CRunResult result = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"}, env);
    EXPECT_TRUE(install.StandinRan());
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
              result.strOut);
    EXPECT_EQ(0u, result.nExitCode);
}

// Ctrl+C pressed in tarn.exe's console reaches SS.EXE there, which ends on it
// (its own business); tarn.exe outlives it and ends after it.
TEST(Launch, CtrlCReachesSSExe)
{
    CScratchInstall install;
    CEnvironment env = install.StandinEnv();
    env["STANDIN_ECHO"] = "1";
    env["STANDIN_WAIT_FOR"] = install.Folder() + "\\never";
    CChild child(install.Tarn(), {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"}, env, "", nullptr,
                 CREATE_NEW_CONSOLE);
    ASSERT_TRUE(child.WaitForOutput("[ss.exe stand-in]", 30000)) << "SS.EXE's output did not arrive";
    const CRunResult keys =
        RunProgram(StandinExe(), {}, {{"STANDIN_ACTION", "ctrl-c:" + std::to_string(child.ProcessId())}});
    EXPECT_EQ(0u, keys.nExitCode) << "the keys could not be pressed in that console";
    // Long before the stand-in would stop waiting of its own accord.
    EXPECT_TRUE(child.Ended(15000));
    EXPECT_FALSE(install.StandinFinished());
    EXPECT_EQ(0u, child.Wait().nExitCode);
}

TEST(Launch, WaitsForSSExeToEnd)
{
    CScratchInstall install;
    CEnvironment env = install.StandinEnv();
    env["STANDIN_DELAY_MS"] = "500";
    CChild child(install.Tarn(), {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"}, env);
    // The stand-in marks its end after the delay: tarn.exe's process must not
    // have ended before it. (Its output is no sign: SS.EXE holds the same pipe.)
    ASSERT_TRUE(child.Ended(30000));
    EXPECT_TRUE(install.StandinFinished());
    EXPECT_EQ(0u, child.Wait().nExitCode);
}

TEST(Launch, SamePathsFromAnotherCurrentDirectoryAndARelativeProgramPath)
{
    CScratchInstall install;
    const std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-LOG"};
    const CRunResult direct = install.RunTarn(args);
    const std::string strDirectLog = ReadBytes(install.Log());
    DeleteFileA(install.Log().c_str());

    char szOld[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szOld);
    ASSERT_TRUE(SetCurrentDirectoryA(install.Folder().c_str()));
    CEnvironment env = install.StandinEnv("relative");
    const CRunResult relative = RunProgram("VSS\\BIN\\tarn.exe", args, env, install.Folder() + "\\work");
    SetCurrentDirectoryA(szOld);

    EXPECT_EQ(direct.strOut, relative.strOut);
    EXPECT_EQ(install.RecordedCommandLine(), install.RecordedCommandLine("relative"));
    // Only the program's own path as the caller gave it differs in the log.
    const std::string strRelativeLog = ReadBytes(install.Log());
    EXPECT_NE(std::string::npos, strRelativeLog.find("<Parameter>VSS\\BIN\\tarn.exe</Parameter>"));
    EXPECT_EQ(strDirectLog.substr(strDirectLog.find("\t<Root>")),
              strRelativeLog.substr(strRelativeLog.find("\t<Root>")));
}

// A start the system loses before SS.EXE runs (ERROR_INTERNAL_ERROR, seen under
// Wine under load) is tried again, at most three times; any other failure is
// final at once. Made to happen through the test build's start seam.
TEST(Launch, StartLostBeforeItRanIsTriedAgain)
{
    struct CCase
    {
        DWORD nError;
        int nFailingStarts;
        int nStartsExpected;
        bool bRuns;
    };
    const CCase cases[] = {
        {ERROR_INTERNAL_ERROR, 1, 2, true},
        {ERROR_INTERNAL_ERROR, 2, 3, true},
        {ERROR_INTERNAL_ERROR, 5, 3, false},
        {ERROR_ACCESS_DENIED, 1, 1, false},
    };
    CScratchInstall install;
    install.InstallFaultBuild();
    const std::string strTrace = install.Folder() + "\\starts.txt";
    for (const CCase& c : cases)
    {
        SCOPED_TRACE("error " + std::to_string(c.nError) + ", " + std::to_string(c.nFailingStarts) + " failing");
        DeleteFileA(strTrace.c_str());
        DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
        CEnvironment env = install.StandinEnv();
        env["TARN_FAULT_MODE"] = "start-fail";
        env["TARN_FAULT_AT"] = std::to_string(c.nFailingStarts);
        env["TARN_FAULT_ERROR"] = std::to_string(c.nError);
        env["TARN_FAULT_TRACE"] = strTrace;
        const CRunResult result =
            RunProgram(install.FaultTarn(), {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"}, env);

        std::string strStarts = ReadBytes(strTrace);
        int nStarts = 0;
        for (std::size_t n = strStarts.find("start SS.EXE"); n != std::string::npos;
             n = strStarts.find("start SS.EXE", n + 1))
            ++nStarts;
        EXPECT_EQ(c.nStartsExpected, nStarts);
        EXPECT_EQ(c.bRuns, install.StandinRan());
        const std::string strRunning =
            "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n";
        const std::string strFailure = "Could not launch SS.EXE.\r\n" + Crlf(SystemText(c.nError)) + "\r\n";
        EXPECT_EQ(BannerText() + strRunning + (c.bRuns ? "" : strFailure), result.strOut);
        EXPECT_EQ(0u, result.nExitCode);
    }
}

// tarn.exe at a path of 259 characters: srcsafe.ini's own path still fits,
// the names of the files kept beside it (lock, record, temporary files) do
// not. Calls that switch nothing run as usual; a switch, which needs its
// record, is refused with the system's reason.
TEST(Launch, ProgramPathOf259Characters)
{
    std::size_t nFolder = 0;
    {
        CScratchInstall probe;
        nFolder = probe.Folder().size();
    }
    // <folder>\<padding>\VSS\BIN\tarn.exe, the padding in folders of at most 200 characters.
    std::size_t nPadding = 259 - nFolder - std::string("\\\\VSS\\BIN\\tarn.exe").size();
    std::string strBinFolder;
    for (; nPadding > 200; nPadding -= 201)
        strBinFolder += std::string(200, 'd') + "\\";
    strBinFolder += std::string(nPadding, 'd') + "\\VSS\\BIN";
    CScratchInstall install(strBinFolder);
    ASSERT_EQ(259u, install.Tarn().size());
    const std::string kIni = "[General]\r\nData_Path = C:\\VSS\\Data\r\n";
    WriteBytes(install.Ini(), kIni);
    CTestDatabase database("TarnE2E.DeepFolder", "C:\\Shared");

    const CRunResult plain = install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C"});
    EXPECT_EQ(BannerText() + "Running: \"" + install.StandinCopy() + "\" checkout \"$/A.C\" -I- -C- -NL\r\n",
              plain.strOut);
    EXPECT_EQ(kIni, install.RecordedIni());

    DeleteFileA((install.Folder() + "\\call.cmdline").c_str());
    const CRunResult switching =
        install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:TarnE2E.DeepFolder"});
    EXPECT_EQ(BannerText() +
                  "Could not switch srcsafe.ini to data_path = c:\\shared\\data.\r\n"
                  "The record of the switch, srcsafe.ini.tarnrestore, could not be written: " +
                  SystemTextLine(ERROR_FILENAME_EXCED_RANGE) + "\r\n",
              switching.strOut);
    EXPECT_FALSE(install.StandinRan());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());

    // A database whose folder holds its srcsafe.ini is opened through SSDIR instead.
    const std::string strOther = install.Folder() + "\\Other";
    MakeFolders(strOther);
    WriteBytes(strOther + "\\srcsafe.ini", "[General]\r\nData_Path = C:\\Other\\Data\r\n");
    CTestDatabase other("TarnE2E.DeepFolderOther", strOther);
    const CRunResult direct =
        install.RunTarn({"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\A.C", "-DB:TarnE2E.DeepFolderOther"});
    EXPECT_EQ(plain.strOut, direct.strOut);
    EXPECT_EQ("C:\\Other\\Data", install.RecordedDataPath());
    EXPECT_EQ(kIni, ReadBytes(install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, install.FilesBesideIni());
}
