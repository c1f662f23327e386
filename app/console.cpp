#include "app/console.h"

#include <windows.h>

#include <cstring>

namespace
{
// Collects a line in a fixed buffer and writes it with as few WriteFile calls
// as it takes, usually one: the C runtime's text mode asks the system about
// the console for every few bytes, which under some platforms costs more than
// the rest of the run.
class CLineWriter
{
public:
    void Add(const char* pText, std::size_t nLength)
    {
        for (std::size_t i = 0; i < nLength; ++i)
        {
            if (pText[i] == '\n')
                Put('\r');
            Put(pText[i]);
        }
    }

    void End()
    {
        Put('\r');
        Put('\n');
        Flush();
    }

private:
    void Put(char c)
    {
        if (m_nUsed == sizeof(m_buffer))
            Flush();
        m_buffer[m_nUsed++] = c;
    }

    void Flush()
    {
        DWORD nWritten = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), m_buffer, static_cast<DWORD>(m_nUsed), &nWritten, nullptr);
        m_nUsed = 0;
    }

    char m_buffer[1024];
    std::size_t m_nUsed = 0;
};
}

void PrintLine(const std::string& strText)
{
    CLineWriter writer;
    writer.Add(strText.data(), strText.size());
    writer.End();
}

void PrintLine(const char* szText, const char* szMore)
{
    CLineWriter writer;
    writer.Add(szText, std::strlen(szText));
    writer.Add(szMore, std::strlen(szMore));
    writer.End();
}
