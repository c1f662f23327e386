#include "sourcesafe/ini_text.h"

std::vector<std::string> SplitIniLines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::size_t nStart = 0;
    for (;;)
    {
        const std::size_t nLf = strText.find('\n', nStart);
        if (nLf == std::string::npos)
        {
            lines.push_back(strText.substr(nStart));
            return lines;
        }
        std::size_t nEnd = nLf;
        if (nEnd > nStart && strText[nEnd - 1] == '\r')
            --nEnd;
        lines.push_back(strText.substr(nStart, nEnd - nStart));
        nStart = nLf + 1;
    }
}

std::string JoinIniLines(const std::vector<std::string>& lines)
{
    std::size_t nSize = 0;
    for (const std::string& strLine : lines)
        nSize += strLine.size() + 2;
    std::string strText;
    strText.reserve(nSize);
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (i > 0)
            strText += "\r\n";
        strText += lines[i];
    }
    return strText;
}
