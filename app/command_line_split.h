#pragma once

#include <string>
#include <vector>

// A command line cut into arguments the way the C runtime cuts it for main():
// the program's path first (quotes taken off, nothing else special), then
// arguments separated by blanks or tabs outside quotes, where 2n backslashes
// before a quote give n backslashes and the quote opens or closes a quoted
// part, 2n + 1 give n backslashes and a literal quote, "" inside quotes is a
// literal quote, and every other backslash is kept.
std::vector<std::wstring> SplitCommandLine(const std::wstring& strCommandLine);
