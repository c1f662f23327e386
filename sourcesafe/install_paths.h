#pragma once

#include "app/code_page.h"

#include <string>

// The program folder of a module path: everything up to and including its last
// backslash. False when the path holds no backslash.
bool GetProgramFolder(const std::string& strModulePath, std::string& strFolder,
                      const CCodePage& codePage = AnsiCodePage());
