#include "app/console.h"
#include "app/tarn_app.h"

#ifdef __MINGW32__
// Arguments reach the program as typed: no wildcard expansion by the runtime.
extern "C" {
int _dowildcard = 0;
}
#endif

int main(int argc, char** argv)
{
    CTarnApp app;
    try
    {
        app.ShowBanner();
        app.ParseCommandLine(argc, argv);
        app.Run();
    }
    catch (const CTarnApp::CTarnException& e)
    {
        PrintLine(e.m_strMessage);
    }
    // The editor only waits for the run to end; neither a failure nor SS.EXE's result shows here.
    return 0;
}
