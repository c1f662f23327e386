// The data_path line of a srcsafe.ini text, read and rebuilt. Input: the new
// path, a NUL, then the text (NUL bytes and all).
//  - A switch to the path and a switch back leave every line but the first
//    data_path line byte for byte (a bare LF becomes CR LF, nothing else).
//  - For every path CanHoldDataPath accepts, the rebuilt line and the
//    rewritten text read back the path, compared after lower-casing A to Z.
//  - A value read holds no capital, no ";", and no blank or control
//    character at either end.
#include "sourcesafe/data_path_line.h"
#include "sourcesafe/ini_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace
{
bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}

void CheckValue(const std::string& strValue)
{
    FUZZ_CHECK(!tarnfuzz::HasCapital(strValue));
    FUZZ_CHECK(strValue.find(';') == std::string::npos);
    FUZZ_CHECK(strValue.empty() || (!IsBlankOrControl(strValue.front()) && !IsBlankOrControl(strValue.back())));
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    tarnfuzz::CFields fields(pData, nSize);
    const std::string strPath = fields.Next();
    const std::string strText = fields.Rest();
    const bool bCanHold = CanHoldDataPath(strPath);
    const std::string strPathRead = tarnfuzz::LowerAZ(strPath);

    // Line by line: every data_path line, not only the first.
    const std::vector<std::string> lines = SplitIniLines(strText);
    std::size_t nFirst = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        const std::string strRebuilt = RebuildDataPathLine(lines[i], strPath);
        if (!IsDataPathLine(lines[i]))
        {
            FUZZ_CHECK(strRebuilt == lines[i]);
            FUZZ_CHECK(GetDataPathValue(lines[i]).empty());
            continue;
        }
        if (nFirst == lines.size())
            nFirst = i;
        CheckValue(GetDataPathValue(lines[i]));
        FUZZ_CHECK(IsDataPathLine(strRebuilt));
        if (bCanHold)
            FUZZ_CHECK(GetDataPathValue(strRebuilt) == strPathRead);
    }

    std::string strOld = "untouched";
    const bool bHasLine = ReadDataPath(strText, strOld);
    FUZZ_CHECK(bHasLine == (nFirst < lines.size()));
    FUZZ_CHECK(bHasLine ? strOld == GetDataPathValue(lines[nFirst]) : strOld == "untouched");
    if (!bHasLine)
    {
        FUZZ_CHECK(RewriteDataPath(strText, strPath) == tarnfuzz::WithCrlf(strText));
        return 0;
    }
    if (!bCanHold)
        return 0;

    // The switch and the switch back, as a "-DB:" run makes them.
    const std::string strSwitched = RewriteDataPath(strText, strPath);
    std::string strValue;
    FUZZ_CHECK(ReadDataPath(strSwitched, strValue) && strValue == strPathRead);
    const std::string strBack = RewriteDataPath(strSwitched, strOld);
    FUZZ_CHECK(ReadDataPath(strBack, strValue) && strValue == strOld);
    // Switching back again changes nothing.
    FUZZ_CHECK(RewriteDataPath(strBack, strOld) == strBack);

    const std::vector<std::string> switchedLines = SplitIniLines(strSwitched);
    const std::vector<std::string> backLines = SplitIniLines(strBack);
    FUZZ_CHECK(switchedLines.size() == lines.size() && backLines.size() == lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (i == nFirst)
            continue;
        FUZZ_CHECK(switchedLines[i] == lines[i]);
        FUZZ_CHECK(backLines[i] == lines[i]);
    }
    // The data_path line itself comes back as the original rebuilt for its own value.
    FUZZ_CHECK(backLines[nFirst] == RebuildDataPathLine(lines[nFirst], strOld));

    // Byte for byte: the original text, bare LFs made CR LF, with that one line replaced.
    std::size_t nStart = 0;
    for (std::size_t i = 0; i < nFirst; ++i)
        nStart += lines[i].size() + 2;
    std::string strExpected = tarnfuzz::WithCrlf(strText);
    strExpected.replace(nStart, lines[nFirst].size(), backLines[nFirst]);
    FUZZ_CHECK(strBack == strExpected);
    return 0;
}
