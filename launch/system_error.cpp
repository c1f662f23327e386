#include "launch/system_error.h"

#include "app/win32_handles.h"

std::string DescribeSystemError(unsigned long nError)
{
    CUniqueLocalText text;
    const DWORD nLength = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        nError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(text.Put()), 0, nullptr);
    // Nothing is read from a buffer the system did not provide.
    if (nLength == 0 || !text)
        return "System error " + std::to_string(nError) + ".";
    return std::string(text.Get(), nLength);
}

std::string SystemErrorLine(unsigned long nError)
{
    std::string strText = DescribeSystemError(nError);
    const std::size_t nEnd = strText.find_last_not_of(" \t\r\n");
    strText.resize(nEnd == std::string::npos ? 0 : nEnd + 1);
    return strText;
}
