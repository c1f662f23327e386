#include "sourcesafe/install_paths.h"

#include "app/ansi_conversion.h"
#include "app/tarn_app.h"

#include <windows.h>

bool GetProgramFolder(const std::string& strModulePath, std::string& strFolder, const CCodePage& codePage)
{
    const std::size_t nSlash = codePage.FindLast(strModulePath, '\\');
    if (nSlash == std::string::npos)
        return false;
    strFolder = strModulePath.substr(0, nSlash + 1);
    return true;
}

void CTarnApp::LocateFiles()
{
    const DWORD kBuffer = 260;
    char szModule[kBuffer];
    const DWORD nLength = GetModuleFileNameA(nullptr, szModule, kBuffer);
    // A result of the full buffer size means the path was cut to fit: no folder can be trusted.
    std::string strFolder;
    if (nLength == 0 || nLength >= kBuffer || !GetProgramFolder(std::string(szModule, nLength), strFolder))
        throw CTarnException("Could not find directory to TARN.EXE");

    m_strIniPath = strFolder + "..\\srcsafe.ini";
    m_strExePath = strFolder + "ss.exe";
    m_strLogPath = strFolder + "tarnlog.xml";
}

// The system resolves "BIN\..\" only after it has refused a name of 260
// characters or more: at a program path of 259 characters, the name above is
// 7 characters too long although srcsafe.ini itself is within reach.
std::string CTarnApp::IniFile() const
{
    std::string strResolved;
    return ToAnsiExactly(FullPathWide(ToWide(m_strIniPath)), strResolved) ? strResolved : m_strIniPath;
}
