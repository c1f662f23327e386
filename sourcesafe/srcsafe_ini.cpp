#include "app/tarn_app.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/file_io.h"

void CTarnApp::ReadCurrentDatabasePath()
{
    std::string strValue;
    bool bHasLine = false;
    if (QueryDatabasePath(strValue, bHasLine) != ERROR_SUCCESS)
        throw CTarnException("Could not locate current database path in srcsafe.ini");
    if (bHasLine)
        m_strOldDatabasePath = strValue;
}

// Every other line is written back as it was read. A srcsafe.ini that cannot
// be read whole is never written, created or emptied here.
unsigned long CTarnApp::SetDatabasePath(const std::string& strPath) const
{
    std::string strText;
    const DWORD nError = ReadWholeFile(IniFile(), strText);
    if (nError != ERROR_SUCCESS)
        return nError;
    return RewriteFile(IniFile(), RewriteDataPath(strText, strPath));
}

unsigned long CTarnApp::QueryDatabasePath(std::string& strValue, bool& bHasLine) const
{
    std::string strText;
    const DWORD nError = ReadWholeFile(IniFile(), strText);
    if (nError == ERROR_SUCCESS)
        bHasLine = ReadDataPath(strText, strValue);
    return nError;
}
