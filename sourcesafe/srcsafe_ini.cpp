#include "app/tarn_app.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/file_io.h"

void CTarnApp::ReadCurrentDatabasePath()
{
    std::string strText;
    if (!ReadWholeFile(m_strIniPath, strText))
        throw CTarnException("Could not locate current database path in srcsafe.ini");
    std::string strValue;
    if (ReadDataPath(strText, strValue))
        m_strOldDatabasePath = strValue;
}

// Silent by design: the switch back runs after the run's messages, and a
// srcsafe.ini that cannot be read is never created or emptied here.
void CTarnApp::SetDatabasePath(std::string strPath)
{
    std::string strText;
    if (!ReadWholeFile(m_strIniPath, strText))
        return;
    RewriteFile(m_strIniPath, RewriteDataPath(strText, strPath));
}

bool CTarnApp::IniHoldsDatabasePath(const std::string& strPath)
{
    std::string strText;
    std::string strValue;
    if (!ReadWholeFile(m_strIniPath, strText))
        return false;
    return ReadDataPath(strText, strValue) ? strValue == strPath : strPath.empty();
}
