#include "app/default_switches.h"

#include "app/ascii.h"

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

bool HasSwitchPrefix(const std::string& strText, const char* szSwitch)
{
    const std::size_t nLength = std::strlen(szSwitch);
    if (strText.size() < nLength)
        return false;
    for (std::size_t i = 0; i < nLength; ++i)
        if (LowerAscii(strText[i]) != LowerAscii(szSwitch[i]))
            return false;
    return true;
}
