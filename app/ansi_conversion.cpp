#include "app/ansi_conversion.h"

#include "app/code_page.h"
#include "app/wide_to_ansi.h"

#include <windows.h>

namespace
{
CCodePage SystemCodePage()
{
    if (GetACP() == CP_UTF8)
        return CCodePage::Utf8();
    CPINFO info = {};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2)
        return CCodePage::SingleByte();
    return CCodePage::DoubleByte(info.LeadByte);
}
}

WideToAnsiFunction& WideToAnsiConverter()
{
    static WideToAnsiFunction pConvert = &WideCharToMultiByte;
    return pConvert;
}

const CCodePage& AnsiCodePage()
{
    static const CCodePage codePage = SystemCodePage();
    return codePage;
}

unsigned AnsiCodePageNumber()
{
    return GetACP();
}

bool ToAnsiExactly(const std::wstring& strWide, std::string& strAnsi)
{
    strAnsi.clear();
    if (strWide.empty())
        return true;
    const int nWide = static_cast<int>(strWide.size());
    // UTF-8 holds every character; only a broken surrogate pair has no place there.
    const bool bUtf8 = GetACP() == CP_UTF8;
    const DWORD nFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bLost = FALSE;
    BOOL* pLost = bUtf8 ? nullptr : &bLost;
    const WideToAnsiFunction pConvert = WideToAnsiConverter();
    const int nBytes = pConvert(CP_ACP, nFlags, strWide.data(), nWide, nullptr, 0, nullptr, pLost);
    if (nBytes > 0)
    {
        strAnsi.resize(static_cast<std::size_t>(nBytes));
        pConvert(CP_ACP, nFlags, strWide.data(), nWide, strAnsi.data(), nBytes, nullptr, pLost);
        return !bLost;
    }
    // Rendered for a message all the same, with "?" where a character was lost.
    const int nShown = pConvert(CP_ACP, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    strAnsi.assign(static_cast<std::size_t>(nShown > 0 ? nShown : 0), '?');
    if (nShown > 0)
        pConvert(CP_ACP, 0, strWide.data(), nWide, strAnsi.data(), nShown, nullptr, nullptr);
    return false;
}

std::wstring ToWide(const std::string& strAnsi)
{
    if (strAnsi.empty())
        return std::wstring();
    const int nBytes = static_cast<int>(strAnsi.size());
    const int nWide = MultiByteToWideChar(CP_ACP, 0, strAnsi.data(), nBytes, nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nWide > 0 ? nWide : 0), L'\0');
    if (nWide > 0)
        MultiByteToWideChar(CP_ACP, 0, strAnsi.data(), nBytes, strWide.data(), nWide);
    return strWide;
}

bool LookUpEnvironmentWide(const std::wstring& strName, std::wstring& strValue)
{
    // The size asked for counts the terminating NUL: only a missing variable gives 0.
    const DWORD nNeeded = GetEnvironmentVariableW(strName.c_str(), nullptr, 0);
    if (nNeeded == 0)
        return false;
    std::wstring strBuffer(nNeeded, L'\0');
    const DWORD nLength = GetEnvironmentVariableW(strName.c_str(), strBuffer.data(), nNeeded);
    strValue.assign(strBuffer.data(), nLength < nNeeded ? nLength : nNeeded - 1);
    return true;
}

std::wstring FullPathWide(const std::wstring& strName)
{
    const DWORD nNeeded = GetFullPathNameW(strName.c_str(), 0, nullptr, nullptr);
    if (nNeeded == 0)
        return strName;
    std::wstring strBuffer(nNeeded, L'\0');
    const DWORD nLength = GetFullPathNameW(strName.c_str(), nNeeded, strBuffer.data(), nullptr);
    return nLength == 0 || nLength >= nNeeded ? strName : strBuffer.substr(0, nLength);
}
