#pragma once

#include <windows.h>

#include <atomic>

// Ctrl+C and Ctrl+Break reach every process of the console, SS.EXE and this
// program alike. While the shield stands, this program does not end on them,
// so that it outlives SS.EXE and still writes its log and switches srcsafe.ini
// back; it only notes that the user asked to stop, which ends a wait for
// another run. SS.EXE keeps its own handling: a handler routine is not inherited.
class CConsoleInterruptShield
{
public:
    CConsoleInterruptShield() { SetConsoleCtrlHandler(&CConsoleInterruptShield::Handler, TRUE); }
    ~CConsoleInterruptShield() { SetConsoleCtrlHandler(&CConsoleInterruptShield::Handler, FALSE); }
    CConsoleInterruptShield(const CConsoleInterruptShield&) = delete;
    CConsoleInterruptShield& operator=(const CConsoleInterruptShield&) = delete;

    // True once Ctrl+C or Ctrl+Break has been pressed while a shield stood.
    static bool Interrupted() { return Flag().load(); }

    // What the system calls, on a thread of its own (hence the atomic flag),
    // for each console event while the shield stands.
    static BOOL WINAPI Handler(DWORD nEvent)
    {
        if (nEvent != CTRL_C_EVENT && nEvent != CTRL_BREAK_EVENT)
            return FALSE;
        Flag().store(true);
        return TRUE;
    }

private:
    static std::atomic<bool>& Flag()
    {
        static std::atomic<bool> bInterrupted(false);
        return bInterrupted;
    }
};
