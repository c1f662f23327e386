#include "app/command_line_split.h"

#include <gtest/gtest.h>

// The C runtime's own examples of how main() gets its arguments, and the program path's rule.
TEST(CommandLineSplit, CutsAsTheCRuntimeDoes)
{
    struct Case
    {
        const wchar_t* szLine;
        std::vector<std::wstring> args;
    };
    const Case cases[] = {
        {LR"(tarn "a b c" d e)", {L"tarn", L"a b c", L"d", L"e"}},
        {LR"(tarn "ab\"c" "\\" d)", {L"tarn", L"ab\"c", L"\\", L"d"}},
        {LR"(tarn a\\\b d"e f"g h)", {L"tarn", LR"(a\\\b)", L"de fg", L"h"}},
        {LR"(tarn a\\\"b c d)", {L"tarn", LR"(a\"b)", L"c", L"d"}},
        {LR"(tarn a\\\\"b c" d e)", {L"tarn", LR"(a\\b c)", L"d", L"e"}},
        {LR"(tarn "a""b" c)", {L"tarn", L"a\"b", L"c"}},
        {LR"(tarn "" x)", {L"tarn", L"", L"x"}},
        // A root that ends in a backslash, quoted, keeps it only when the backslash is doubled.
        {LR"(tarn "C:\DEV\\" checkout)", {L"tarn", LR"(C:\DEV\)", L"checkout"}},
        {LR"("C:\Program Files\VSS\tarn.exe"	 C:\A\ 	)", {LR"(C:\Program Files\VSS\tarn.exe)", LR"(C:\A\)"}},
        {LR"(C:\VSS\BIN\tarn.exe)", {LR"(C:\VSS\BIN\tarn.exe)"}},
        // Backslashes, and a closing quote, at the very end of the line.
        {LR"(tarn C:\DEV\SRC\)", {L"tarn", LR"(C:\DEV\SRC\)"}},
        {LR"(tarn "a b")", {L"tarn", L"a b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.args, SplitCommandLine(c.szLine)) << testing::PrintToString(std::wstring(c.szLine));
}
