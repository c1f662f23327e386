#pragma once

// What every fuzz target shares: the input read as fields, the check that
// ends the run on a broken property, and oracles written apart from the code
// they check.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A property that does not hold: the input is saved by libFuzzer as a crash.
#define FUZZ_CHECK(condition)                                                                                      \
    do                                                                                                             \
    {                                                                                                              \
        if (!(condition))                                                                                          \
        {                                                                                                          \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);                  \
            std::abort();                                                                                          \
        }                                                                                                          \
    } while (0)

namespace tarnfuzz
{
// The input as fields separated by NUL bytes, as command-line arguments are;
// a field past the end is empty, so that every input is a whole call. The
// seeds are written with printf 'a\0b'.
class CFields
{
public:
    CFields(const std::uint8_t* pData, std::size_t nSize) : m_strInput(reinterpret_cast<const char*>(pData), nSize)
    {}

    bool AtEnd() const { return m_nPos >= m_strInput.size(); }

    std::string Next()
    {
        if (AtEnd())
            return std::string();
        std::size_t nEnd = m_strInput.find('\0', m_nPos);
        if (nEnd == std::string::npos)
            nEnd = m_strInput.size();
        const std::string strField = m_strInput.substr(m_nPos, nEnd - m_nPos);
        m_nPos = nEnd + 1;
        return strField;
    }

    // Everything not read yet, NUL bytes included.
    std::string Rest()
    {
        const std::string strRest = AtEnd() ? std::string() : m_strInput.substr(m_nPos);
        m_nPos = m_strInput.size();
        return strRest;
    }

private:
    std::string m_strInput;
    std::size_t m_nPos = 0;
};

// A to Z made small, every other byte kept.
inline std::string LowerAZ(std::string strText)
{
    for (char& c : strText)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return strText;
}

inline bool HasCapital(const std::string& strText)
{
    for (char c : strText)
        if (c >= 'A' && c <= 'Z')
            return true;
    return false;
}

// The text as srcsafe.ini's writer stores it: every LF that has no CR before it gains one.
inline std::string WithCrlf(const std::string& strText)
{
    std::string strOut;
    for (std::size_t i = 0; i < strText.size(); ++i)
    {
        if (strText[i] == '\n' && (i == 0 || strText[i - 1] != '\r'))
            strOut += '\r';
        strOut += strText[i];
    }
    return strOut;
}

// The text cut at every byte c.
inline std::vector<std::string> CutAt(const std::string& strText, char c)
{
    std::vector<std::string> parts(1);
    for (char b : strText)
    {
        if (b == c)
            parts.emplace_back();
        else
            parts.back() += b;
    }
    return parts;
}
}
