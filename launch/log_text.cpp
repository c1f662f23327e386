#include "launch/log_text.h"

#include "app/tarn_app.h"

namespace
{
void AppendElement(std::string& strLog, const char* szName, const std::string& strValue)
{
    strLog += std::string("\t<") + szName + ">" + strValue + "</" + szName + ">\n";
}
}

void AppendLogValues(std::string& strLog, const CTarnApp& app)
{
    AppendElement(strLog, "Root", app.m_strRoot);
    AppendElement(strLog, "Command", app.m_strCommand);
    AppendElement(strLog, "FileName", app.m_strFileName);
    AppendElement(strLog, "Database", app.m_strDatabase);
    AppendElement(strLog, "PathPrefix", app.m_strPathPrefix);
    AppendElement(strLog, "Parameters", app.m_strParameters);
    AppendElement(strLog, "IniPath", app.m_strIniPath);
    AppendElement(strLog, "ExePath", app.m_strExePath);
    AppendElement(strLog, "SSFilePath", app.m_strSSFilePath);
    AppendElement(strLog, "SSCmdLine", app.m_strSSCmdLine);
    AppendElement(strLog, "RealRoot", app.m_strRealRoot);
    AppendElement(strLog, "OldDatabasePath", app.m_strOldDatabasePath);
    AppendElement(strLog, "NewDatabasePath", app.m_strNewDatabasePath);
    // Only where the run gave SS.EXE an SSDIR of its own.
    if (!app.m_strSSDir.empty())
        AppendElement(strLog, "SSDir", app.m_strSSDir);
    strLog += "</Log>\n";
}
