// The text rules on characters of a code page. Input: one byte choosing the
// code page (single-byte; 932; 936, 949 and 950, whose lead bytes are alike;
// UTF-8), then a text, a NUL and a second text.
//  - No rule splits a character or changes a double-byte one: cut into
//    characters by a walker written here, apart from the code, every result
//    is made of the input's characters, each whole.
//  - Lower-casing and turning "\" into "/" change only single-byte
//    characters, and in a single-byte code page exactly as the byte rules did;
//    trimming takes off only blanks and control characters.
//  - A data_path value, read or rebuilt, consists of whole characters of its
//    line; a path the line can hold reads back as its lower-cased self.
#include "app/code_page.h"
#include "app/command_line_rules.h"
#include "app/project_path.h"
#include "sourcesafe/data_path_line.h"
#include "tests/fuzz/fuzz_input.h"

#include <algorithm>

namespace
{
enum class EPage
{
    Single,
    Japanese,
    OtherEastAsian,
    Utf8
};

const unsigned char kLeads932[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
const unsigned char kLeadsOther[] = {0x81, 0xFE, 0, 0};

bool IsLead(EPage page, unsigned char b)
{
    if (page == EPage::Japanese)
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return page == EPage::OtherEastAsian && b >= 0x81 && b <= 0xFE;
}

// A UTF-8 sequence at nPos: as long as its lead byte says (C2 to DF: 2, E0 to
// EF: 3, F0 to F4: 4) when that many continuation bytes follow, else 1.
std::size_t Utf8SequenceLength(const std::string& strText, std::size_t nPos)
{
    const unsigned char b = static_cast<unsigned char>(strText[nPos]);
    const std::size_t n = b < 0xC2 ? 1 : b <= 0xDF ? 2 : b <= 0xEF ? 3 : b <= 0xF4 ? 4 : 1;
    for (std::size_t k = 1; k < n; ++k)
        if (nPos + k >= strText.size() || (static_cast<unsigned char>(strText[nPos + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

// The characters of a text.
std::vector<std::string> Characters(EPage page, const std::string& strText)
{
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < strText.size();)
    {
        const unsigned char b = static_cast<unsigned char>(strText[i]);
        std::size_t n = IsLead(page, b) && i + 1 < strText.size() && strText[i + 1] != '\0' ? 2 : 1;
        if (page == EPage::Utf8)
            n = Utf8SequenceLength(strText, i);
        chars.push_back(strText.substr(i, n));
        i += n;
    }
    return chars;
}

std::string Joined(const std::vector<std::string>& chars)
{
    std::string strText;
    for (const std::string& strChar : chars)
        strText += strChar;
    return strText;
}

// Each character changed on its own: single-byte ones by fChange, others kept.
template <typename Change>
std::string PerCharacter(EPage page, const std::string& strText, Change fChange)
{
    std::vector<std::string> chars = Characters(page, strText);
    for (std::string& strChar : chars)
        if (strChar.size() == 1 && (page != EPage::Utf8 || static_cast<unsigned char>(strChar[0]) < 0x80))
            strChar[0] = fChange(strChar[0]);
    return Joined(chars);
}

char LowerLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

char Slash(char c)
{
    return c == '\\' ? '/' : c;
}

// True when strPart is a run of whole characters of strWhole.
bool HasAsWholeCharacters(EPage page, const std::string& strWhole, const std::string& strPart)
{
    std::vector<std::size_t> starts;
    std::size_t nPos = 0;
    for (const std::string& strChar : Characters(page, strWhole))
    {
        starts.push_back(nPos);
        nPos += strChar.size();
    }
    starts.push_back(nPos);
    for (std::size_t nStart : starts)
        if (strWhole.compare(nStart, strPart.size(), strPart) == 0 &&
            std::find(starts.begin(), starts.end(), nStart + strPart.size()) != starts.end())
            return true;
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize == 0)
        return 0;
    const EPage page = static_cast<EPage>(pData[0] % 4);
    const CCodePage codePage = page == EPage::Single     ? CCodePage::SingleByte()
                               : page == EPage::Japanese ? CCodePage::DoubleByte(kLeads932)
                               : page == EPage::Utf8     ? CCodePage::Utf8()
                                                         : CCodePage::DoubleByte(kLeadsOther);
    tarnfuzz::CFields fields(pData + 1, nSize - 1);
    const std::string strText = fields.Next();
    const std::string strOther = fields.Rest();

    std::size_t nWalked = 0;
    for (const std::string& strChar : Characters(page, strText))
    {
        FUZZ_CHECK(codePage.CharLength(strText, nWalked) == strChar.size());
        nWalked += strChar.size();
    }

    FUZZ_CHECK(codePage.Lower(strText) == PerCharacter(page, strText, LowerLetter));
    FUZZ_CHECK(codePage.Replace(strText, '\\', '/') == PerCharacter(page, strText, Slash));
    if (page == EPage::Single)
        FUZZ_CHECK(codePage.Lower(strText) == tarnfuzz::LowerAZ(strText));

    // Trimming takes off blanks and control characters, never a character from 0x80 up.
    std::vector<std::string> trimmed = Characters(page, strText);
    const auto IsBlank = [](const std::string& strChar)
    { return strChar.size() == 1 && (static_cast<unsigned char>(strChar[0]) <= 0x20 || strChar[0] == 0x7F); };
    while (!trimmed.empty() && IsBlank(trimmed.back()))
        trimmed.pop_back();
    while (!trimmed.empty() && IsBlank(trimmed.front()))
        trimmed.erase(trimmed.begin());
    FUZZ_CHECK(codePage.TrimBlanks(strText) == Joined(trimmed));

    // The root's final backslash, and the project path.
    const std::vector<std::string> chars = Characters(page, strText);
    const bool bFinalBackslash = !chars.empty() && chars.back() == "\\";
    FUZZ_CHECK(WithoutFinalBackslash(strText, codePage) + (bFinalBackslash ? "\\" : "") == strText);
    const std::size_t nCut = strOther.size() / 2;
    const std::string strPath = MakeSSFilePath(strOther, nCut, strText, codePage);
    const std::string strRest = strOther.substr(nCut);
    const std::string strHead = strText.empty() ? "$" : "$/" + PerCharacter(page, strText, Slash);
    FUZZ_CHECK(strPath == strHead + PerCharacter(page, strRest, Slash));

    // The data_path line, with strOther as the line and strText as the path.
    const std::string strLower = codePage.Lower(strOther);
    const std::string strValue = GetDataPathValue(strOther, codePage);
    if (IsDataPathLine(strOther, codePage))
    {
        FUZZ_CHECK(HasAsWholeCharacters(page, strLower, strValue));
        const std::string strRebuilt = RebuildDataPathLine(strOther, strText, codePage);
        if (CanHoldDataPath(strText, codePage))
            FUZZ_CHECK(GetDataPathValue(strRebuilt, codePage) == codePage.Lower(strText));
        FUZZ_CHECK(strRebuilt.find(" " + strText + " ") != std::string::npos);
    }
    else
        FUZZ_CHECK(strValue.empty() && RebuildDataPathLine(strOther, strText, codePage) == strOther);
    return 0;
}
