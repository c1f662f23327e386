#include "app/ascii.h"
#include "app/tarn_app.h"
#include "sourcesafe/advapi32.h"

void CTarnApp::LookupDatabasePath()
{
    std::string strRawResult;
    QueryRegistryPath("Software\\Microsoft\\Sourcesafe\\Databases", m_strDatabase, strRawResult);
    m_strNewDatabasePath += LowerAsciiCopy(strRawResult);
}

// Every failure is silent: the result is then left as it was.
void CTarnApp::QueryRegistryPath(const std::string& strKeyName, const std::string& strValueName,
                                 std::string& strResult)
{
    const CAdvapi32& api = CAdvapi32::Get();
    if (api.pCreateKeyEx == nullptr)
        return;
    CUniqueHkey key;
    if (api.pCreateKeyEx(HKEY_CURRENT_USER, strKeyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return;

    const DWORD kBuffer = 260;
    BYTE buffer[kBuffer];
    DWORD nSize = kBuffer;
    if (api.pQueryValueEx(key.Get(), strValueName.c_str(), nullptr, nullptr, buffer, &nSize) != ERROR_SUCCESS)
        return;

    // Text up to the first NUL, never past the bytes the query returned.
    const char* pText = reinterpret_cast<const char*>(buffer);
    std::size_t nLength = 0;
    while (nLength < nSize && pText[nLength] != '\0')
        ++nLength;
    strResult.assign(pText, nLength);
    strResult += "\\data";
}
