#include "tests/support/scratch.h"

#include "version.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarntest
{
std::string WindowsPath(const std::string& strHostPath)
{
    if (strHostPath.empty() || strHostPath[0] != '/')
        return strHostPath;
    std::string strPath = "Z:" + strHostPath;
    for (char& c : strPath)
        if (c == '/')
            c = '\\';
    return strPath;
}

std::string TarnExe()
{
    return WindowsPath(TARN_EXE);
}

std::string StandinExe()
{
    return WindowsPath(STANDIN_EXE);
}

std::string FaultExe()
{
    return WindowsPath(FAULT_EXE);
}

std::string ReadBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    ASSERT_TRUE(file.good()) << strPath;
}

bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolders(const std::string& strPath)
{
    for (std::size_t nSlash = strPath.find('\\', 3); nSlash != std::string::npos;
         nSlash = strPath.find('\\', nSlash + 1))
        CreateDirectoryA(strPath.substr(0, nSlash).c_str(), nullptr);
    CreateDirectoryA(strPath.c_str(), nullptr);
}

void RemoveTree(const std::string& strPath)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string strName = found.cFileName;
            if (strName == "." || strName == "..")
                continue;
            const std::string strChild = strPath + "\\" + strName;
            SetFileAttributesA(strChild.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strChild);
            else
                DeleteFileA(strChild.c_str());
        } while (FindNextFileA(hFind, &found));
        FindClose(hFind);
    }
    RemoveDirectoryA(strPath.c_str());
}

std::vector<std::string> FilesIn(const std::string& strFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return names;
}

std::string BannerText()
{
    return Crlf("Tarn - SourceSafe command launcher for editors (ver. " TARN_VERSION_TEXT ")\n"
                "\tby the Tarn project\n"
                "\t\tTechnical support: " TARN_SUPPORT_CONTACT "\n\n");
}

std::string CodePageRunSuffix()
{
    char szWanted[16] = {};
    if (GetEnvironmentVariableA("TARN_TEST_CODE_PAGE", szWanted, sizeof(szWanted)) == 0)
        return std::string();
    return ".cp" + std::to_string(GetACP()) + "-" + std::to_string(GetOEMCP());
}

namespace
{
std::string TestFolderName()
{
    const testing::TestInfo* pInfo = testing::UnitTest::GetInstance()->current_test_info();
    std::string strName = std::string(pInfo->test_suite_name()) + "." + pInfo->name() + CodePageRunSuffix();
    for (char& c : strName)
        if (c == '/' || c == '\\')
            c = '_';
    return strName;
}

void CopyOrFail(const std::string& strFrom, const std::string& strTo)
{
    ASSERT_TRUE(CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE)) << strFrom << " -> " << strTo;
}
}

CScratchInstall::CScratchInstall(const std::string& strBinFolder)
{
    m_strFolder = WindowsPath(TARN_SCRATCH) + "\\" + TestFolderName();
    RemoveTree(m_strFolder);
    m_strBin = m_strFolder + "\\" + strBinFolder;
    MakeFolders(m_strBin);
    MakeFolders(m_strFolder + "\\work");
    CopyOrFail(TarnExe(), Tarn());
    CopyOrFail(StandinExe(), StandinCopy());
}

void CScratchInstall::InstallFaultBuild() const
{
    CopyOrFail(FaultExe(), FaultTarn());
}

CScratchInstall::~CScratchInstall()
{
    RemoveTree(m_strFolder);
}

std::string CScratchInstall::Ini() const
{
    return m_strBin.substr(0, m_strBin.rfind('\\')) + "\\srcsafe.ini";
}

std::vector<std::string> CScratchInstall::FilesBesideIni() const
{
    return FilesIn(Ini().substr(0, Ini().rfind('\\')));
}

CEnvironment CScratchInstall::StandinEnv(const std::string& strRecord) const
{
    return {{"STANDIN_RECORD", m_strFolder + "\\" + strRecord}};
}

std::string CScratchInstall::RecordedCommandLine(const std::string& strRecord) const
{
    return ReadBytes(m_strFolder + "\\" + strRecord + ".cmdline");
}

bool CScratchInstall::StandinRan(const std::string& strRecord) const
{
    return Exists(m_strFolder + "\\" + strRecord + ".cmdline");
}

bool CScratchInstall::StandinFinished(const std::string& strRecord) const
{
    return Exists(m_strFolder + "\\" + strRecord + ".done");
}

std::string CScratchInstall::RecordedIni(const std::string& strRecord) const
{
    return ReadBytes(m_strFolder + "\\" + strRecord + ".ini");
}

std::string CScratchInstall::RecordedDataPath(const std::string& strRecord) const
{
    return ReadBytes(m_strFolder + "\\" + strRecord + ".datapath");
}

CRunResult CScratchInstall::RunTarn(const std::vector<std::string>& args, CEnvironment env,
                                    const std::string& strCurrentDir, UINT nCodePage) const
{
    for (const auto& entry : StandinEnv())
        env.insert(entry);
    return RunProgram(Tarn(), args, env, strCurrentDir, nCodePage);
}
}
