#include "sourcesafe/file_io.h"

#include "app/win32_handles.h"

#include <algorithm>

namespace
{
// The folder part of a path, without its final backslash ("." when none).
std::string FolderOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? std::string(".") : strPath.substr(0, nSlash);
}

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

enum class TempResult
{
    Written,
    NotCreated, // the folder takes no new file
    Failed      // created but not written whole; removed again
};

// Writes strBytes to a new file in strFolder, named for this process so that
// concurrent runs never share one, and flushes it to disk.
TempResult WriteTempFile(const std::string& strFolder, const std::string& strBytes, std::string& strTempPath)
{
    CUniqueFile file;
    for (int n = 0; !file && n < 100; ++n)
    {
        strTempPath = strFolder + "\\~tarn" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n) + ".tmp";
        file.Reset(CreateFileA(strTempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS)
            return TempResult::NotCreated;
    }
    if (!file)
        return TempResult::NotCreated;
    if (WriteAll(file.Get(), strBytes) && FlushFileBuffers(file.Get()))
        return TempResult::Written;
    file.Reset();
    DeleteFileA(strTempPath.c_str());
    return TempResult::Failed;
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
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0)
        strBytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Reads to the end whatever the size said: the file may grow meanwhile.
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
    switch (WriteTempFile(FolderOf(strPath), strBytes, strTemp))
    {
    case TempResult::NotCreated:
        return WriteInPlace(strPath, strBytes);
    case TempResult::Failed:
        return false;
    case TempResult::Written:
        break;
    }

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
    if (WriteTempFile(FolderOf(strPath), strBytes, strTemp) != TempResult::Written)
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
