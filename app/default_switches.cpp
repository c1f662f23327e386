#include "app/default_switches.h"

#include <cstring>

void AddDefaultSwitches(std::string& strParameters, const std::string& strCommand)
{
    if (strParameters.find("-I") == std::string::npos)
        strParameters += " -I-";
    if (strParameters.find(" -C") == std::string::npos && strCommand != "undocheckout")
        strParameters += " -C-";
    if (strParameters.find(" -N") == std::string::npos)
        strParameters += " -NL";
}

namespace
{
// The switch names are plain ASCII and stand at the start of the argument, so
// every byte compared is a character of its own.
char LowerLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}

bool HasSwitchPrefix(const std::string& strText, const char* szSwitch)
{
    const std::size_t nLength = std::strlen(szSwitch);
    if (strText.size() < nLength)
        return false;
    for (std::size_t i = 0; i < nLength; ++i)
        if (LowerLetter(strText[i]) != LowerLetter(szSwitch[i]))
            return false;
    return true;
}
