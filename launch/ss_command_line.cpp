#include "launch/ss_command_line.h"

std::string BuildSSCommandLine(const std::string& strExePath, const std::string& strCommand,
                               const std::string& strSSFilePath, const std::string& strParameters)
{
    return "\"" + strExePath + "\" " + strCommand + " \"" + strSSFilePath + "\"" + strParameters;
}
