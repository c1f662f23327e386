#pragma once

#include <windows.h>

// Ctrl+C and Ctrl+Break reach every process of the console, SS.EXE and this
// program alike. While the shield stands, this program ignores them, so that it
// outlives SS.EXE and still writes its log and switches srcsafe.ini back.
// SS.EXE keeps its own handling: a handler routine is not inherited.
class CConsoleInterruptShield
{
public:
    CConsoleInterruptShield() { SetConsoleCtrlHandler(&CConsoleInterruptShield::Handler, TRUE); }
    ~CConsoleInterruptShield() { SetConsoleCtrlHandler(&CConsoleInterruptShield::Handler, FALSE); }
    CConsoleInterruptShield(const CConsoleInterruptShield&) = delete;
    CConsoleInterruptShield& operator=(const CConsoleInterruptShield&) = delete;

    static BOOL WINAPI Handler(DWORD nEvent)
    {
        return (nEvent == CTRL_C_EVENT || nEvent == CTRL_BREAK_EVENT) ? TRUE : FALSE;
    }
};
