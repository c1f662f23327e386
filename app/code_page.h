#pragma once

#include <string>

// Text in the ANSI code page, walked by characters rather than bytes. In the
// double-byte code pages of East Asian Windows (932, 936, 949, 950) a
// character is one or two bytes, and the second byte can be that of "\" or
// of a letter: such a byte is never a separator, a letter or a search hit of
// its own. Every rule of the program that looks at single characters goes
// through here. Positions and lengths stay in bytes.
class CCodePage
{
public:
    // Every byte a character of its own, as in 1252 and the other Western code pages.
    static CCodePage SingleByte();
    // A double-byte code page: its lead bytes, given as pairs of first and last
    // byte of a range, ended by a pair of zeros (the form the system reports).
    static CCodePage DoubleByte(const unsigned char* pLeadRanges);
    // UTF-8 as the ANSI code page: no byte below 0x80 is ever part of another character.
    static CCodePage Utf8();

    // The number of bytes of the character that begins at nPos: at least 1,
    // never past the end. A lead byte with nothing after it stands alone.
    std::size_t CharLength(const std::string& strText, std::size_t nPos) const;
    // True when a character begins at nPos (or nPos is the end of the text).
    bool IsCharStart(const std::string& strText, std::size_t nPos) const;
    // True when the text ends with a lead byte that has no second byte: a byte
    // appended to it would become part of that character.
    bool EndsInLoneLeadByte(const std::string& strText) const;

    // The first occurrence of an ASCII text that begins at a character, from nFrom on; npos when none.
    std::size_t Find(const std::string& strText, const std::string& strAscii, std::size_t nFrom = 0) const;
    // The last character c (ASCII); npos when none.
    std::size_t FindLast(const std::string& strText, char c) const;
    // True when the last character of the text is c (ASCII).
    bool EndsWith(const std::string& strText, char c) const;
    // Every character cFrom (ASCII) turned into cTo.
    std::string Replace(const std::string& strText, char cFrom, char cTo) const;
    // A to Z made small where they are characters of their own; every other byte kept.
    std::string Lower(const std::string& strText) const;
    // The text without blanks and control characters (0x00 to 0x20, 0x7F) at
    // its two ends; a character from 0x80 up is never taken for one.
    std::string TrimBlanks(const std::string& strText) const;

private:
    enum class EKind
    {
        SingleByte,
        DoubleByte,
        Utf8
    };
    explicit CCodePage(EKind kind) : m_kind(kind) {}

    EKind m_kind;
    bool m_bLead[256] = {};
};

// The system's ANSI code page: the one every text of the program is in.
const CCodePage& AnsiCodePage();

// True for the bytes trimmed off a value: blanks and control characters.
inline bool IsBlankOrControl(char c)
{
    const unsigned char b = static_cast<unsigned char>(c);
    return b <= 0x20 || b == 0x7F;
}
