#pragma once

#include "app/code_page.h"

#include <string>

// The file's SourceSafe project path: "$", the optional prefix after "$\", and
// the file name with its first nRootLength bytes cut off, with every backslash
// turned into "/". The cut bytes are not compared with the root.
std::string MakeSSFilePath(const std::string& strFileName, std::size_t nRootLength,
                           const std::string& strPathPrefix, const CCodePage& codePage = AnsiCodePage());
