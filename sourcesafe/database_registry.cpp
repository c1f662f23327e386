#include "app/ansi_conversion.h"
#include "app/character_check.h"
#include "app/code_page.h"
#include "app/tarn_app.h"
#include "sourcesafe/advapi32.h"

#include <algorithm>

namespace
{
// The longest value text taken, in bytes of the ANSI code page with its terminating NUL.
const std::size_t kValueBuffer = 260;

bool IsTextType(DWORD nType)
{
    return nType == REG_SZ || nType == REG_EXPAND_SZ || nType == REG_MULTI_SZ;
}

// Text up to the first NUL, never past the nCount units the query returned.
template <typename Char>
std::basic_string<Char> UpToNul(const Char* pText, std::size_t nCount)
{
    std::size_t nLength = 0;
    while (nLength < nCount && pText[nLength] != Char(0))
        ++nLength;
    return std::basic_string<Char>(pText, nLength);
}
}

void CTarnApp::LookupDatabasePath()
{
    std::string strRawResult;
    bool bLost = false;
    QueryRegistryPath("Software\\Microsoft\\Sourcesafe\\Databases", m_strDatabase, strRawResult, &bLost);
    m_strNewDatabasePath += AnsiCodePage().Lower(strRawResult);
    // The folder as stored, without the "\data" the query added.
    m_strDatabaseFolder =
        strRawResult.substr(0, strRawResult.size() - std::min<std::size_t>(5, strRawResult.size()));
    // Written to srcsafe.ini as "?" or a look-alike, it would name another folder.
    if (bLost)
        throw CodePageFailure("The folder registered for the database " + m_strDatabase +
                                  " cannot be handed to SS.EXE in this system's code page (",
                              m_strDatabaseFolder);
}

// Every failure is silent: the result is then left as it was. Text is read in
// UTF-16, as the registry keeps it, so that a character the ANSI code page
// lacks is noticed (pLost) rather than silently replaced.
void CTarnApp::QueryRegistryPath(const std::string& strKeyName, const std::string& strValueName,
                                 std::string& strResult, bool* pLost)
{
    const CAdvapi32& api = CAdvapi32::Get();
    if (api.pCreateKeyEx == nullptr)
        return;
    CUniqueHkey key;
    if (api.pCreateKeyEx(HKEY_CURRENT_USER, strKeyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return;

    // Room for every text whose ANSI form fits: no character takes fewer bytes there.
    WCHAR buffer[kValueBuffer] = {};
    DWORD nSize = sizeof(buffer);
    DWORD nType = REG_NONE;
    if (api.pQueryValueEx(key.Get(), ToWide(strValueName).c_str(), nullptr, &nType, reinterpret_cast<BYTE*>(buffer),
                          &nSize) != ERROR_SUCCESS)
        return;

    // Other types keep their bytes as they are.
    std::string strText;
    bool bExact = true;
    if (!IsTextType(nType))
    {
        if (nSize > kValueBuffer)
            return;
        strText = UpToNul(reinterpret_cast<const char*>(buffer), nSize);
    }
    else
    {
        bExact = ToAnsiExactly(UpToNul(buffer, nSize / sizeof(WCHAR)), strText);
        if (strText.size() >= kValueBuffer)
            return;
    }
    if (!bExact && pLost != nullptr)
        *pLost = true;
    strResult = strText + "\\data";
}
