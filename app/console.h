#pragma once

#include <string>

// Shows one line on standard output, written and flushed at once so that it
// comes before anything SS.EXE prints in the same console. Line ends are
// stored as CR LF, as a text-mode stream would store them. Nothing is
// allocated, so a failure can be shown even when memory has run out.
void PrintLine(const std::string& strText);
void PrintLine(const char* szText, const char* szMore = "");
