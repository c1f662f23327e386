#include "app/tarn_app.h"
#include "launch/log_text.h"

#include <fstream>

void CTarnApp::WriteLog()
{
    AppendLogValues(m_strLog, *this);
    // Text mode: every line end is stored as CR LF. A log that cannot be
    // written is skipped without a word; the run goes on as before.
    std::ofstream log(m_strLogPath, std::ios::out | std::ios::trunc);
    if (log)
        log << m_strLog;
}
