#include "app/code_page.h"

namespace
{
unsigned char Byte(const std::string& strText, std::size_t nPos)
{
    return static_cast<unsigned char>(strText[nPos]);
}

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The length a UTF-8 lead byte announces (1 for any other byte).
std::size_t Utf8Length(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 1;
}
}

CCodePage CCodePage::SingleByte()
{
    return CCodePage(EKind::SingleByte);
}

CCodePage CCodePage::DoubleByte(const unsigned char* pLeadRanges)
{
    CCodePage codePage(EKind::DoubleByte);
    for (const unsigned char* p = pLeadRanges; p[0] != 0 || p[1] != 0; p += 2)
        for (unsigned n = p[0]; n <= p[1]; ++n)
            codePage.m_bLead[n] = true;
    // A code page that names no lead byte has only single-byte characters.
    bool bAny = false;
    for (bool bLead : codePage.m_bLead)
        bAny = bAny || bLead;
    return bAny ? codePage : SingleByte();
}

CCodePage CCodePage::Utf8()
{
    return CCodePage(EKind::Utf8);
}

std::size_t CCodePage::CharLength(const std::string& strText, std::size_t nPos) const
{
    const std::size_t nLeft = strText.size() - nPos;
    const unsigned char b = Byte(strText, nPos);
    switch (m_kind)
    {
    case EKind::SingleByte:
        return 1;
    case EKind::DoubleByte:
        // As the system walks such text: a lead byte takes the next byte with
        // it, unless that is the end of the string.
        return m_bLead[b] && nLeft >= 2 && strText[nPos + 1] != '\0' ? 2 : 1;
    case EKind::Utf8:
    {
        const std::size_t nLength = Utf8Length(b);
        if (nLength > nLeft)
            return 1;
        for (std::size_t i = 1; i < nLength; ++i)
            if (!IsContinuation(Byte(strText, nPos + i)))
                return 1;
        return nLength;
    }
    }
    return 1;
}

bool CCodePage::IsCharStart(const std::string& strText, std::size_t nPos) const
{
    std::size_t i = 0;
    while (i < nPos && i < strText.size())
        i += CharLength(strText, i);
    return i == nPos;
}

bool CCodePage::EndsInLoneLeadByte(const std::string& strText) const
{
    // In UTF-8 a byte below 0x80 never joins the character before it.
    if (m_kind != EKind::DoubleByte || strText.empty())
        return false;
    std::size_t nLast = 0;
    for (std::size_t i = 0; i < strText.size(); i += CharLength(strText, i))
        nLast = i;
    return nLast + 1 == strText.size() && m_bLead[Byte(strText, nLast)];
}

std::size_t CCodePage::Find(const std::string& strText, const std::string& strAscii, std::size_t nFrom) const
{
    for (std::size_t i = 0; i < strText.size(); i += CharLength(strText, i))
        if (i >= nFrom && strText.compare(i, strAscii.size(), strAscii) == 0)
            return i;
    return std::string::npos;
}

std::size_t CCodePage::FindLast(const std::string& strText, char c) const
{
    std::size_t nFound = std::string::npos;
    for (std::size_t i = 0; i < strText.size(); i += CharLength(strText, i))
        if (strText[i] == c)
            nFound = i;
    return nFound;
}

bool CCodePage::EndsWith(const std::string& strText, char c) const
{
    return !strText.empty() && strText.back() == c && FindLast(strText, c) == strText.size() - 1;
}

std::string CCodePage::Replace(const std::string& strText, char cFrom, char cTo) const
{
    std::string strOut(strText);
    for (std::size_t i = 0; i < strOut.size(); i += CharLength(strOut, i))
        if (strOut[i] == cFrom)
            strOut[i] = cTo;
    return strOut;
}

std::string CCodePage::Lower(const std::string& strText) const
{
    std::string strOut(strText);
    for (std::size_t i = 0; i < strOut.size(); i += CharLength(strOut, i))
        if (strOut[i] >= 'A' && strOut[i] <= 'Z')
            strOut[i] = static_cast<char>(strOut[i] - 'A' + 'a');
    return strOut;
}

std::string CCodePage::TrimBlanks(const std::string& strText) const
{
    std::size_t nFirst = std::string::npos;
    std::size_t nEnd = 0;
    for (std::size_t i = 0; i < strText.size();)
    {
        const std::size_t nLength = CharLength(strText, i);
        if (nLength > 1 || !IsBlankOrControl(strText[i]))
        {
            if (nFirst == std::string::npos)
                nFirst = i;
            nEnd = i + nLength;
        }
        i += nLength;
    }
    return nFirst == std::string::npos ? std::string() : strText.substr(nFirst, nEnd - nFirst);
}
