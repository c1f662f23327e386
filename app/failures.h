#pragma once

#include "app/console.h"
#include "app/tarn_app.h"

#include <exception>

// Runs one stage of the run and shows its failure, if any, as one line, so
// that the stages after it still happen: the log is written and srcsafe.ini
// put back whatever went wrong before, a failure of the runtime itself (out of
// memory, a string range) included.
template <typename Stage>
void RunStage(Stage stage)
{
    try
    {
        stage();
    }
    catch (const CTarnApp::CTarnException& e)
    {
        PrintLine(e.m_strMessage);
    }
    catch (const std::exception& e)
    {
        PrintLine("Unexpected failure: ", e.what());
    }
    catch (...)
    {
        PrintLine("Unexpected failure.");
    }
}
