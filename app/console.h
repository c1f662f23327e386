#pragma once

#include <iostream>
#include <string>

// Every line the program shows goes to standard output and is flushed at once,
// so it comes before anything SS.EXE prints in the same console.
inline void PrintLine(const std::string& strText)
{
    std::cout << strText << std::endl;
}
