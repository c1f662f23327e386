#include "app/entry.h"

#include "app/failures.h"
#include "app/tarn_app.h"

int RunTarn(int argc, char** argv)
{
    RunStage(
        [&]
        {
            CTarnApp app;
            CTarnApp::ShowBanner();
            app.ParseCommandLine(argc, argv);
            app.Run();
        });
    return 0;
}
