#pragma once

#include "tests/support/process.h"

#include <string>

namespace tarntest
{
// A path of the build machine as a Windows path ("/a/b" is Z:\a\b under Wine).
std::string WindowsPath(const std::string& strHostPath);

std::string TarnExe();
std::string StandinExe();
// The test build of tarn.exe that fails on request (tests/fault/tarn_fault_main.cpp).
std::string FaultExe();

std::string ReadBytes(const std::string& strPath);
void WriteBytes(const std::string& strPath, const std::string& strBytes);
bool Exists(const std::string& strPath);
void MakeFolders(const std::string& strPath);
void RemoveTree(const std::string& strPath);
// Names of the files (not folders) in a folder.
std::vector<std::string> FilesIn(const std::string& strFolder);

// The same tests run at once, in the suite and once more in other code pages
// (tests/CMakeLists.txt): a suffix for the names of the latter (".cp932-932"),
// which keeps their folders and registry values apart; empty in the suite.
std::string CodePageRunSuffix();

// The banner, as the console shows it (CR LF line ends).
std::string BannerText();

// A scratch installation for the running test: <folder>\VSS\BIN\tarn.exe with
// the stand-in as ss.exe beside it, srcsafe.ini in VSS, and a working folder.
// Removed again when the test ends.
class CScratchInstall
{
public:
    explicit CScratchInstall(const std::string& strBinFolder = "VSS\\BIN");
    CScratchInstall(const CScratchInstall&) = delete;
    CScratchInstall& operator=(const CScratchInstall&) = delete;
    ~CScratchInstall();

    const std::string& Folder() const { return m_strFolder; }
    const std::string& Bin() const { return m_strBin; }
    std::string Tarn() const { return m_strBin + "\\tarn.exe"; }
    std::string StandinCopy() const { return m_strBin + "\\ss.exe"; }
    // The test build that fails on request, copied beside tarn.exe by InstallFaultBuild().
    std::string FaultTarn() const { return m_strBin + "\\tarn_fault.exe"; }
    void InstallFaultBuild() const;
    std::string Ini() const;
    std::string Log() const { return m_strBin + "\\tarnlog.xml"; }
    // Every file in srcsafe.ini's folder: after a normal run, srcsafe.ini alone.
    std::vector<std::string> FilesBesideIni() const;

    // What the stand-in was given and saw, for a run with StandinEnv().
    CEnvironment StandinEnv(const std::string& strRecord = "call") const;
    std::string RecordedCommandLine(const std::string& strRecord = "call") const;
    bool StandinRan(const std::string& strRecord = "call") const;
    std::string RecordedIni(const std::string& strRecord = "call") const;
    // The Data_Path SS.EXE ended with, include lines followed; empty when none.
    std::string RecordedDataPath(const std::string& strRecord = "call") const;
    bool StandinFinished(const std::string& strRecord = "call") const;

    // Runs the installed tarn.exe with the stand-in's recording on; the
    // arguments are in nCodePage (see CChild).
    CRunResult RunTarn(const std::vector<std::string>& args, CEnvironment env = {},
                       const std::string& strCurrentDir = "", UINT nCodePage = CP_ACP) const;

private:
    std::string m_strFolder;
    std::string m_strBin;
};
}
