#pragma once

#include <string>
#include <vector>

// srcsafe.ini as lines. A line ends at LF, a CR right before it is part of the
// line end; every other byte (lone CR, NUL, 0x1A) belongs to the line, and the
// text after the last LF is one more line (empty when the file ends with LF).
std::vector<std::string> SplitIniLines(const std::string& strText);

// The lines joined with CR LF, with no line end after the last one: a file that
// ended with a line end keeps exactly one, and one that did not gains none.
std::string JoinIniLines(const std::vector<std::string>& lines);
