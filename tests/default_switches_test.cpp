#include "app/default_switches.h"

#include <gtest/gtest.h>

TEST(DefaultSwitches, AddedUnlessTheCallerGaveOneOfTheSameKind)
{
    struct Case
    {
        const char* szGiven;
        const char* szCommand;
        const char* szExpected;
    };
    const Case cases[] = {
        {"", "checkout", " -I- -C- -NL"},
        {" -GWR", "checkout", " -GWR -I- -C- -NL"},
        {" -GWR", "undocheckout", " -GWR -I- -NL"},
        // Only the exact word counts as undocheckout.
        {"", "UNDOCHECKOUT", " -I- -C- -NL"},
        {"", "undocheckoutx", " -I- -C- -NL"},
        // "-I" anywhere, also inside another switch, suppresses -I-; small letters do not.
        {" -I-Y", "checkout", " -I-Y -C- -NL"},
        {" -XI", "checkout", " -XI -I- -C- -NL"},
        {" -GX-I", "checkout", " -GX-I -C- -NL"},
        {" -i-", "checkout", " -i- -I- -C- -NL"},
        // -C and -N count only at the start of a switch, in capitals.
        {" -CComment", "checkout", " -CComment -I- -NL"},
        {" -c-", "checkout", " -c- -I- -C- -NL"},
        {" -XC", "checkout", " -XC -I- -C- -NL"},
        {" -NS", "checkout", " -NS -I- -C-"},
        {" -nl", "checkout", " -nl -I- -C- -NL"},
        // Inside a switch, after a letter, "-N" and "-C" count for nothing.
        {" -YUser-Name", "checkout", " -YUser-Name -I- -C- -NL"},
        {" -YUser-Comment", "checkout", " -YUser-Comment -I- -C- -NL"},
        {" -I-Y -C- -N", "checkin", " -I-Y -C- -N"},
    };
    for (const Case& c : cases)
    {
        std::string strParameters = c.szGiven;
        AddDefaultSwitches(strParameters, c.szCommand);
        EXPECT_EQ(c.szExpected, strParameters) << "given '" << c.szGiven << "' for " << c.szCommand;
    }
}

TEST(DefaultSwitches, SwitchNamesMatchOnFourCharactersInAnyLetterCase)
{
    EXPECT_TRUE(HasSwitchPrefix("-DB:Remote", "-DB:"));
    EXPECT_TRUE(HasSwitchPrefix("-db:", "-DB:"));
    EXPECT_TRUE(HasSwitchPrefix("-LoGGING", "-LOG"));
    EXPECT_FALSE(HasSwitchPrefix("-LO", "-LOG"));
    EXPECT_FALSE(HasSwitchPrefix("-DB", "-DB:"));
    EXPECT_FALSE(HasSwitchPrefix("-DBX", "-DB:"));
    // Only A to Z fold: 0x1A is not ":" although the two differ by the case bit.
    EXPECT_FALSE(HasSwitchPrefix("-DB\x1A", "-DB:"));
}
