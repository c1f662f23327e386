#include "sourcesafe/data_path_line.h"

#include <gtest/gtest.h>

TEST(DataPathLine, ExampleTable)
{
    struct Case
    {
        const char* szStored;
        const char* szValue;
        const char* szRewritten;
    };
    const Case cases[] = {
        {"Data_Path = C:\\VSS\\Data", "c:\\vss\\data", "data_path = c:\\vss2\\data "},
        {"  DATA_PATH=C:\\VSS\\Data ; Main DB", "c:\\vss\\data", "  data_path= c:\\vss2\\data ; main db"},
        {"Data_Path= Data ; Old Comment", "data", "data_path= c:\\vss2\\data ; old comment"},
        {"my_data_path = X", "x", "my_data_path = c:\\vss2\\data "},
        {"data_path = c:\\program files\\vss\\data", "c:\\program files\\vss\\data", "data_path = c:\\vss2\\data "},
        {"data_path =   ; note", "", "data_path = c:\\vss2\\data ; note"},
        {"data_path =\t  \t", "", "data_path = c:\\vss2\\data "},
        // Only blanks and control characters are trimmed, never a character from 0x80 up.
        {"data_path = \x80\xC9x\xE9Y\xA0\x7F", "\x80\xC9x\xE9y\xA0", "data_path = c:\\vss2\\data "},
        // A ";" after the key but before "=" does not make a comment.
        {"data_path ; x = y", "y", "data_path ; x = c:\\vss2\\data "},
        {"data_path = a=b", "a=b", "data_path = c:\\vss2\\data "},
        // Every capital is made small, Z included, in the value and in the kept comment.
        {"DATA_PATH = Z:\\ABCDEFGHIJKLMNOPQRSTUVWXYZ\\Zz ; ZONE ABCDEFGHIJKLMNOPQRSTUVWXYZ",
         "z:\\abcdefghijklmnopqrstuvwxyz\\zz", "data_path = c:\\vss2\\data ; zone abcdefghijklmnopqrstuvwxyz"},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(IsDataPathLine(c.szStored)) << c.szStored;
        EXPECT_EQ(c.szValue, GetDataPathValue(c.szStored)) << c.szStored;
        EXPECT_EQ(c.szRewritten, RebuildDataPathLine(c.szStored, "c:\\vss2\\data")) << c.szStored;
    }
}

TEST(DataPathLine, LinesThatAreNotDataPathLines)
{
    for (const char* szLine : {
             "; Data_Path = C:\\Old\\Data",
             "; Data_Path = C:\\Old ; the old one",
             ";data_path = x",
             "x ; data_path = y",
             "x = data_path = y",              // its first "=" stands before the key
             "data_path c:\\vss\\data",        // no "=" at all
             "temp_path = c:\\data_path_temp", // the key stands in another setting's value
             "data_pat = x",
             "",
             "[General]",
         })
    {
        EXPECT_FALSE(IsDataPathLine(szLine)) << szLine;
        EXPECT_EQ("", GetDataPathValue(szLine)) << szLine;
        EXPECT_EQ(szLine, RebuildDataPathLine(szLine, "c:\\new"));
    }
}

TEST(DataPathLine, PathIsWrittenAsGivenAndEmptyPathLeavesTwoBlanks)
{
    EXPECT_EQ("data_path=  ; c", RebuildDataPathLine("Data_Path=C:\\VSS\\Data; C", ""));
    EXPECT_EQ("data_path= C:\\Mixed ", RebuildDataPathLine("DATA_PATH=x", "C:\\Mixed"));
}

TEST(DataPathLine, OnlyTheFirstDataPathLineCounts)
{
    std::vector<std::string> lines = {"; data_path = comment", "[x]", "Data_Path = A", "data_path = B"};
    std::string strValue;
    ASSERT_TRUE(FindDataPathValue(lines, strValue));
    EXPECT_EQ("a", strValue);
    ASSERT_TRUE(ReplaceDataPath(lines, "c:\\new"));
    EXPECT_EQ((std::vector<std::string>{"; data_path = comment", "[x]", "data_path = c:\\new ", "data_path = B"}),
              lines);

    std::vector<std::string> none = {"[General]", "temp_path = c:\\data_path_temp"};
    strValue = "kept";
    EXPECT_FALSE(FindDataPathValue(none, strValue));
    EXPECT_EQ("kept", strValue);
    EXPECT_FALSE(ReplaceDataPath(none, "c:\\new"));
}

TEST(DataPathLine, PathsALineCanHold)
{
    for (const char* szPath : {"", "c:\\vss\\data", "c:\\program files\\vss\\data", "\\data", "a=b", "x\xE9y",
                               "\\\\server\\share\\data", "\xE9t\xE9\\archiv\xE9", "\xA0x"})
    {
        EXPECT_TRUE(CanHoldDataPath(szPath)) << szPath;
        EXPECT_EQ(szPath, GetDataPathValue(RebuildDataPathLine("Data_Path = old ; note", szPath))) << szPath;
    }
    // Each would come back as another value, or break the line or the file.
    for (const char* szPath : {"c:\\vss;b\\data", "c:\\a\r\nb\\data", "c:\\a\nb", "c:\\a\rb", " c:\\data",
                               "c:\\data ", "\tc:\\data", "c:\\data\x7F", "\x01x"})
        EXPECT_FALSE(CanHoldDataPath(szPath)) << szPath;
}

TEST(DataPathLine, IncludeLines)
{
    for (const char* szLine : {"#include \\\\SERVER\\SHARE\\VSS\\SRCSAFE.INI", "#INCLUDE\tC:\\VSS\\srcsafe.ini",
                               " \t #Include x", "#include  x"})
        EXPECT_TRUE(IsIncludeLine(szLine)) << szLine;
    for (const char* szLine : {"; #include x", "#include", "#include\\\\server\\x", "#includes x", "# include x",
                               "x #include y", "\xC4#include x", "data_path = #include x", ""})
        EXPECT_FALSE(IsIncludeLine(szLine)) << szLine;
    EXPECT_TRUE(HoldsIncludeLine("[General]\nData_Path = x\r\n  #include y\r\n"));
    EXPECT_FALSE(HoldsIncludeLine("[General]\r\n;#include y\r\nData_Path = #include y\r\n"));
}
