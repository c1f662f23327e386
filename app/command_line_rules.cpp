#include "app/command_line_rules.h"

#include "app/default_switches.h"

#include <algorithm>

namespace
{
const std::size_t kSwitchNameLength = 4;
}

std::string WithoutFinalBackslash(const std::string& strRoot, const CCodePage& codePage)
{
    if (codePage.EndsWith(strRoot, '\\'))
        return strRoot.substr(0, strRoot.size() - 1);
    return strRoot;
}

bool IsEnvironmentRoot(const std::string& strRoot)
{
    return !strRoot.empty() && strRoot[0] == '$';
}

bool ReplaceRootName(std::string& strFileName, const std::string& strRoot, const std::string& strRealRoot,
                     const CCodePage& codePage)
{
    if (!IsEnvironmentRoot(strRoot) || strFileName.empty() || strFileName[0] != '$')
        return true;
    if (!codePage.IsCharStart(strFileName, std::min(strRoot.size(), strFileName.size())))
        return false;
    strFileName.replace(0, strRoot.size(), strRealRoot);
    return true;
}

bool NeedsFullPath(const std::string& strFileName, const CCodePage& codePage)
{
    if (strFileName.empty())
        return true;
    // The second character, which is not always the second byte.
    const std::size_t nSecond = codePage.CharLength(strFileName, 0);
    const bool bDriveOrNetworkPath =
        nSecond < strFileName.size() && (strFileName[nSecond] == ':' || strFileName[nSecond] == '\\');
    return !bDriveOrNetworkPath && strFileName[0] != '$';
}

ESwitchKind ClassifySwitch(const std::string& strArg)
{
    if (HasSwitchPrefix(strArg, "-DB:"))
        return ESwitchKind::Database;
    if (HasSwitchPrefix(strArg, "-PP:"))
        return ESwitchKind::PathPrefix;
    if (HasSwitchPrefix(strArg, "-LOG"))
        return ESwitchKind::Log;
    if (!strArg.empty() && strArg[0] == '-')
        return ESwitchKind::PassedOn;
    return ESwitchKind::Dropped;
}

std::string SwitchValue(const std::string& strArg)
{
    return strArg.size() > kSwitchNameLength ? strArg.substr(kSwitchNameLength) : std::string();
}
