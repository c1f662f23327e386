#include "app/tarn_app.h"
#include "launch/log_text.h"

#include <cstdio>

void CTarnApp::WriteLog()
{
    AppendLogValues(m_strLog, *this);
    // Text mode: every line end is stored as CR LF. A log that cannot be
    // written is skipped without a word; the run goes on as before.
    std::FILE* pLog = std::fopen(m_strLogPath.c_str(), "w");
    if (pLog == nullptr)
        return;
    std::fwrite(m_strLog.data(), 1, m_strLog.size(), pLog);
    std::fclose(pLog);
}
