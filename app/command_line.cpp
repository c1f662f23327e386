#include "app/command_line_rules.h"
#include "app/console.h"
#include "app/default_switches.h"
#include "app/project_path.h"
#include "app/tarn_app.h"
#include "version.h"

#include <windows.h>

#include <algorithm>

namespace
{
const std::size_t kPathBuffer = 260;

// Looks a variable up by name, letter case not counting (the platform's rule);
// the value is taken exactly as stored, an empty one included.
bool LookUpEnvironment(const std::string& strName, std::string& strValue)
{
    // The size asked for counts the terminating NUL, so an empty value gives 1
    // and only a missing variable gives 0.
    const DWORD nNeeded = GetEnvironmentVariableA(strName.c_str(), nullptr, 0);
    if (nNeeded == 0)
        return false;
    std::string strBuffer(nNeeded, '\0');
    const DWORD nLength = GetEnvironmentVariableA(strName.c_str(), strBuffer.data(), nNeeded);
    strValue.assign(strBuffer.data(), std::min<DWORD>(nLength, nNeeded - 1));
    return true;
}
}

void CTarnApp::ParseCommandLine(int argc, char** argv)
{
    // The parameter list goes into the log before any check, so it shows what was passed.
    m_strLog += "\t<Parameters>\n";
    for (int i = 0; i < argc; ++i)
        m_strLog += std::string("\t\t<Parameter>") + argv[i] + "</Parameter>\n";
    m_strLog += "\t</Parameters>\n";

    if (argc < m_nRequiredArgs)
    {
        ShowUsage();
        throw CTarnException("Not enough command line parameters.");
    }

    m_strRoot = argv[1];
    m_strRealRoot = argv[1];
    if (IsEnvironmentRoot(m_strRoot) && !LookUpEnvironment(m_strRoot.substr(1), m_strRealRoot))
        throw CTarnException("Environment variable not found.");
    m_strRealRoot = WithoutFinalBackslash(m_strRealRoot);

    m_strCommand = argv[2];
    m_strFileName = argv[3];

    for (int i = 4; i < argc; ++i)
    {
        const std::string strArg = argv[i];
        switch (ClassifySwitch(strArg))
        {
        case ESwitchKind::Database:
            m_strDatabase = SwitchValue(strArg);
            break;
        case ESwitchKind::PathPrefix:
            m_strPathPrefix = SwitchValue(strArg);
            break;
        case ESwitchKind::Log:
            m_bLog = true;
            break;
        case ESwitchKind::PassedOn:
            m_strParameters += " " + strArg;
            break;
        case ESwitchKind::Dropped:
            break;
        }
    }

    if (!ReplaceRootName(m_strFileName, m_strRoot, m_strRealRoot))
        throw CTarnException("File name is not below the root folder.");

    if (NeedsFullPath(m_strFileName))
    {
        char szFullPath[kPathBuffer];
        const DWORD nLength = GetFullPathNameA(m_strFileName.c_str(), kPathBuffer, szFullPath, nullptr);
        if (nLength == 0 || nLength >= kPathBuffer)
            throw CTarnException("Could not get the full path of the file.");
        m_strFileName = szFullPath;
    }

    // The root's length must not end inside a character of the file name.
    if (m_strFileName.size() < m_strRealRoot.size() ||
        !AnsiCodePage().IsCharStart(m_strFileName, m_strRealRoot.size()))
        throw CTarnException("File name is not below the root folder.");

    m_strSSFilePath = MakeSSFilePath(m_strFileName, m_strRealRoot.size(), m_strPathPrefix);
    AddDefaultSwitches(m_strParameters, m_strCommand);
}

void CTarnApp::ShowUsage()
{
    // The contact is the build's (TARN_SUPPORT_CONTACT), so that line is put together apart from the list.
    static const char kContactLine[] = "\t               to " TARN_SUPPORT_CONTACT " for technical support\n";
    static const char* const kUsage[] = {
        "Usage:",
        " tarn.exe root command filename [-options] [-DB:name] [-PP:prefix] [-LOG]\n",
        "\t root:      drive path of the working folder for $/ in SS",
        "\t              example: \"c:\\src\\work\"",
        "\t  or:       $<ENVIRON> where <ENVIRON> is an environment",
        "\t                       variable containing the drive path",
        "\t              example: \"$SSROOT\"\n",
        "\tcommand:    any valid SS.EXE command",
        "\t              example: checkout\n",
        "\t-options:   any valid SS.EXE command",
        "\t              example: \"-GWR\"\n",
        "\t-DB:name    name is the name of the database you wish to use",
        "\t              example: \"-DB:Common\"\n",
        "\t-PP:prefix  prefix folder for source safe which will be inserted",
        "\t            between \"$/\" and the rest of the path",
        "\t            (helpful if project is stored in multiple SS folders)",
        "\t              example: \"-PP:release\"",
        "\t-LOG        creates TARNLOG.XML, to be sent with the output",
        kContactLine,
        "Examples:",
        "\ttarn.exe C:\\DEV\\SRC checkout C:\\DEV\\SRC\\PROJ1\\HELLO.CPP -GWR",
        "\ttarn.exe $SSROOT checkin C:\\LOCAL\\SOURCE\\MYPROJ\\MAIN.MAK -GWR",
        "\ttarn.exe $SSROOT undocheckout $SSROOT\\THEPROJ\\HELP.H -GWR",
        "\ttarn.exe $SSROOT checkout $SSROOT\\THEPROJ\\HELP.H -GWR -DB:Remote",
    };
    for (const char* szLine : kUsage)
        PrintLine(szLine);
}
