#include "app/character_check.h"

#include "app/ansi_conversion.h"
#include "app/command_line_rules.h"
#include "app/command_line_split.h"
#include "app/project_path.h"

#include <windows.h>

#include <algorithm>

namespace
{
bool NeedsFullPathWide(const std::wstring& strName)
{
    if (strName.size() >= 2 && (strName[1] == L':' || strName[1] == L'\\'))
        return false;
    return strName.empty() || strName[0] != L'$';
}
}

CTarnApp::CTarnException CodePageFailure(const std::string& strMessage, const std::string& strShown)
{
    return CTarnApp::CTarnException(strMessage + std::to_string(AnsiCodePageNumber()) + "): " + strShown);
}

// The arguments reach main() in the ANSI code page, where Windows has put
// "?" or a look-alike for each character the code page lacks: "日本.cpp"
// arrives as "??.cpp", a wildcard to SS.EXE, and "Ω.c" as "O.c", another
// file. So the texts that go to SS.EXE are worked out once more from the
// UTF-16 command line the system keeps, and the run is refused where they
// cannot be handed over exactly.
void CTarnApp::CheckCharacters() const
{
    const std::vector<std::wstring> args = SplitCommandLine(GetCommandLineW());
    if (args.size() < 4)
        return;
    std::string strAnsi;
    if (!ToAnsiExactly(args[2], strAnsi))
        throw CodePageFailure("The command cannot be handed to SS.EXE in this system's code page (", strAnsi);

    // Of several -DB: or -PP: switches only the last one counts.
    std::size_t nDatabase = 0;
    std::size_t nPrefix = 0;
    for (std::size_t i = 4; i < args.size(); ++i)
    {
        const bool bExact = ToAnsiExactly(args[i], strAnsi);
        const ESwitchKind kind = ClassifySwitch(strAnsi);
        if (kind == ESwitchKind::Database)
            nDatabase = i;
        else if (kind == ESwitchKind::PathPrefix)
            nPrefix = i;
        else if (kind == ESwitchKind::PassedOn && !bExact)
            throw CodePageFailure("A switch cannot be handed to SS.EXE in this system's code page (", strAnsi);
    }
    if (nDatabase != 0 && !ToAnsiExactly(args[nDatabase], strAnsi))
        throw CodePageFailure("The database name cannot be handed to SS.EXE in this system's code page (",
                              SwitchValue(strAnsi));
    if (nPrefix != 0 && !ToAnsiExactly(args[nPrefix], strAnsi))
        throw CodePageFailure("The -PP: prefix cannot be handed to SS.EXE in this system's code page (",
                              SwitchValue(strAnsi));

    std::wstring strRoot = args[1];
    const bool bEnvironmentRoot = !strRoot.empty() && strRoot[0] == L'$';
    if (bEnvironmentRoot && !LookUpEnvironmentWide(args[1].substr(1), strRoot))
    {
        ToAnsiExactly(args[1], strAnsi);
        throw CodePageFailure("The root cannot be handed to SS.EXE in this system's code page (", strAnsi);
    }
    if (!strRoot.empty() && strRoot.back() == L'\\')
        strRoot.pop_back();
    std::wstring strFile = args[3];
    if (bEnvironmentRoot && !strFile.empty() && strFile[0] == L'$')
        strFile.replace(0, std::min(args[1].size(), strFile.size()), strRoot);
    if (NeedsFullPathWide(strFile))
        strFile = FullPathWide(strFile);

    // Only what is left once the root is cut off goes to SS.EXE; a root the
    // code page cannot hold does no harm as long as it is cut off as a whole.
    std::string strRootAnsi;
    std::string strFileAnsi;
    std::string strRest;
    const bool bWhole = ToAnsiExactly(strRoot, strRootAnsi) && ToAnsiExactly(strFile, strFileAnsi);
    const bool bRestExact = ToAnsiExactly(strFile.substr(std::min(strRoot.size(), strFile.size())), strRest);
    const std::string strCut = m_strFileName.substr(std::min(m_strRealRoot.size(), m_strFileName.size()));
    if (!bRestExact || (!bWhole && strRest != strCut))
        throw CodePageFailure("The file name cannot be handed to SS.EXE in this system's code page (",
                              MakeSSFilePath(strRest, 0, m_strPathPrefix));
}
