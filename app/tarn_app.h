#pragma once

#include <cstdint>
#include <string>

class CIniGuard;

// One run of the program: every value it works with, and the operations that
// fill them. The operations talk to each other only through these fields.
class CTarnApp
{
public:
    // The program's only exception type; carries a finished message.
    class CTarnException
    {
    public:
        explicit CTarnException(const std::string& strMessage) : m_strMessage(strMessage) {}
        std::string m_strMessage;
    };

    CTarnApp();

    static void ShowBanner();
    void ParseCommandLine(int argc, char** argv);
    void Run();

    // Command line (command_line.cpp)
    static void ShowUsage();

    // Refuses the run when a text for SS.EXE is one the ANSI code page cannot
    // hold (app/character_check.cpp).
    void CheckCharacters() const;

    // Installation paths (sourcesafe/install_paths.cpp). IniFile() is
    // m_strIniPath resolved, as srcsafe.ini and the files beside it are opened.
    void LocateFiles();
    std::string IniFile() const;

    // Database lookup (sourcesafe/database_registry.cpp). Also keeps the
    // folder as registered in m_strDatabaseFolder.
    void LookupDatabasePath();
    // pLost, when given, is set when the value holds a character the ANSI code page lacks.
    static void QueryRegistryPath(const std::string& strKeyName, const std::string& strValueName,
                                  std::string& strResult, bool* pLost = nullptr);

    // srcsafe.ini (sourcesafe/srcsafe_ini.cpp). SetDatabasePath returns
    // ERROR_SUCCESS or the system's error code; on failure srcsafe.ini keeps
    // its contents.
    void ReadCurrentDatabasePath();
    unsigned long SetDatabasePath(const std::string& strPath) const;
    // The data_path value srcsafe.ini holds now, and whether it has such a line.
    unsigned long QueryDatabasePath(std::string& strValue, bool& bHasLine) const;

    // SS.EXE reads the srcsafe.ini of the folder SSDIR names (sourcesafe/ssdir.cpp):
    // true when that is another one than ours; then "-DB:" points SSDIR at the
    // database's own folder for the call instead of switching ours, and so it
    // does where ours includes another file or cannot be switched.
    bool SSDirNamesAnotherFolder() const;
    // True when strFolder is the folder of our srcsafe.ini, however it is written.
    bool IsIniFolder(const std::wstring& strFolder) const;
    // Throws when SS.EXE cannot be given the database's folder as SSDIR.
    void PointSSDirAtDatabase();
    // The same without throwing: false, with the reason, when it cannot.
    bool TryPointSSDirAtDatabase(std::string& strReason);

    // The switch for one SS.EXE call, and putting it back (sourcesafe/database_switch.cpp).
    // True when srcsafe.ini was switched; throws when it had to be and could not be.
    bool SwitchDatabase(CIniGuard& guard);
    void SwitchBack(CIniGuard& guard) const;
    // Puts back the switch of a run that was killed before it could; throws
    // when that cannot be done, since SS.EXE would then work on the wrong database.
    void PutBackInterruptedSwitch(CIniGuard& guard) const;

    // Launch and log (launch/)
    void LaunchSourceSafe();
    void WriteLog();

    std::int32_t m_nRequiredArgs;
    std::string m_strRoot;
    std::string m_strCommand;
    std::string m_strFileName;
    std::string m_strDatabase;
    std::string m_strPathPrefix;
    std::string m_strParameters;
    bool m_bLog;
    std::string m_strLog;
    std::string m_strIniPath;
    std::string m_strExePath;
    std::string m_strSSFilePath;
    std::string m_strSSCmdLine;
    std::string m_strRealRoot;
    std::string m_strLogPath;
    std::string m_strOldDatabasePath;
    std::string m_strNewDatabasePath;
    // The folder registered for m_strDatabase, as stored.
    std::string m_strDatabaseFolder;
    // The SSDIR given to SS.EXE in place of the environment's; empty when unchanged.
    std::string m_strSSDir;
    // srcsafe.ini holds an include line: SS.EXE takes data_path from the file it names.
    bool m_bIniIncludes = false;
};
