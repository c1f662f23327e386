#include "app/command_line_rules.h"

#include "app/default_switches.h"

namespace
{
const std::size_t kSwitchNameLength = 4;
}

std::string WithoutFinalBackslash(const std::string& strRoot)
{
    if (!strRoot.empty() && strRoot.back() == '\\')
        return strRoot.substr(0, strRoot.size() - 1);
    return strRoot;
}

bool IsEnvironmentRoot(const std::string& strRoot)
{
    return !strRoot.empty() && strRoot[0] == '$';
}

std::string ReplaceRootName(const std::string& strFileName, const std::string& strRoot,
                            const std::string& strRealRoot)
{
    std::string strReplaced = strFileName;
    if (IsEnvironmentRoot(strRoot) && !strFileName.empty() && strFileName[0] == '$')
        strReplaced.replace(0, strRoot.size(), strRealRoot);
    return strReplaced;
}

bool NeedsFullPath(const std::string& strFileName)
{
    const bool bDriveOrNetworkPath = strFileName.size() >= 2 && (strFileName[1] == ':' || strFileName[1] == '\\');
    return !bDriveOrNetworkPath && (strFileName.empty() || strFileName[0] != '$');
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
