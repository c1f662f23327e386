#pragma once

#include <string>

// The SS.EXE command line: the quoted program path, the command word, the
// quoted project path and the switches (each already led by a blank). Nothing
// is escaped: values go to SS.EXE exactly as they are.
std::string BuildSSCommandLine(const std::string& strExePath, const std::string& strCommand,
                               const std::string& strSSFilePath, const std::string& strParameters);
