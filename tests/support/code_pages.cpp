#include "tests/support/code_pages.h"

#include <windows.h>

namespace tarntest
{
// ソ表十 and アーカイブ開発; 乗俓 and 丄丏; 갂; 許功么 and 上丁 (escaped, so that
// every compiler reads them alike whatever it takes the source's encoding for).
const CEastAsianCodePage kEastAsianCodePages[4] = {
    {932, "ja_JP.UTF-8", u8"\u30BD\u8868\u5341", u8"\u30A2\u30FC\u30AB\u30A4\u30D6\u958B\u767A"},
    {936, "zh_CN.UTF-8", u8"\u4E57\u4FD3", u8"\u4E04\u4E0F"},
    {949, "ko_KR.UTF-8", u8"", u8"\uAC02"},
    {950, "zh_TW.UTF-8", u8"\u8A31\u529F\u4E48", u8"\u4E0A\u4E01"},
};

CCodePage CodePageOf(unsigned nCodePage)
{
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
