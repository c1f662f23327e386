#pragma once

#include <string>

// The system's own text for an error code, unchanged (it carries its own line
// end), or a text naming the code when the system has none for it.
std::string DescribeSystemError(unsigned long nError);

// The same text as one line: without the line end and blanks it ends with.
std::string SystemErrorLine(unsigned long nError);
