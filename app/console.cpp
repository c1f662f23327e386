#include "app/console.h"

#include <windows.h>

// One WriteFile per line, with the line ends turned into CR LF here: the C
// runtime's text mode asks the system about the console for every few bytes,
// which under some platforms costs more than the rest of the run.
void PrintLine(const std::string& strText)
{
    std::string strBytes;
    strBytes.reserve(strText.size() + 8);
    for (char c : strText)
    {
        if (c == '\n')
            strBytes += '\r';
        strBytes += c;
    }
    strBytes += "\r\n";
    DWORD nWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), strBytes.data(), static_cast<DWORD>(strBytes.size()), &nWritten,
              nullptr);
}
