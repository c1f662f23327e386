// The value elements of the diagnostic log. Input: the log so far, then the
// thirteen values, NUL between. Each value goes in byte for byte between its
// tags, in order, and "</Log>" closes the text.
#include "app/tarn_app.h"
#include "launch/log_text.h"
#include "tests/fuzz/fuzz_input.h"

// tarn_app.cpp brings the console and the srcsafe.ini guard, which need the
// system's headers; the log text reads only the fields.
CTarnApp::CTarnApp() : m_nRequiredArgs(4), m_bLog(false) {}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    tarnfuzz::CFields fields(pData, nSize);
    CTarnApp app;
    app.m_strLog = fields.Next();
    struct Element
    {
        const char* szName;
        std::string* pValue;
    };
    const Element elements[] = {
        {"Root", &app.m_strRoot},
        {"Command", &app.m_strCommand},
        {"FileName", &app.m_strFileName},
        {"Database", &app.m_strDatabase},
        {"PathPrefix", &app.m_strPathPrefix},
        {"Parameters", &app.m_strParameters},
        {"IniPath", &app.m_strIniPath},
        {"ExePath", &app.m_strExePath},
        {"SSFilePath", &app.m_strSSFilePath},
        {"SSCmdLine", &app.m_strSSCmdLine},
        {"RealRoot", &app.m_strRealRoot},
        {"OldDatabasePath", &app.m_strOldDatabasePath},
        {"NewDatabasePath", &app.m_strNewDatabasePath},
    };
    std::string strExpected = app.m_strLog;
    for (const Element& element : elements)
    {
        *element.pValue = fields.Next();
        strExpected += std::string("\t<") + element.szName + ">" + *element.pValue + "</" + element.szName + ">\n";
    }
    strExpected += "</Log>\n";

    std::string strLog = app.m_strLog;
    AppendLogValues(strLog, app);
    FUZZ_CHECK(strLog == strExpected);
    return 0;
}
