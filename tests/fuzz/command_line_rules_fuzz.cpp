// The command-line rules that need no system call. Input: the root argument,
// the value of its environment variable, the file name, the prefix, then the
// arguments after the file name; NUL between.
//  - One final backslash at most is taken off the root's folder.
//  - A "$" file name under a "$NAME" root gives the same project path after
//    the replacement as the name read with the root argument's length.
//  - Only a name that is neither a drive or network path nor a "$" name is
//    taken from the current folder.
//  - An argument's kind depends on its first characters, A to Z in any case,
//    and on nothing else.
#include "app/command_line_rules.h"
#include "app/project_path.h"
#include "tests/fuzz/fuzz_input.h"

namespace
{
std::string SwapCase(std::string strText)
{
    for (char& c : strText)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            c = static_cast<char>(c ^ 0x20);
    return strText;
}

ESwitchKind ExpectedKind(const std::string& strArg)
{
    const std::string strName = tarnfuzz::LowerAZ(strArg.substr(0, 4));
    if (strName == "-db:")
        return ESwitchKind::Database;
    if (strName == "-pp:")
        return ESwitchKind::PathPrefix;
    if (strName == "-log")
        return ESwitchKind::Log;
    return !strArg.empty() && strArg[0] == '-' ? ESwitchKind::PassedOn : ESwitchKind::Dropped;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    tarnfuzz::CFields fields(pData, nSize);
    const std::string strRoot = fields.Next();
    const std::string strVariable = fields.Next();
    const std::string strFileName = fields.Next();
    const std::string strPrefix = fields.Next();

    const bool bEnvironment = IsEnvironmentRoot(strRoot);
    FUZZ_CHECK(bEnvironment == (!strRoot.empty() && strRoot[0] == '$'));
    const std::string strFolder = bEnvironment ? strVariable : strRoot;
    const std::string strRealRoot = WithoutFinalBackslash(strFolder);
    const bool bFinalBackslash = !strFolder.empty() && strFolder.back() == '\\';
    FUZZ_CHECK(strRealRoot + (bFinalBackslash ? "\\" : "") == strFolder);

    std::string strReplacing = strFileName;
    FUZZ_CHECK(ReplaceRootName(strReplacing, strRoot, strRealRoot));
    const std::string strReplaced = strReplacing;
    if (bEnvironment && !strFileName.empty() && strFileName[0] == '$')
    {
        if (strFileName.size() >= strRoot.size())
        {
            FUZZ_CHECK(strReplaced == strRealRoot + strFileName.substr(strRoot.size()));
            FUZZ_CHECK(MakeSSFilePath(strReplaced, strRealRoot.size(), strPrefix) ==
                       MakeSSFilePath(strFileName, strRoot.size(), strPrefix));
        }
        else
            FUZZ_CHECK(strReplaced == strRealRoot);
    }
    else
        FUZZ_CHECK(strReplaced == strFileName);

    for (const std::string* pName : {&strRoot, &strFileName, &strReplaced})
    {
        const std::string& strName = *pName;
        const bool bAbsolute = strName.size() >= 2 && (strName[1] == ':' || strName[1] == '\\');
        const bool bDollar = !strName.empty() && strName[0] == '$';
        FUZZ_CHECK(NeedsFullPath(strName) == (!bAbsolute && !bDollar));
    }

    while (!fields.AtEnd())
    {
        const std::string strArg = fields.Next();
        const ESwitchKind kind = ClassifySwitch(strArg);
        FUZZ_CHECK(kind == ExpectedKind(strArg));
        FUZZ_CHECK(ClassifySwitch(SwapCase(strArg)) == kind);
        if (kind == ESwitchKind::Database || kind == ESwitchKind::PathPrefix)
            FUZZ_CHECK(SwitchValue(strArg) == strArg.substr(4));
    }
    return 0;
}
