// Whole runs of the real program, with each of their file-system calls made to
// fail in turn (once, and twice in a row), the program ended hard before each
// of them in turn, and each of their allocations made to fail in turn. After
// every such run srcsafe.ini must be whole (as it was, switched, or put back),
// SS.EXE must have seen exactly the database asked for or not have run at all,
// the console must have said what happened, a run that ended on its own must
// have left nothing of its own beside srcsafe.ini, and one undisturbed run must
// then leave srcsafe.ini put back with nothing beside it.
#include "tests/fault/fault_file_system.h"
#include "tests/support/registry.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

using namespace tarntest;

namespace
{
const char kOriginal[] = "[General]\r\nData_Path = C:\\VSS\\Data ; main\r\nUser = Ann\r\n";
const char kSwitched[] = "[General]\r\ndata_path = c:\\other\\data ; main\r\nUser = Ann\r\n";
const char kRestored[] = "[General]\r\ndata_path = c:\\vss\\data ; main\r\nUser = Ann\r\n";
// The record of the switch, as this version writes it, and as earlier versions
// wrote it (the record a repairing run finds).
const char kRecord[] = "tarn: data_path to put back\r\nc:\\vss\\data\r\n";
const char kOldRecord[] = "tarn: data_path to put back\nc:\\vss\\data";
const char kOriginalPath[] = "c:\\vss\\data";
// The srcsafe.ini of the database an SSDir run asks for.
const char kOtherIni[] = "[General]\r\nData_Path = C:\\Other\\Data\r\n";
const char kOtherPath[] = "c:\\other\\data";

enum class ERun
{
    Switch,  // a -DB: run that switches and switches back
    Repair,  // a plain run that finds what a run killed while switched left
    Plain,   // a plain run
    SSDir,   // a -DB: run while SSDIR names another folder: it touches no srcsafe.ini
    Include, // a -DB: run on a srcsafe.ini that includes the server's: it touches neither
    Fallback // a -DB: run on a read-only srcsafe.ini: it opens the database through SSDIR
};

// Runs that hand SS.EXE the database's own folder as SSDIR and never switch srcsafe.ini.
bool OpensThroughSSDir(ERun run)
{
    return run == ERun::SSDir || run == ERun::Include || run == ERun::Fallback;
}

struct CSweep
{
    ERun run;
    const char* szMode;
    const char* szName;
};

// Keeps the test names readable (and the same from build to build) in ctest's list.
void PrintTo(const CSweep& sweep, std::ostream* pOut)
{
    *pOut << sweep.szName;
}

std::string DatabaseName()
{
    return std::string("TarnSweep.") + testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::vector<std::string> Args(ERun run)
{
    std::vector<std::string> args = {"C:\\DEV\\SRC", "checkout", "C:\\DEV\\SRC\\PROJ1\\HELLO.CPP"};
    if (run == ERun::Switch || OpensThroughSSDir(run))
        args.push_back("-DB:" + DatabaseName());
    return args;
}

std::string Folder(const CScratchInstall& install)
{
    return install.Ini().substr(0, install.Ini().rfind('\\'));
}

std::string RecordPath(const CScratchInstall& install)
{
    return install.Ini() + ".tarnrestore";
}

// The server's srcsafe.ini that an Include run's client file includes.
std::string ServerIni(const CScratchInstall& install)
{
    return install.Folder() + "\\Server\\srcsafe.ini";
}

// srcsafe.ini as a run starts from it, before any switch.
std::string Original(const CScratchInstall& install, ERun run)
{
    if (run == ERun::Include)
        return "[General]\r\n#include " + ServerIni(install) + "\r\nUser = Ann\r\n";
    return kOriginal;
}

// The files a run starts from: srcsafe.ini alone, or what a run killed while
// switched leaves (its record, its lock file and a temporary file).
void LayOut(const CScratchInstall& install, ERun run)
{
    SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& strName : install.FilesBesideIni())
        ASSERT_TRUE(DeleteFileA((Folder(install) + "\\" + strName).c_str())) << strName;
    for (const char* szRecord : {"faulty", "call"})
        for (const char* szSuffix : {".cmdline", ".ini", ".restore", ".done", ".trace", ".datapath"})
            DeleteFileA((install.Folder() + "\\" + szRecord + szSuffix).c_str());
    if (OpensThroughSSDir(run))
    {
        // The database's own folder, with its own srcsafe.ini, the one SSDIR
        // names, and the server's that a client's srcsafe.ini includes.
        for (const char* szFolder : {"\\Other", "\\Elsewhere"})
        {
            MakeFolders(install.Folder() + szFolder);
            WriteBytes(install.Folder() + szFolder + "\\srcsafe.ini", kOtherIni);
        }
        MakeFolders(install.Folder() + "\\Server");
        WriteBytes(ServerIni(install), kOriginal);
    }
    if (run != ERun::Repair)
    {
        WriteBytes(install.Ini(), Original(install, run));
        if (run == ERun::Fallback)
        {
            ASSERT_TRUE(SetFileAttributesA(install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        return;
    }
    WriteBytes(install.Ini(), kSwitched);
    WriteBytes(RecordPath(install), kOldRecord);
    WriteBytes(install.Ini() + ".tarnlock", "");
    WriteBytes(install.Ini() + ".tarn4242-0.tmp", "[General]\r\ndata_pa");
}

std::string FaultyTrace(const CScratchInstall& install)
{
    return install.Folder() + "\\faulty.trace";
}

CRunResult RunFaulty(const CScratchInstall& install, ERun run, const std::string& strMode, int nAt,
                     const std::string& strTrace)
{
    CEnvironment env = install.StandinEnv("faulty");
    env["TARN_FAULT_MODE"] = strMode;
    env["TARN_FAULT_AT"] = std::to_string(nAt);
    if (!strTrace.empty())
        env["TARN_FAULT_TRACE"] = strTrace;
    if (run == ERun::SSDir)
        env["SSDIR"] = install.Folder() + "\\Elsewhere";
    bool bTimedOut = false;
    CRunResult result = RunProgramWithin(30000, bTimedOut, install.FaultTarn(), Args(run), env);
    EXPECT_FALSE(bTimedOut) << "the run hung:\n" << result.strOut;
    return result;
}

// What a clean run does, one line per file-system call, and its allocation count last.
std::vector<std::string> CleanRunTrace(const CScratchInstall& install, ERun run, const std::string& strMode)
{
    const std::string strTrace = install.Folder() + "\\trace.txt";
    DeleteFileA(strTrace.c_str());
    EXPECT_NO_FATAL_FAILURE(LayOut(install, run));
    const CRunResult result = RunFaulty(install, run, strMode == "oom" ? "oom" : "none", 0, strTrace);
    EXPECT_TRUE(install.StandinRan("faulty")) << result.strOut;
    std::vector<std::string> lines;
    std::istringstream text(ReadBytes(strTrace));
    for (std::string strLine; std::getline(text, strLine);)
        lines.push_back(strLine.substr(0, strLine.find('\r')));
    return lines;
}

// As SS.EXE found it, include lines followed, in lower case.
std::string DataPathSeen(const CScratchInstall& install, const std::string& strRecord)
{
    std::string strValue = install.RecordedDataPath(strRecord);
    if (strValue.empty())
        return "(no data_path line)";
    for (char& c : strValue)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return strValue;
}

bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

bool SaysWhatWentWrong(const std::string& strOut)
{
    for (const char* szMessage :
         {"Could not switch srcsafe.ini to data_path = ", "Could not locate current database path in srcsafe.ini",
          "Could not read srcsafe.ini.tarnrestore, the record of an interrupted run",
          "srcsafe.ini still holds the database of an interrupted run",
          "Could not set SSDIR to the folder of the database ", "Unexpected failure"})
        if (Contains(strOut, szMessage))
            return true;
    return false;
}

// The calls that the faulty run was made to fail, "<function> <what>" each, as its trace names them.
std::vector<std::string> FailedCalls(const CScratchInstall& install, const std::string& strMode, int nAt)
{
    const int nLast = strMode == "fail-twice" ? nAt + 1 : strMode == "fail" ? nAt : 0;
    std::vector<std::string> calls;
    std::istringstream text(ReadBytes(FaultyTrace(install)));
    for (std::string strLine; std::getline(text, strLine);)
    {
        const std::size_t nBlank = strLine.find(' ');
        const int nCall = std::atoi(strLine.substr(0, nBlank).c_str());
        if (nBlank != std::string::npos && nCall >= nAt && nCall <= nLast)
            calls.push_back(strLine.substr(nBlank + 1, strLine.find('\r') - nBlank - 1));
    }
    return calls;
}

bool EndsWith(const std::string& strText, const std::string& strEnd)
{
    return strText.size() >= strEnd.size() &&
           strText.compare(strText.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// What a run that ended on its own may leave beside srcsafe.ini: what it
// started from, the record of a switch it leaves in force, and a file whose
// removal (DeleteFile, or an open that deletes on close) was made to fail.
bool MayStay(const std::string& strName, ERun run, bool bSwitched, const std::vector<std::string>& failedCalls)
{
    if (strName == "srcsafe.ini" || (bSwitched && strName == "srcsafe.ini.tarnrestore"))
        return true;
    if (run == ERun::Repair && (strName == "srcsafe.ini.tarnrestore" || strName == "srcsafe.ini.tarnlock" ||
                                strName == "srcsafe.ini.tarn4242-0.tmp"))
        return true;
    return std::any_of(failedCalls.begin(), failedCalls.end(),
                       [&](const std::string& strCall)
                       {
                           return (strCall.rfind("DeleteFile ", 0) == 0 || strCall.rfind("CreateFile ", 0) == 0) &&
                                  EndsWith(strCall, "\\" + strName);
                       });
}

testing::AssertionResult CheckFaultyRun(const CScratchInstall& install, const CSweep& sweep, int nAt,
                                        const CRunResult& result)
{
    const ERun run = sweep.run;
    const bool bKilled = result.nExitCode == kKilledExitCode;
    const std::string strIni = ReadBytes(install.Ini());
    const bool bSwitched = strIni == kSwitched;
    const bool bWhole = strIni == Original(install, run) || strIni == kRestored || bSwitched;
    const bool bNeverSwitched = run == ERun::Plain || OpensThroughSSDir(run);
    if (!bWhole || (bNeverSwitched && strIni != Original(install, run)) ||
        (run == ERun::Repair && strIni == kOriginal))
        return testing::AssertionFailure() << "srcsafe.ini holds " << testing::PrintToString(strIni);
    if (!bKilled && result.nExitCode != 0)
        return testing::AssertionFailure() << "exit status " << result.nExitCode;
    // The srcsafe.ini SSDIR led SS.EXE to is never written, nor anything put
    // beside it; nor is the one a client's srcsafe.ini includes.
    if (OpensThroughSSDir(run) &&
        (ReadBytes(install.Folder() + "\\Other\\srcsafe.ini") != kOtherIni ||
         FilesIn(install.Folder() + "\\Other") != std::vector<std::string>{"srcsafe.ini"} ||
         ReadBytes(ServerIni(install)) != kOriginal ||
         FilesIn(install.Folder() + "\\Server") != std::vector<std::string>{"srcsafe.ini"}))
        return testing::AssertionFailure() << "another database's srcsafe.ini was touched";

    const bool bStarted = install.StandinRan("faulty");
    const std::string strWanted = run == ERun::Switch || OpensThroughSSDir(run) ? kOtherPath : kOriginalPath;
    if (bStarted && DataPathSeen(install, "faulty") != strWanted)
        return testing::AssertionFailure() << "SS.EXE saw data_path = " << DataPathSeen(install, "faulty");
    // While srcsafe.ini is switched, a kill must be repairable: the record is there.
    if (bStarted && run == ERun::Switch && ReadBytes(install.Folder() + "\\faulty.restore") != kRecord)
        return testing::AssertionFailure() << "SS.EXE ran on a switched srcsafe.ini without a record of the switch";
    if (!bStarted && !bKilled && !SaysWhatWentWrong(result.strOut))
        return testing::AssertionFailure() << "SS.EXE did not run, and the run did not say why:\n" << result.strOut;

    if (bSwitched)
    {
        // Whatever happened, the next run must be able to put it back.
        if (ReadBytes(RecordPath(install)) != (run == ERun::Repair ? kOldRecord : kRecord))
            return testing::AssertionFailure() << "srcsafe.ini is left switched without its record";
        if (!bKilled && run == ERun::Switch &&
            !Contains(result.strOut, "srcsafe.ini could not be put back to data_path = c:\\vss\\data; the next run "
                                     "of tarn.exe will put it back.\r\n"))
            return testing::AssertionFailure() << "srcsafe.ini is left switched without a word:\n" << result.strOut;
    }
    // Looked at before the next run, which would clean up after this one.
    const std::vector<std::string> failedCalls = FailedCalls(install, sweep.szMode, nAt);
    for (const std::string& strName : install.FilesBesideIni())
        if (!bKilled && !MayStay(strName, run, bSwitched, failedCalls))
            return testing::AssertionFailure() << "the run left " << strName << " beside srcsafe.ini";
    return testing::AssertionSuccess();
}

testing::AssertionResult CheckNextRun(const CScratchInstall& install, ERun run)
{
    const CRunResult result = install.RunTarn(Args(ERun::Plain));
    const std::string strIni = ReadBytes(install.Ini());
    if (strIni != kRestored && !(run != ERun::Repair && strIni == Original(install, run)))
        return testing::AssertionFailure()
               << "after the next run srcsafe.ini holds " << testing::PrintToString(strIni) << "\n"
               << result.strOut;
    if (!install.StandinRan() || DataPathSeen(install, "call") != kOriginalPath)
        return testing::AssertionFailure() << "the next run did not run SS.EXE on the original database:\n"
                                           << result.strOut;
    if (install.FilesBesideIni() != std::vector<std::string>{"srcsafe.ini"})
    {
        testing::AssertionResult failure = testing::AssertionFailure();
        failure << "after the next run, beside srcsafe.ini:";
        for (const std::string& strName : install.FilesBesideIni())
            failure << " " << strName;
        return failure;
    }
    return testing::AssertionSuccess();
}

class Sweep : public testing::TestWithParam<CSweep>
{};
}

TEST_P(Sweep, EveryPointLeavesSrcsafeIniWhole)
{
    const CSweep& sweep = GetParam();
    CScratchInstall install;
    install.InstallFaultBuild();
    CTestDatabase other(DatabaseName(), OpensThroughSSDir(sweep.run) ? install.Folder() + "\\Other" : "C:\\Other");

    std::vector<std::string> trace = CleanRunTrace(install, sweep.run, sweep.szMode);
    ASSERT_FALSE(trace.empty());
    const std::string strAllocations = trace.back();
    ASSERT_EQ(0u, strAllocations.rfind("allocations ", 0)) << strAllocations;
    trace.pop_back();
    const int nPoints =
        std::string(sweep.szMode) == "oom" ? std::stoi(strAllocations.substr(12)) : static_cast<int>(trace.size());
    ASSERT_GT(nPoints, 0);

    int nFailures = 0;
    int nStarted = 0;
    int nLeftSwitched = 0;
    for (int k = 1; k <= nPoints && nFailures < 3; ++k)
    {
        SCOPED_TRACE("point " + std::to_string(k) +
                     (k <= static_cast<int>(trace.size()) ? ": " + trace[k - 1] : ""));
        ASSERT_NO_FATAL_FAILURE(LayOut(install, sweep.run));
        const CRunResult result = RunFaulty(install, sweep.run, sweep.szMode, k, FaultyTrace(install));
        nStarted += install.StandinRan("faulty") ? 1 : 0;
        nLeftSwitched += ReadBytes(install.Ini()) == kSwitched ? 1 : 0;
        const testing::AssertionResult faulty = CheckFaultyRun(install, sweep, k, result);
        EXPECT_TRUE(faulty) << "\nconsole:\n" << result.strOut;
        const testing::AssertionResult next = CheckNextRun(install, sweep.run);
        EXPECT_TRUE(next);
        nFailures += (faulty && next) ? 0 : 1;
    }
    std::printf("%s: %d points; SS.EXE started in %d runs, srcsafe.ini left switched by %d\n", sweep.szName,
                nPoints, nStarted, nLeftSwitched);
}

INSTANTIATE_TEST_SUITE_P(
    , Sweep,
    testing::Values(
        CSweep{ERun::Switch, "fail", "SwitchFail"}, CSweep{ERun::Switch, "fail-twice", "SwitchFailTwice"},
        CSweep{ERun::Switch, "kill", "SwitchKill"}, CSweep{ERun::Switch, "oom", "SwitchOutOfMemory"},
        CSweep{ERun::Repair, "fail", "RepairFail"}, CSweep{ERun::Repair, "fail-twice", "RepairFailTwice"},
        CSweep{ERun::Repair, "kill", "RepairKill"}, CSweep{ERun::Plain, "fail", "PlainFail"},
        CSweep{ERun::Plain, "fail-twice", "PlainFailTwice"}, CSweep{ERun::Plain, "kill", "PlainKill"},
        CSweep{ERun::SSDir, "fail", "SSDirFail"}, CSweep{ERun::SSDir, "kill", "SSDirKill"},
        CSweep{ERun::Include, "fail", "IncludeFail"}, CSweep{ERun::Include, "fail-twice", "IncludeFailTwice"},
        CSweep{ERun::Include, "kill", "IncludeKill"}, CSweep{ERun::Fallback, "fail", "FallbackFail"},
        CSweep{ERun::Fallback, "fail-twice", "FallbackFailTwice"}, CSweep{ERun::Fallback, "kill", "FallbackKill"}),
    [](const testing::TestParamInfo<CSweep>& info) { return std::string(info.param.szName); });
