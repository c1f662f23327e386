#include "app/ansi_conversion.h"
#include "app/code_page.h"
#include "app/tarn_app.h"
#include "launch/system_error.h"
#include "sourcesafe/file_io.h"

#include <windows.h>

namespace
{
// The full path of a folder without a final backslash, so that two names of
// the same folder compare equal.
std::wstring FullFolder(const std::wstring& strFolder)
{
    std::wstring strFull = FullPathWide(strFolder);
    while (!strFull.empty() && strFull.back() == L'\\')
        strFull.pop_back();
    return strFull;
}
}

bool CTarnApp::SSDirNamesAnotherFolder() const
{
    std::wstring strSSDir;
    const bool bSet = LookUpEnvironmentWide(L"SSDIR", strSSDir);
    return bSet && !strSSDir.empty() && !IsIniFolder(strSSDir);
}

bool CTarnApp::IsIniFolder(const std::wstring& strFolder) const
{
    const std::string strIni = IniFile();
    const std::size_t nSlash = AnsiCodePage().FindLast(strIni, '\\');
    const std::wstring strOwn = FullFolder(ToWide(strIni.substr(0, nSlash == std::string::npos ? 0 : nSlash + 1)));
    const std::wstring strOther = FullFolder(strFolder);
    // Letter case counts for nothing in a Windows path, in any alphabet.
    return CompareStringOrdinal(strOwn.data(), static_cast<int>(strOwn.size()), strOther.data(),
                                static_cast<int>(strOther.size()), TRUE) == CSTR_EQUAL;
}

void CTarnApp::PointSSDirAtDatabase()
{
    std::string strReason;
    if (!TryPointSSDirAtDatabase(strReason))
        throw CTarnException("Could not set SSDIR to the folder of the database " + m_strDatabase + ".\n" +
                             strReason);
}

// SS.EXE gets the database's own folder as SSDIR, and with it that database's
// own srcsafe.ini, as SourceSafe opens a database; ours is not touched.
bool CTarnApp::TryPointSSDirAtDatabase(std::string& strReason)
{
    if (m_strNewDatabasePath.empty() || m_strDatabaseFolder.empty())
    {
        strReason = "No folder is registered under that name for this user.";
        return false;
    }
    const std::string strIni =
        m_strDatabaseFolder + (AnsiCodePage().EndsWith(m_strDatabaseFolder, '\\') ? "" : "\\") + "srcsafe.ini";
    const DWORD nError = ProbeFile(strIni);
    if (nError == ERROR_FILE_NOT_FOUND)
    {
        strReason = "Its folder, " + m_strDatabaseFolder + ", holds no srcsafe.ini.";
        return false;
    }
    if (nError != ERROR_SUCCESS)
    {
        strReason = "Its srcsafe.ini could not be reached: " + SystemErrorLine(nError);
        return false;
    }
    if (!SetEnvironmentVariableA("SSDIR", m_strDatabaseFolder.c_str()))
    {
        strReason = SystemErrorLine(GetLastError());
        return false;
    }
    m_strSSDir = m_strDatabaseFolder;
    return true;
}
