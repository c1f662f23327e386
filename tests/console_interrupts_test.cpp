#include "app/console_interrupts.h"

#include <gtest/gtest.h>

// Wine raises Ctrl+C for real (see the guard tests) but refuses to raise
// Ctrl+Break, so the handler is asked directly here, in a process of its own.
TEST(ConsoleInterrupts, CtrlCAndCtrlBreakAreNotedAndSurvived)
{
    for (const DWORD nEvent : {CTRL_BREAK_EVENT, CTRL_C_EVENT})
    {
        EXPECT_TRUE(CConsoleInterruptShield::Handler(nEvent)) << nEvent;
        EXPECT_TRUE(CConsoleInterruptShield::Interrupted()) << nEvent;
    }
    // Closing the window or logging off still ends the program as usual.
    for (const DWORD nEvent : {CTRL_CLOSE_EVENT, CTRL_LOGOFF_EVENT, CTRL_SHUTDOWN_EVENT})
        EXPECT_FALSE(CConsoleInterruptShield::Handler(nEvent)) << nEvent;
}
