#include "app/project_path.h"

#include <algorithm>

std::string MakeSSFilePath(const std::string& strFileName, std::size_t nRootLength,
                           const std::string& strPathPrefix, const CCodePage& codePage)
{
    // Each piece on its own: a piece that ends in a lone lead byte must not
    // swallow the separator of the next.
    const std::string strRest =
        codePage.Replace(strFileName.substr(std::min(nRootLength, strFileName.size())), '\\', '/');
    if (strPathPrefix.empty())
        return "$" + strRest;
    return "$/" + codePage.Replace(strPathPrefix, '\\', '/') + strRest;
}
