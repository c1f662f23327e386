// The text rules on the characters of double-byte code pages: the second byte
// of a character is never a separator, a letter or a search hit of its own.
#include "app/code_page.h"
#include "app/command_line_rules.h"
#include "app/project_path.h"
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/install_paths.h"
#include "tests/support/code_pages.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tarntest;

TEST(CodePage, CharactersAreWalkedWhole)
{
    const unsigned char kLeads932[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
    const CCodePage cp932 = CCodePage::DoubleByte(kLeads932);
    const CCodePage utf8 = CCodePage::Utf8();
    // A code page that names no lead byte has only single-byte characters.
    const unsigned char kNoLeads[] = {0, 0};
    const CCodePage noLeads = CCodePage::DoubleByte(kNoLeads);
    struct Case
    {
        const CCodePage& codePage;
        std::string strText;
        std::vector<std::size_t> starts;
        bool bLoneLead;
    };
    const Case cases[] = {
        {cp932,
         "a\x83\x5C"
         "b",
         {0, 1, 3},
         false},
        // A lead byte at the end, or before a NUL, stands alone.
        {cp932, "a\x83", {0, 1}, true},
        {cp932, std::string("\x83\0x", 3), {0, 1, 2}, false},
        // 0xA0 to 0xDF are single-byte characters in 932.
        {cp932, "\xB1\x5C", {0, 1}, false},
        {utf8, "\xE3\x82\xBD\\", {0, 3}, false},
        // A broken sequence: each byte on its own; also one cut short by the
        // end, and bytes that begin no character.
        {utf8,
         "\xE3\x5C"
         "a",
         {0, 1, 2},
         false},
        {utf8, "a\xE3\x82", {0, 1, 2}, false},
        {utf8, "\xF5\x80\xFF", {0, 1, 2}, false},
        {noLeads, "\x83\x5C", {0, 1}, false},
        {cp932, "", {}, false},
        {CCodePage::SingleByte(), "\x83\x5C", {0, 1}, false},
    };
    for (const Case& c : cases)
    {
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < c.strText.size(); i += c.codePage.CharLength(c.strText, i))
            starts.push_back(i);
        EXPECT_EQ(c.starts, starts) << testing::PrintToString(c.strText);
        // Past the end no character begins.
        for (std::size_t i = 0; i <= c.strText.size() + 1; ++i)
            EXPECT_EQ(i == c.strText.size() || std::count(starts.begin(), starts.end(), i) == 1,
                      c.codePage.IsCharStart(c.strText, i));
        EXPECT_EQ(c.bLoneLead, c.codePage.EndsInLoneLeadByte(c.strText)) << testing::PrintToString(c.strText);
    }
}

// Each rule, in each East Asian code page, with characters whose second byte
// is a backslash (B) or a capital letter (L), and characters whose lead byte
// is the last of its range (E).
TEST(CodePage, RulesKeepEveryDoubleByteCharacter)
{
    for (const CMultiByteCodePage& page : kEastAsianCodePages)
    {
        SCOPED_TRACE(page.nCodePage);
        const CCodePage codePage = CodePageOf(page.nCodePage);
        const std::string B = InCodePage(page.nCodePage, page.szBackslashChars);
        const std::string L = InCodePage(page.nCodePage, page.szLetterChars);
        const std::string E = InCodePage(page.nCodePage, page.szRangeEndChars);

        // Separators, the root's final backslash, the program folder.
        const std::string strRoot = "C:\\" + B + L + B + E;
        const std::string strFile = strRoot + "\\" + B + "\\" + E + "\\" + L + B + ".cpp";
        EXPECT_EQ("$/" + B + "/" + L + "/" + B + "/" + E + "/" + L + B + ".cpp",
                  MakeSSFilePath(strFile, strRoot.size(), B + "\\" + L, codePage));
        EXPECT_EQ(strRoot, WithoutFinalBackslash(strRoot, codePage));
        EXPECT_EQ(strRoot, WithoutFinalBackslash(strRoot + "\\", codePage));
        std::string strFolder;
        ASSERT_TRUE(GetProgramFolder(strRoot + "\\" + B + "tarn.exe", strFolder, codePage));
        EXPECT_EQ(strRoot + "\\", strFolder);
        // A relative name whose first character's second byte is "\" is not
        // a network path; a name of one double-byte character is relative too.
        EXPECT_TRUE(NeedsFullPath(B + L + ".cpp", codePage));
        EXPECT_TRUE(NeedsFullPath(L.substr(0, 2), codePage));
        // A $NAME root whose length ends inside a character of the file name is not its beginning.
        std::string strName = "$R" + L + "\\x.c";
        EXPECT_FALSE(ReplaceRootName(strName, "$RR", "C:\\W", codePage));

        // The data_path line: value, comment and path keep their characters.
        const std::string strLine = "Data_Path = C:\\VSS\\" + L + B + E + " ; " + L + E + " Main";
        EXPECT_EQ("c:\\vss\\" + L + B + E, GetDataPathValue(strLine, codePage));
        EXPECT_EQ("data_path = C:\\Shared\\" + L + E + "\\data ; " + L + E + " main",
                  RebuildDataPathLine(strLine, "C:\\Shared\\" + L + E + "\\data", codePage));
        EXPECT_TRUE(CanHoldDataPath(L + B + E, codePage));
        // A key that begins inside a character ("d" as a second byte) is no key.
        EXPECT_FALSE(IsDataPathLine("\x81"
                                    "data_path = x",
                                    codePage));
        EXPECT_TRUE(IsDataPathLine(L + "data_path = x", codePage));
        // A path ending in half a character would take the blank after it.
        EXPECT_FALSE(CanHoldDataPath("c:\\x\x81", codePage));
    }
}
