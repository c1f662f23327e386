#include "sourcesafe/file_io.h"

#include "app/win32_handles.h"

#include <algorithm>

namespace
{
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE hFile, const std::string& strBytes)
{
    std::size_t nDone = 0;
    while (nDone < strBytes.size())
    {
        const std::size_t nChunk = std::min<std::size_t>(strBytes.size() - nDone, 1 << 20);
        DWORD nWritten = 0;
        if (!WriteFile(hFile, strBytes.data() + nDone, static_cast<DWORD>(nChunk), &nWritten, nullptr) ||
            nWritten == 0)
            return false;
        nDone += nWritten;
    }
    return true;
}

// Makes an empty, uniquely named file in strFolder for new contents.
bool MakeTempFile(const std::string& strFolder, std::string& strTempPath)
{
    char szTemp[MAX_PATH];
    // Some implementations hand out a name even when they could not create the file.
    if (GetTempFileNameA(strFolder.c_str(), "trn", 0, szTemp) == 0 ||
        GetFileAttributesA(szTemp) == INVALID_FILE_ATTRIBUTES)
        return false;
    strTempPath = szTemp;
    return true;
}

// Fills a temporary file and flushes it to disk; removes it when that fails.
bool FillTempFile(const std::string& strTempPath, const std::string& strBytes)
{
    bool bWritten = false;
    {
        CUniqueFile file(CreateFileA(strTempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        bWritten = file && WriteAll(file.Get(), strBytes) && FlushFileBuffers(file.Get());
    }
    if (!bWritten)
        DeleteFileA(strTempPath.c_str());
    return bWritten;
}

// Overwrites from the start and then cuts the rest, so the file is never empty on the way.
bool WriteInPlace(const std::string& strPath, const std::string& strBytes)
{
    CUniqueFile file(CreateFileA(strPath.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), strBytes) && SetEndOfFile(file.Get()) &&
           FlushFileBuffers(file.Get());
}
}

bool ReadWholeFile(const std::string& strPath, std::string& strBytes)
{
    CUniqueFile file(CreateFileA(strPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    strBytes.clear();
    char buffer[64 * 1024];
    DWORD nRead = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        strBytes.append(buffer, nRead);
    return true;
}

bool RewriteFile(const std::string& strPath, const std::string& strBytes)
{
    const DWORD nAttributes = GetFileAttributesA(strPath.c_str());
    // Checked by hand: some file systems let a privileged user write read-only files.
    if (nAttributes == INVALID_FILE_ATTRIBUTES || (nAttributes & FILE_ATTRIBUTE_READONLY))
        return false;

    std::string strTemp;
    if (!MakeTempFile(FolderOf(strPath), strTemp))
        return WriteInPlace(strPath, strBytes);
    if (!FillTempFile(strTemp, strBytes))
        return false;

    if (!ReplaceFileA(strPath.c_str(), strTemp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr) &&
        !MoveFileExA(strTemp.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileA(strTemp.c_str());
        return false;
    }
    // Not every implementation of ReplaceFile carries the attributes over (hidden, system, archive).
    if (GetFileAttributesA(strPath.c_str()) != nAttributes)
        SetFileAttributesA(strPath.c_str(), nAttributes);
    return true;
}

bool WriteFileDurably(const std::string& strPath, const std::string& strBytes)
{
    std::string strTemp;
    if (!MakeTempFile(FolderOf(strPath), strTemp) || !FillTempFile(strTemp, strBytes))
        return false;
    if (MoveFileExA(strTemp.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(strTemp.c_str());
    return false;
}

bool FileExists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FolderOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? std::string(".") : strPath.substr(0, nSlash);
}
