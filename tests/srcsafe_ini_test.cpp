#include "app/tarn_app.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/ini_text.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <random>

using tarntest::Exists;
using tarntest::ReadBytes;
using tarntest::WriteBytes;

namespace
{
class SrcsafeIni : public testing::Test
{
protected:
    SrcsafeIni() { m_app.m_strIniPath = m_install.Bin() + "\\..\\srcsafe.ini"; }

    tarntest::CScratchInstall m_install;
    CTarnApp m_app;
};

template <std::size_t N>
std::string Bytes(const char (&szText)[N])
{
    return std::string(szText, N - 1);
}

std::string ReadFailure(CTarnApp& app)
{
    try
    {
        app.ReadCurrentDatabasePath();
    }
    catch (const CTarnApp::CTarnException& e)
    {
        return e.m_strMessage;
    }
    return "";
}
}

TEST_F(SrcsafeIni, SwitchAndSwitchBackOfAWholeFile)
{
    const std::string strIni =
        "; SourceSafe settings\r\n[General]\nData_Path = C:\\VSS\\Data ; main\r\nTemp_Path = C:\\Temp\n\nUser = Ann\n";
    WriteBytes(m_install.Ini(), strIni);
    m_app.ReadCurrentDatabasePath();
    EXPECT_EQ("c:\\vss\\data", m_app.m_strOldDatabasePath);

    m_app.SetDatabasePath("c:\\shared\\vss\\data");
    EXPECT_EQ("; SourceSafe settings\r\n[General]\r\ndata_path = c:\\shared\\vss\\data ; main\r\n"
              "Temp_Path = C:\\Temp\r\n\r\nUser = Ann\r\n",
              ReadBytes(m_install.Ini()));
    m_app.SetDatabasePath(m_app.m_strOldDatabasePath);
    EXPECT_EQ("; SourceSafe settings\r\n[General]\r\ndata_path = c:\\vss\\data ; main\r\n"
              "Temp_Path = C:\\Temp\r\n\r\nUser = Ann\r\n",
              ReadBytes(m_install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, m_install.FilesBesideIni());
}

TEST_F(SrcsafeIni, EdgeFiles)
{
    struct Case
    {
        std::string strStored;
        std::string strValue;
        std::string strAfterSwitch;
    };
    const Case cases[] = {
        {"", "", ""},
        {"[x]\ndata_path=C:\\A", "c:\\a", "[x]\r\ndata_path= n "},
        {"data_path=C:\\A\r\n\r\n", "c:\\a", "data_path= n \r\n\r\n"},
        {"; data_path = old\ndata_path = real\n", "real", "; data_path = old\r\ndata_path = n \r\n"},
        {"DATA_PATH = C:\\UP\\DATA\n", "c:\\up\\data", "data_path = n \r\n"},
        {"no key here\n", "", "no key here\r\n"},
        {std::string(1023, 'k') + "\ndata_path = x\n", "x", std::string(1023, 'k') + "\r\ndata_path = n \r\n"},
        // Longer than one read of the file.
        {"data_path = x\n" + std::string(100000, 'k'), "x", "data_path = n \r\n" + std::string(100000, 'k')},
        {Bytes("a\x1A"
               "b\0c\ndata_path = x"),
         "x",
         Bytes("a\x1A"
               "b\0c\r\ndata_path = n ")},
    };
    for (const Case& c : cases)
    {
        WriteBytes(m_install.Ini(), c.strStored);
        CTarnApp app;
        app.m_strIniPath = m_app.m_strIniPath;
        app.ReadCurrentDatabasePath();
        EXPECT_EQ(c.strValue, app.m_strOldDatabasePath) << c.strStored.substr(0, 40);
        app.SetDatabasePath("n");
        EXPECT_EQ(c.strAfterSwitch, ReadBytes(m_install.Ini())) << c.strStored.substr(0, 40);
    }
}

TEST_F(SrcsafeIni, MissingFileIsReportedOnReadAndNeverCreated)
{
    EXPECT_EQ("Could not locate current database path in srcsafe.ini", ReadFailure(m_app));
    EXPECT_TRUE(m_app.m_strOldDatabasePath.empty());
    m_app.SetDatabasePath("c:\\new");
    EXPECT_FALSE(Exists(m_install.Ini()));
    EXPECT_TRUE(m_install.FilesBesideIni().empty());
}

TEST_F(SrcsafeIni, ReadOnlyFileIsLeftUntouched)
{
    const std::string strIni = "Data_Path = C:\\VSS\\Data\n";
    WriteBytes(m_install.Ini(), strIni);
    ASSERT_TRUE(SetFileAttributesA(m_install.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    m_app.SetDatabasePath("c:\\new");
    EXPECT_EQ(strIni, ReadBytes(m_install.Ini()));
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, m_install.FilesBesideIni());
    SetFileAttributesA(m_install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SrcsafeIni, RewriteKeepsTheFileAttributes)
{
    WriteBytes(m_install.Ini(), "Data_Path = C:\\VSS\\Data\n");
    ASSERT_TRUE(SetFileAttributesA(m_install.Ini().c_str(), FILE_ATTRIBUTE_HIDDEN));
    m_app.SetDatabasePath("c:\\new");
    EXPECT_EQ("data_path = c:\\new \r\n", ReadBytes(m_install.Ini()));
    EXPECT_TRUE(GetFileAttributesA(m_install.Ini().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(m_install.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Generated srcsafe.ini texts, switched and switched back through the real
// files. Each text is built from parts whose outcome is known: other lines must
// come back byte for byte (LF ends turned into CR LF), the first data_path
// line as its lower-cased head, one blank, the old value, one blank and its
// lower-cased comment.
namespace
{
struct CGenerated
{
    std::string strText;
    std::string strExpectedAfter;
    std::string strValue;
    bool bHasDataPath = false;
};

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

class CIniGenerator
{
public:
    explicit CIniGenerator(unsigned nSeed) : m_random(nSeed) {}

    CGenerated Next()
    {
        CGenerated g;
        const int nLines = Pick(0, 12);
        for (int i = 0; i < nLines; ++i)
        {
            std::string strLine;
            std::string strExpected;
            if (Pick(0, 5) == 0)
                MakeDataPathLine(g, strLine, strExpected);
            else
                strLine = strExpected = OtherLine();
            const bool bLast = i == nLines - 1;
            const int nEnd = Pick(0, 2);
            if (bLast && nEnd == 0)
            {
                g.strText += strLine;
                g.strExpectedAfter += strExpected;
                break;
            }
            // A line that ends in CR before an LF end simply reads as a CR LF end.
            g.strText += strLine + (nEnd == 1 ? "\n" : "\r\n");
            g.strExpectedAfter += strExpected + "\r\n";
        }
        return g;
    }

private:
    int Pick(int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(m_random); }

    char AnyByteButLf()
    {
        static const char kSpecial[] = {'\0', '\x1A', '\r', '\t', ' ', '=', ';', '\x80', '\xE9', '\xFF'};
        if (Pick(0, 3) == 0)
            return kSpecial[Pick(0, sizeof(kSpecial) - 1)];
        char c;
        do
            c = static_cast<char>(Pick(0, 255));
        while (c == '\n');
        return c;
    }

    std::string OtherLine()
    {
        switch (Pick(0, 6))
        {
        case 0:
            return "";
        case 1:
            return "; data_path = c:\\commented\\out";
        case 2:
            return "Temp_Path = C:\\Data_Path_Temp";
        case 3:
            return "data_path C:\\no\\equals";
        default:
        {
            const int nLength = Pick(0, 8) == 0 ? Pick(1024, 3000) : Pick(1, 60);
            std::string strLine;
            for (int i = 0; i < nLength; ++i)
                strLine += AnyByteButLf();
            // Keep a stray CR off the end: before an LF it would count as the line end.
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.back() = 'r';
            return strLine;
        }
        }
    }

    std::string MixCase(const std::string& s)
    {
        std::string strOut = s;
        for (char& c : strOut)
            if (c >= 'a' && c <= 'z' && Pick(0, 1))
                c = static_cast<char>(c - 'a' + 'A');
        return strOut;
    }

    std::string Blanks() { return std::string(Pick(0, 3), Pick(0, 1) ? ' ' : '\t'); }

    void MakeDataPathLine(CGenerated& g, std::string& strLine, std::string& strExpected)
    {
        const std::string strHead = Blanks() + MixCase(Pick(0, 3) ? "data_path" : "my_data_path") + Blanks() + "=";
        const std::string strValue =
            MixCase(Pick(0, 4) ? "c:\\vss\\Data Base\\" + std::to_string(Pick(0, 999)) : std::string("x\xC4\xE9y"));
        const std::string strComment = Pick(0, 1) ? "; Main DB " + MixCase("Comment") : "";
        strLine = strHead + Blanks() + strValue + Blanks() + strComment;
        if (g.bHasDataPath)
        {
            strExpected = strLine;
            return;
        }
        g.bHasDataPath = true;
        g.strValue = LowerAscii(strValue);
        strExpected = LowerAscii(strHead) + " " + g.strValue + " " + LowerAscii(strComment);
    }

    std::mt19937 m_random;
};
}

// Switches to another path and back, as a run does; false at the first surprise.
testing::AssertionResult RoundTripInMemory(const CGenerated& g)
{
    std::string strOld;
    if (ReadDataPath(g.strText, strOld) != g.bHasDataPath || strOld != g.strValue)
        return testing::AssertionFailure() << "value read: '" << strOld << "'";
    const std::string strDuring = RewriteDataPath(g.strText, "c:\\other\\data");
    std::string strSeen;
    if (g.bHasDataPath && (!ReadDataPath(strDuring, strSeen) || strSeen != "c:\\other\\data"))
        return testing::AssertionFailure() << "value during the switch: '" << strSeen << "'";
    const std::string strAfter = RewriteDataPath(strDuring, strOld);
    if (strAfter != g.strExpectedAfter)
        return testing::AssertionFailure() << "after the switch back:\n" << testing::PrintToString(strAfter);
    return testing::AssertionSuccess();
}

TEST(SrcsafeIniRandomized, SwitchAndSwitchBackKeepEveryOtherLine)
{
    CIniGenerator generator(20261208);
    const int kTexts = 20000;
    int nWithDataPath = 0;
    for (int i = 0; i < kTexts; ++i)
    {
        const CGenerated g = generator.Next();
        ASSERT_TRUE(RoundTripInMemory(g)) << "text " << i << ": " << testing::PrintToString(g.strText);
        nWithDataPath += g.bHasDataPath ? 1 : 0;
    }
    // The generator must exercise both kinds of file.
    EXPECT_GT(nWithDataPath, kTexts / 4);
    EXPECT_LT(nWithDataPath, kTexts);
}

// The same through srcsafe.ini on disk, on fewer texts: each costs several file replacements.
TEST_F(SrcsafeIni, RandomizedSwitchAndSwitchBackThroughTheFile)
{
    CIniGenerator generator(8122026);
    for (int i = 0; i < 300; ++i)
    {
        const CGenerated g = generator.Next();
        WriteBytes(m_install.Ini(), g.strText);
        CTarnApp app;
        app.m_strIniPath = m_app.m_strIniPath;
        ASSERT_EQ("", ReadFailure(app)) << "text " << i;
        ASSERT_EQ(g.strValue, app.m_strOldDatabasePath) << "text " << i;
        // A step that fails says which, and with what error.
        ASSERT_EQ(0u, app.SetDatabasePath("c:\\other\\data")) << "text " << i << ", switch";
        ASSERT_EQ(0u, app.SetDatabasePath(app.m_strOldDatabasePath)) << "text " << i << ", switch back";
        ASSERT_EQ(g.strExpectedAfter, ReadBytes(m_install.Ini())) << "text " << i;
    }
    EXPECT_EQ(std::vector<std::string>{"srcsafe.ini"}, m_install.FilesBesideIni());
}
