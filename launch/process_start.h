#pragma once

#include <windows.h>

// SS.EXE is started through this one call. The program uses the system's
// CreateProcessA; a test build puts its own in, to make the start fail.
using CreateProcessFunction = decltype(&CreateProcessA);

CreateProcessFunction& ProcessStarter();
