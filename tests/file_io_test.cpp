// srcsafe.ini's file access under faults the platform cannot be made to
// produce on demand (a read failing part way, a step of a rewrite failing),
// made through the file-system table, and the permissions a rewrite carries over.
#include "app/tarn_app.h"
#include "sourcesafe/file_io.h"
#include "sourcesafe/file_system.h"
#include "tests/fault/fault_file_system.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <algorithm>

using namespace tarntest;

namespace
{
const char kIni[] = "[General]\r\nData_Path = C:\\VSS\\Data ; main\r\nUser = Ann\r\n";

class FileIo : public testing::Test
{
protected:
    FileIo() { m_app.m_strIniPath = m_install.Ini(); }
    ~FileIo() override { RemoveFaults(); }

    // The number of the first call of a clean rewrite that names this function
    // and, where given, a path ending in strPathEnd.
    int CallOfCleanRewrite(const std::string& strIni, const std::string& strFunction, const std::string& strPathEnd)
    {
        WriteBytes(m_install.Ini(), strIni);
        InstallFaults({EFault::None, 0, ""});
        m_app.SetDatabasePath("c:\\other\\data");
        const std::vector<std::string> calls = CallsSeen();
        RemoveFaults();
        WriteBytes(m_install.Ini(), strIni);
        for (std::size_t i = 0; i < calls.size(); ++i)
        {
            const std::string& strCall = calls[i];
            if (strCall.rfind(strFunction + " ", 0) == 0 &&
                (strPathEnd.empty() ||
                 (strCall.size() >= strPathEnd.size() &&
                  strCall.compare(strCall.size() - strPathEnd.size(), strPathEnd.size(), strPathEnd) == 0)))
                return static_cast<int>(i) + 1;
        }
        ADD_FAILURE() << "no call of " << strFunction;
        return 0;
    }

    CScratchInstall m_install;
    CTarnApp m_app;
};
}

TEST_F(FileIo, ReadFailingPartWayIsAFailureAndNothingIsWritten)
{
    // Several reads' worth, so that the failure falls in the middle of the file.
    std::string strIni = kIni;
    while (strIni.size() < 300 * 1024)
        strIni += "Setting = " + std::string(90, 'x') + "\r\n";
    WriteBytes(m_install.Ini(), strIni);
    InstallFaults({EFault::Fail, 3, ""}); // CreateFile, a first ReadFile, then the second fails
    std::string strRead = "untouched";
    EXPECT_EQ(static_cast<DWORD>(ERROR_NETNAME_DELETED), ReadWholeFile(m_install.Ini(), strRead));
    EXPECT_EQ("untouched", strRead);

    InstallFaults({EFault::Fail, 3, ""});
    EXPECT_EQ(static_cast<unsigned long>(ERROR_NETNAME_DELETED), m_app.SetDatabasePath("c:\\other\\data"));
    RemoveFaults();
    EXPECT_EQ(strIni, ReadBytes(m_install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, m_install.FilesBesideIni());
}

TEST_F(FileIo, MissingFileOrFolderIsToldApart)
{
    WriteBytes(m_install.Ini(), kIni);
    EXPECT_EQ(0ul, ProbeFile(m_install.Ini()));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), ProbeFile(m_install.Ini() + ".none"));
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND),
              ProbeFile(m_install.Folder() + "\\none\\srcsafe.ini"));
    // A name too long for the system cannot be there.
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), ProbeFile(m_install.Ini() + std::string(300, 'x')));
    CFaultPlan plan{EFault::Fail, 1, ""};
    InstallFaults(plan);
    EXPECT_EQ(static_cast<unsigned long>(ERROR_NETNAME_DELETED), ProbeFile(m_install.Ini()));
    RemoveFaults();
}

// Each step of a rewrite that fails leaves srcsafe.ini as it was, no temporary
// file beside it, and gives the step's error; where the platform keeps no
// permissions, there are none to carry over and the rewrite goes ahead, and a
// rename refused once while a virus scanner holds srcsafe.ini is tried again.
TEST_F(FileIo, EveryStepOfARewriteThatFails)
{
    struct Case
    {
        const char* szFunction;
        const char* szPathEnd;
        unsigned long nError;
        unsigned long nExpected; // ERROR_SUCCESS: the rewrite goes ahead
    };
    const Case cases[] = {
        {"GetFileAttributes", "srcsafe.ini", ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED},
        {"CreateFile", ".tmp", ERROR_DISK_FULL, ERROR_DISK_FULL},
        // A folder that takes no new file (no right to create files, a
        // write-protected medium): srcsafe.ini is never written in place.
        {"CreateFile", ".tmp", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {"CreateFile", ".tmp", ERROR_WRITE_PROTECT, ERROR_WRITE_PROTECT},
        {"WriteFile", "", ERROR_DISK_FULL, ERROR_DISK_FULL},
        {"FlushFileBuffers", "", ERROR_DISK_FULL, ERROR_DISK_FULL},
        {"SetFileAttributes", ".tmp", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {"GetFileSecurity", "srcsafe.ini", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {"GetFileSecurity", "srcsafe.ini", ERROR_NOT_SUPPORTED, ERROR_SUCCESS},
        {"SetFileSecurity", ".tmp", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        {"SetFileSecurity", ".tmp", ERROR_INVALID_FUNCTION, ERROR_SUCCESS},
        {"SetFileSecurity", ".tmp", ERROR_CALL_NOT_IMPLEMENTED, ERROR_SUCCESS},
        {"MoveFileEx", "srcsafe.ini", ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED},
        {"MoveFileEx", "srcsafe.ini", ERROR_SHARING_VIOLATION, ERROR_SUCCESS},
        {"MoveFileEx", "srcsafe.ini", ERROR_ACCESS_DENIED, ERROR_SUCCESS},
    };
    const std::string strSwitched = "[General]\r\ndata_path = c:\\other\\data ; main\r\nUser = Ann\r\n";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.szFunction) + " " + c.szPathEnd + " " + std::to_string(c.nError));
        const int nAt = CallOfCleanRewrite(kIni, c.szFunction, c.szPathEnd);
        CFaultPlan plan{EFault::Fail, nAt, ""};
        plan.nError = c.nError;
        InstallFaults(plan);
        EXPECT_EQ(c.nExpected, m_app.SetDatabasePath("c:\\other\\data"));
        RemoveFaults();
        EXPECT_EQ(c.nExpected == ERROR_SUCCESS ? strSwitched : std::string(kIni), ReadBytes(m_install.Ini()));
        EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, m_install.FilesBesideIni());
    }
}

// Names of this process's temporary files that are taken already are skipped;
// when all are taken, the rewrite fails without touching srcsafe.ini.
TEST_F(FileIo, TemporaryNamesTakenAlready)
{
    WriteBytes(m_install.Ini(), kIni);
    const std::string strStem = m_install.Ini() + ".tarn" + std::to_string(GetCurrentProcessId()) + "-";
    for (int n = 0; n < 100; ++n)
        WriteBytes(strStem + std::to_string(n) + ".tmp", "someone else's");
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_EXISTS), m_app.SetDatabasePath("c:\\other\\data"));
    EXPECT_EQ(kIni, ReadBytes(m_install.Ini()));

    ASSERT_TRUE(DeleteFileA((strStem + "57.tmp").c_str()));
    EXPECT_EQ(0ul, m_app.SetDatabasePath("c:\\other\\data"));
    EXPECT_NE(kIni, ReadBytes(m_install.Ini()));
    EXPECT_EQ("someone else's", ReadBytes(strStem + "0.tmp"));
    EXPECT_EQ(100u, m_install.FilesBesideIni().size());
}

TEST_F(FileIo, TemporaryFilesAreKnownByName)
{
    const std::string strFolder = m_install.Ini().substr(0, m_install.Ini().rfind('\\') + 1);
    struct Case
    {
        const char* szName;
        bool bTemp;
    };
    const Case cases[] = {
        {"srcsafe.ini.tarn12-0.tmp", true},
        {"SRCSAFE.INI.TARN13-0.TMP", true},
        {"srcsafe.ini.tarnrestore.tarn7-3.tmp", true},
        {"srcsafe.ini.tarnlock", false},
        {"srcsafe.ini.tarnrestore", false},
        {"srcsafe.ini.tmp", false},
        {"other.ini.tarn12-0.tmp", false},
        {"srcsafe.ini.tarn.tmp.bak", false},
        {"srcsafe.ini.tarn.tmp", false},
    };
    WriteBytes(m_install.Ini(), kIni);
    std::vector<std::string> expected;
    for (const Case& c : cases)
    {
        WriteBytes(strFolder + c.szName, "x");
        if (c.bTemp)
            expected.push_back(strFolder + c.szName);
    }
    // A folder of such a name is nobody's temporary file.
    ASSERT_TRUE(CreateDirectoryA((strFolder + "srcsafe.ini.tarn5-0.tmp").c_str(), nullptr));
    std::vector<std::string> found = FindTempFiles(m_install.Ini());
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, found);
}

// The new file gets the old one's access list before it takes its place. Wine
// keeps no access lists on the build machine's file system (it makes one up
// from the Unix permissions), so the platform's part is played here by a pair
// of functions that keep one for srcsafe.ini: longer than the first buffer a
// rewrite offers for it.
namespace
{
std::vector<BYTE> g_iniDescriptor;
std::string g_strSetPath;
std::vector<BYTE> g_setDescriptor;

BOOL WINAPI KeptGetSecurity(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR pDescriptor, DWORD nSize,
                            LPDWORD pNeeded)
{
    *pNeeded = static_cast<DWORD>(g_iniDescriptor.size());
    if (nSize < g_iniDescriptor.size())
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(g_iniDescriptor.begin(), g_iniDescriptor.end(), static_cast<BYTE*>(pDescriptor));
    return TRUE;
}

BOOL WINAPI KeptSetSecurity(LPCSTR szPath, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR pDescriptor)
{
    g_strSetPath = szPath;
    const BYTE* pBytes = static_cast<const BYTE*>(pDescriptor);
    g_setDescriptor.assign(pBytes, pBytes + GetSecurityDescriptorLength(pDescriptor));
    return TRUE;
}
}

TEST_F(FileIo, RewriteGivesTheNewFileTheOldOnesAccessList)
{
    WriteBytes(m_install.Ini(), kIni);
    std::string strSddl = "D:P(A;;FR;;;WD)(A;;FA;;;BA)";
    for (const char* szSid : {"AU", "BU", "PU", "SY", "NS", "LS", "IU", "SU", "BO", "SO", "PO", "BG", "RD"})
        strSddl += std::string("(A;;FR;;;") + szSid + ")";
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(strSddl.c_str(), SDDL_REVISION_1, &pDescriptor,
                                                                     nullptr));
    const BYTE* pBytes = static_cast<const BYTE*>(pDescriptor);
    g_iniDescriptor.assign(pBytes, pBytes + GetSecurityDescriptorLength(pDescriptor));
    LocalFree(pDescriptor);
    ASSERT_GT(g_iniDescriptor.size(), 256u);

    FileSystem().pGetFileSecurity = &KeptGetSecurity;
    FileSystem().pSetFileSecurity = &KeptSetSecurity;
    EXPECT_EQ(0ul, m_app.SetDatabasePath("c:\\other\\data"));
    RemoveFaults();
    EXPECT_EQ(m_install.Ini() + ".tarn", g_strSetPath.substr(0, m_install.Ini().size() + 5));
    EXPECT_TRUE(g_setDescriptor == g_iniDescriptor) << "the new file did not get srcsafe.ini's access list";
    EXPECT_EQ("[General]\r\ndata_path = c:\\other\\data ; main\r\nUser = Ann\r\n", ReadBytes(m_install.Ini()));
}
