#include "sourcesafe/file_io.h"

#include "app/code_page.h"
#include "app/win32_handles.h"
#include "sourcesafe/file_system.h"

#include <algorithm>
#include <utility>

namespace
{
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A virus scanner or an indexer holds a file it has just seen for a moment.
const int kRenameAttempts = 20;
const DWORD kRenameRetryMilliseconds = 50;

std::size_t NameStart(const std::string& strPath)
{
    const std::size_t nSlash = AnsiCodePage().FindLast(AnsiCodePage().Replace(strPath, '/', '\\'), '\\');
    return nSlash == std::string::npos ? 0 : nSlash + 1;
}

// The folder part of a path, with its final backslash ("" when none).
std::string FolderOf(const std::string& strPath)
{
    return strPath.substr(0, NameStart(strPath));
}

DWORD LastErrorOr(DWORD nFallback)
{
    const DWORD nError = GetLastError();
    return nError != ERROR_SUCCESS ? nError : nFallback;
}

DWORD WriteAll(HANDLE hFile, const std::string& strBytes)
{
    std::size_t nDone = 0;
    while (nDone < strBytes.size())
    {
        const std::size_t nChunk = std::min<std::size_t>(strBytes.size() - nDone, 1 << 20);
        DWORD nWritten = 0;
        if (!FileSystem().pWriteFile(hFile, strBytes.data() + nDone, static_cast<DWORD>(nChunk), &nWritten,
                                     nullptr))
            return LastErrorOr(ERROR_WRITE_FAULT);
        if (nWritten == 0)
            return ERROR_WRITE_FAULT;
        nDone += nWritten;
    }
    return ERROR_SUCCESS;
}

// The temporary file of a rewrite, removed on every road out, a failure to
// allocate included, unless it has taken the place of the file it replaces.
class CTempFile
{
public:
    CTempFile() = default;
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;
    ~CTempFile()
    {
        if (!m_strPath.empty())
            RemoveFile(m_strPath);
    }

    const std::string& Path() const { return m_strPath; }
    // The name comes before the file, so that nothing needs memory once the file exists.
    void Name(std::string strPath) { m_strPath = std::move(strPath); }
    // Nothing of ours to remove: the file was not made, or it has taken the other's place.
    void Forget() { m_strPath.clear(); }

private:
    std::string m_strPath;
};

// A new, empty temporary file beside strPath, named for this process so that
// concurrent runs never share one.
DWORD CreateTempFile(const std::string& strPath, CUniqueFile& file, CTempFile& temp)
{
    const std::string strStem = strPath + ".tarn" + std::to_string(GetCurrentProcessId()) + "-";
    for (int n = 0; n < 100; ++n)
    {
        temp.Name(strStem + std::to_string(n) + ".tmp");
        file.Reset(FileSystem().pCreateFile(temp.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return ERROR_SUCCESS;
        const DWORD nError = LastErrorOr(ERROR_CANNOT_MAKE);
        // Another file of that name is not ours to remove.
        temp.Forget();
        if (nError != ERROR_FILE_EXISTS)
            return nError;
    }
    return ERROR_FILE_EXISTS;
}

// Writes strBytes to a new temporary file beside strPath and flushes it to disk.
DWORD WriteTempFile(const std::string& strPath, const std::string& strBytes, CTempFile& temp)
{
    CUniqueFile file;
    const DWORD nError = CreateTempFile(strPath, file, temp);
    if (nError != ERROR_SUCCESS)
        return nError;
    if (const DWORD nWriteError = WriteAll(file.Get(), strBytes))
        return nWriteError;
    return FileSystem().pFlushFileBuffers(file.Get()) ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
}

bool IsNotSupported(DWORD nError)
{
    return nError == ERROR_NOT_SUPPORTED || nError == ERROR_CALL_NOT_IMPLEMENTED ||
           nError == ERROR_INVALID_FUNCTION;
}

// Gives strTo the permissions of strFrom. Where the platform keeps none (or
// cannot hand them out), there is nothing to carry over.
DWORD CopyPermissions(const std::string& strFrom, const std::string& strTo)
{
    const SECURITY_INFORMATION nWhat = DACL_SECURITY_INFORMATION;
    DWORD nNeeded = 0;
    std::vector<BYTE> descriptor(256);
    while (!FileSystem().pGetFileSecurity(strFrom.c_str(), nWhat, descriptor.data(),
                                          static_cast<DWORD>(descriptor.size()), &nNeeded))
    {
        const DWORD nError = LastErrorOr(ERROR_ACCESS_DENIED);
        if (IsNotSupported(nError))
            return ERROR_SUCCESS;
        if (nError != ERROR_INSUFFICIENT_BUFFER || nNeeded <= descriptor.size())
            return nError;
        descriptor.resize(nNeeded);
    }
    if (FileSystem().pSetFileSecurity(strTo.c_str(), nWhat, descriptor.data()))
        return ERROR_SUCCESS;
    const DWORD nError = LastErrorOr(ERROR_ACCESS_DENIED);
    return IsNotSupported(nError) ? ERROR_SUCCESS : nError;
}

// One rename, so that a reader finds either the old file or the new one.
DWORD MoveIntoPlace(const std::string& strTempPath, const std::string& strPath)
{
    for (int nAttempt = 1;; ++nAttempt)
    {
        if (FileSystem().pMoveFileEx(strTempPath.c_str(), strPath.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        const DWORD nError = LastErrorOr(ERROR_ACCESS_DENIED);
        if ((nError != ERROR_SHARING_VIOLATION && nError != ERROR_ACCESS_DENIED) || nAttempt == kRenameAttempts)
            return nError;
        Sleep(kRenameRetryMilliseconds);
    }
}

bool IsTempFileName(const std::string& strName, const std::string& strIniName)
{
    const std::string strLower = AnsiCodePage().Lower(strName);
    const std::string strStem = AnsiCodePage().Lower(strIniName) + ".tarn";
    return strLower.size() > strStem.size() + 4 && strLower.compare(0, strStem.size(), strStem) == 0 &&
           strLower.compare(strLower.size() - 4, 4, ".tmp") == 0;
}
}

DWORD ReadWholeFile(const std::string& strPath, std::string& strBytes)
{
    CUniqueFile file(FileSystem().pCreateFile(strPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastErrorOr(ERROR_OPEN_FAILED);
    std::string strRead;
    // Reads to the end whatever size was seen before: the file may grow meanwhile.
    char buffer[64 * 1024];
    for (;;)
    {
        DWORD nRead = 0;
        if (!FileSystem().pReadFile(file.Get(), buffer, sizeof(buffer), &nRead, nullptr))
            return LastErrorOr(ERROR_READ_FAULT);
        if (nRead == 0)
            break;
        strRead.append(buffer, nRead);
    }
    strBytes.swap(strRead);
    return ERROR_SUCCESS;
}

DWORD RewriteFile(const std::string& strPath, const std::string& strBytes)
{
    const DWORD nAttributes = FileSystem().pGetFileAttributes(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return LastErrorOr(ERROR_FILE_NOT_FOUND);
    // Checked by hand: some file systems let a privileged user write read-only files.
    if (nAttributes & FILE_ATTRIBUTE_READONLY)
        return ERROR_FILE_READ_ONLY;

    CTempFile temp;
    DWORD nError = WriteTempFile(strPath, strBytes, temp);
    if (nError != ERROR_SUCCESS)
        return nError;

    // What a rename does not carry over goes to the new file first, so that it
    // never stands in the file's place without it.
    if (!FileSystem().pSetFileAttributes(temp.Path().c_str(), nAttributes))
        nError = LastErrorOr(ERROR_ACCESS_DENIED);
    if (nError == ERROR_SUCCESS)
        nError = CopyPermissions(strPath, temp.Path());
    if (nError == ERROR_SUCCESS)
        nError = MoveIntoPlace(temp.Path(), strPath);
    if (nError == ERROR_SUCCESS)
        temp.Forget();
    return nError;
}

DWORD WriteFileDurably(const std::string& strPath, const std::string& strBytes)
{
    CTempFile temp;
    DWORD nError = WriteTempFile(strPath, strBytes, temp);
    if (nError == ERROR_SUCCESS)
        nError = MoveIntoPlace(temp.Path(), strPath);
    if (nError == ERROR_SUCCESS)
        temp.Forget();
    return nError;
}

DWORD ProbeFile(const std::string& strPath)
{
    if (FileSystem().pGetFileAttributes(strPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ERROR_SUCCESS;
    const DWORD nError = LastErrorOr(ERROR_ACCESS_DENIED);
    return IsMissingFileError(nError) || IsNameTooLongError(nError) ? ERROR_FILE_NOT_FOUND : nError;
}

DWORD RemoveFile(const std::string& strPath)
{
    return FileSystem().pDeleteFile(strPath.c_str()) ? ERROR_SUCCESS : LastErrorOr(ERROR_ACCESS_DENIED);
}

std::vector<std::string> FindTempFiles(const std::string& strIniPath)
{
    std::vector<std::string> paths;
    const std::string strFolder = FolderOf(strIniPath);
    const std::string strIniName = strIniPath.substr(NameStart(strIniPath));
    WIN32_FIND_DATAA found;
    CUniqueFind find(FileSystem().pFindFirstFile((strIniPath + ".tarn*.tmp").c_str(), &found));
    if (!find)
        return paths;
    do
    {
        // The pattern also matches short names; only the long name counts.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTempFileName(found.cFileName, strIniName))
            paths.push_back(strFolder + found.cFileName);
    } while (FileSystem().pFindNextFile(find.Get(), &found));
    return paths;
}
