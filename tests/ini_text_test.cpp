#include "sourcesafe/ini_text.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(IniText, SplitsAtLineFeedsAndKeepsEveryOtherByte)
{
    struct Case
    {
        std::string strText;
        Lines lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\nb", {"a", "b"}},
        {"\n\n", {"", "", ""}},
        {"a\rb\r\n", {"a\rb", ""}},
        {"a\r\r\n", {"a\r", ""}},
        {"\r", {"\r"}},
        {std::string("a\0b\x1A"
                     "c\nd",
                     7),
         {std::string("a\0b\x1A"
                      "c",
                      5),
          "d"}},
        {std::string(5000, 'x') + "\n", {std::string(5000, 'x'), ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.lines, SplitIniLines(c.strText));
}

TEST(IniText, JoinsWithCrLfAndNoEndAfterTheLastLine)
{
    EXPECT_EQ("", JoinIniLines({""}));
    EXPECT_EQ("a\r\nb\r\n", JoinIniLines({"a", "b", ""}));
    EXPECT_EQ("a\r\n\r\nb", JoinIniLines({"a", "", "b"}));
    // LF ends become CR LF; a lone CR stays where it was.
    EXPECT_EQ("a\rb\r\nc\r\n", JoinIniLines(SplitIniLines("a\rb\nc\n")));
}
