#include "app/tarn_app.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/file_io.h"

namespace
{
// srcsafe.ini's bytes, by its resolved name.
DWORD ReadIni(const CTarnApp& app, std::string& strText)
{
    return ReadWholeFile(app.IniFile(), strText);
}
}

void CTarnApp::ReadCurrentDatabasePath()
{
    std::string strText;
    if (ReadIni(*this, strText) != ERROR_SUCCESS)
        throw CTarnException("Could not locate current database path in srcsafe.ini");
    // A data_path line beside an include line need not be the one SS.EXE goes by.
    m_bIniIncludes = HoldsIncludeLine(strText);
    std::string strValue;
    if (!m_bIniIncludes && ReadDataPath(strText, strValue))
        m_strOldDatabasePath = strValue;
}

// Every other line is written back as it was read. A srcsafe.ini that cannot
// be read whole is never written, created or emptied here.
unsigned long CTarnApp::SetDatabasePath(const std::string& strPath) const
{
    std::string strText;
    const DWORD nError = ReadIni(*this, strText);
    if (nError != ERROR_SUCCESS)
        return nError;
    return RewriteFile(IniFile(), RewriteDataPath(strText, strPath));
}

unsigned long CTarnApp::QueryDatabasePath(std::string& strValue, bool& bHasLine) const
{
    std::string strText;
    const DWORD nError = ReadIni(*this, strText);
    if (nError == ERROR_SUCCESS)
        bHasLine = ReadDataPath(strText, strValue);
    return nError;
}
