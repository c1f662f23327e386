#pragma once

#include <string>
#include <vector>

// The file-system table (sourcesafe/file_system.h) with every call counted and,
// on request, one or two of them made to fail, or the process ended hard
// before one of them, as a power cut or the task manager would.
namespace tarntest
{
enum class EFault
{
    None,
    Fail,      // call k fails, with an error that call plausibly meets
    FailTwice, // calls k and k + 1 fail, with a second plausible error
    Kill       // the process ends hard before call k
};

// Exit code of a process ended by EFault::Kill.
const unsigned long kKilledExitCode = 86;

EFault ParseFault(const std::string& strMode);

struct CFaultPlan
{
    EFault fault = EFault::None;
    int nAt = 0;
    // When set, each call is appended as a line "<n> <function> <path>" as it is made.
    std::string strTracePath;
    // With EFault::Fail, a second call that fails as well (0: none).
    int nAlsoAt = 0;
    // With EFault::Fail, the error to fail with instead of the call's usual one (0: the usual one).
    unsigned long nError = 0;
};

// Puts the counting table in; calls are counted from 1 again.
void InstallFaults(const CFaultPlan& plan);
// Puts the system's functions back.
void RemoveFaults();

int CallsMade();
// The calls made so far, one "<function> <path>" each (also without a trace file).
const std::vector<std::string>& CallsSeen();
}
