#include "app/project_path.h"

#include <algorithm>

std::string MakeSSFilePath(const std::string& strFileName, std::size_t nRootLength,
                           const std::string& strPathPrefix)
{
    const std::string strRest = strFileName.substr(std::min(nRootLength, strFileName.size()));
    std::string strPath = strPathPrefix.empty() ? "$" + strRest : "$\\" + strPathPrefix + strRest;
    std::replace(strPath.begin(), strPath.end(), '\\', '/');
    return strPath;
}
