// The project path. Input: the root, the file name, the prefix, NUL between.
// The result is "$", "/" and the prefix when there is one, then the file name
// past the root's length, every backslash made "/"; a file name shorter than
// the root leaves nothing of it.
#include "app/project_path.h"
#include "tests/fuzz/fuzz_input.h"

namespace
{
std::string Slashed(std::string strText)
{
    for (char& c : strText)
        if (c == '\\')
            c = '/';
    return strText;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    tarnfuzz::CFields fields(pData, nSize);
    const std::string strRoot = fields.Next();
    const std::string strFileName = fields.Next();
    const std::string strPrefix = fields.Rest();

    const std::string strPath = MakeSSFilePath(strFileName, strRoot.size(), strPrefix);
    const std::string strRest = strRoot.size() < strFileName.size() ? strFileName.substr(strRoot.size()) : "";
    const std::string strHead = strPrefix.empty() ? "$" : "$/" + Slashed(strPrefix);
    FUZZ_CHECK(strPath == strHead + Slashed(strRest));
    FUZZ_CHECK(strPath.find('\\') == std::string::npos);
    return 0;
}
