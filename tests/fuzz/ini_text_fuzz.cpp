// srcsafe.ini split into lines and joined again: only a bare LF changes (it
// gains a CR), and lines survive a join and a split unchanged.
#include "sourcesafe/ini_text.h"
#include "tests/fuzz/fuzz_input.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);

    const std::vector<std::string> lines = SplitIniLines(strText);
    FUZZ_CHECK(lines.size() == static_cast<std::size_t>(std::count(strText.begin(), strText.end(), '\n')) + 1);
    for (const std::string& strLine : lines)
        FUZZ_CHECK(strLine.find('\n') == std::string::npos);
    const std::string strJoined = JoinIniLines(lines);
    FUZZ_CHECK(strJoined == tarnfuzz::WithCrlf(strText));
    FUZZ_CHECK(SplitIniLines(strJoined) == lines);

    // Lines of any content but LF, a CR at the end of one included, come back as they were.
    std::vector<std::string> anyLines = tarnfuzz::CutAt(strText, '\0');
    for (std::string& strLine : anyLines)
        strLine.erase(std::remove(strLine.begin(), strLine.end(), '\n'), strLine.end());
    FUZZ_CHECK(SplitIniLines(JoinIniLines(anyLines)) == anyLines);
    return 0;
}
