// The default switches. Input: the command, then the caller's switches, each
// after a NUL (as ParseCommandLine joins them: a blank before each).
//  - Only " -I-", " -C-", " -NL" are appended, in that order, each exactly
//    when no switch of its kind is there: "-I" anywhere; a switch beginning
//    with "-C" (or the command undocheckout); a switch beginning with "-N".
//  - Adding them twice adds nothing more.
//  - A switch name matches on its first characters, A to Z in any case.
#include "app/default_switches.h"
#include "tests/fuzz/fuzz_input.h"

namespace
{
// True when a blank-separated word other than the text before the first blank begins with strStart.
bool SomeSwitchBeginsWith(const std::string& strParameters, const std::string& strStart)
{
    const std::vector<std::string> words = tarnfuzz::CutAt(strParameters, ' ');
    for (std::size_t i = 1; i < words.size(); ++i)
        if (words[i].compare(0, strStart.size(), strStart) == 0)
            return true;
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    tarnfuzz::CFields fields(pData, nSize);
    const std::string strCommand = fields.Next();
    std::string strGiven;
    std::vector<std::string> args;
    while (!fields.AtEnd())
    {
        args.push_back(fields.Next());
        strGiven += " " + args.back();
    }

    std::string strExpected = strGiven;
    if (strGiven.find("-I") == std::string::npos)
        strExpected += " -I-";
    if (!SomeSwitchBeginsWith(strGiven, "-C") && strCommand != "undocheckout")
        strExpected += " -C-";
    if (!SomeSwitchBeginsWith(strGiven, "-N"))
        strExpected += " -NL";

    std::string strParameters = strGiven;
    AddDefaultSwitches(strParameters, strCommand);
    FUZZ_CHECK(strParameters == strExpected);
    std::string strAgain = strParameters;
    AddDefaultSwitches(strAgain, strCommand);
    FUZZ_CHECK(strAgain == strParameters);

    for (const char* szName : {"-DB:", "-PP:", "-LOG"})
    {
        const std::string strName = szName;
        for (const std::string& strArg : args)
        {
            const bool bExpected =
                tarnfuzz::LowerAZ(strArg.substr(0, strName.size())) == tarnfuzz::LowerAZ(strName);
            FUZZ_CHECK(HasSwitchPrefix(strArg, szName) == bExpected);
        }
    }
    return 0;
}
