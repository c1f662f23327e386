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
    // The buffer is flushed by hand: not every C runtime's fclose reports a
    // failure to write it out.
    const bool bWritten =
        std::fwrite(m_strLog.data(), 1, m_strLog.size(), pLog) == m_strLog.size() && std::fflush(pLog) == 0;
    const bool bClosed = std::fclose(pLog) == 0;
    // A log cut short (a full disk) is removed rather than left to pass for a
    // whole one. Should the removal fail too, there is nothing left to try.
    if (!bWritten || !bClosed)
        static_cast<void>(std::remove(m_strLogPath.c_str()));
}
