#include "tests/support/code_pages.h"

#include <windows.h>

namespace tarntest
{
// ソ表十, アーカイブ開発, 魵歃 (0xFC 0x41, 0x9F 0x5C); 乗俓, 丄丏, 嗀 and a character
// of 0xFE 0x5C; 갂, and one of 0xFE 0xA1; 許功么, 上丁, and two of 0xFE 0x41 and
// 0xFE 0x5C. Those of lead byte 0xFE but 嗀 are user-defined characters, which
// the system keeps in the private use area. Escaped, so that every compiler
// reads them alike whatever it takes the source's encoding for.
const CMultiByteCodePage kEastAsianCodePages[4] = {
    {932, "ja_JP.UTF-8", u8"\u30BD\u8868\u5341", u8"\u30A2\u30FC\u30AB\u30A4\u30D6\u958B\u767A", u8"\u9B75\u6B43"},
    {936, "zh_CN.UTF-8", u8"\u4E57\u4FD3", u8"\u4E04\u4E0F", u8"\uFA0D\uE821"},
    {949, "ko_KR.UTF-8", u8"", u8"\uAC02", u8"\uE05E"},
    {950, "zh_TW.UTF-8", u8"\u8A31\u529F\u4E48", u8"\u4E0A\u4E01", u8"\uE275\uE290"},
};

const CMultiByteCodePage kUtf8CodePage = {65001, "hi_IN.UTF-8", u8"\u30BD\u8868\u5341",
                                          u8"\u30A2\u30FC\u30AB\u30A4\u30D6\u958B\u767A",
                                          u8"\u07FF\uFFE5\U0010FFFD"};

CCodePage CodePageOf(unsigned nCodePage)
{
    if (nCodePage == CP_UTF8)
        return CCodePage::Utf8();
    CPINFO info = {};
    if (!GetCPInfo(nCodePage, &info) || info.MaxCharSize < 2)
        return CCodePage::SingleByte();
    return CCodePage::DoubleByte(info.LeadByte);
}

std::string InCodePage(unsigned nCodePage, const std::string& strUtf8)
{
    if (strUtf8.empty())
        return std::string();
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), &strWide[0], nWide);
    const int nBytes = WideCharToMultiByte(nCodePage, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strBytes(static_cast<std::size_t>(nBytes), '\0');
    WideCharToMultiByte(nCodePage, 0, strWide.data(), nWide, &strBytes[0], nBytes, nullptr, nullptr);
    return strBytes;
}
}
