// Times the srcsafe.ini switch that -DB: makes, and the switch back, on large files.
//
//   ini_switch_bench.exe FOLDER [REPETITIONS]
//
// For each size it writes FOLDER\srcsafe-<size>.ini (about 100 bytes a line,
// the data_path line last, so that every line is looked at), then times
// REPETITIONS (default 21) rounds of SetDatabasePath(new) + SetDatabasePath(old)
// and prints one line per size:
//
//   size=1MB lines=10000 bytes=1000000 repetitions=21 median_ms=... min_ms=... max_ms=...
//
// Every round is checked outside the timed part: the file must hold the old
// path again, byte for byte as after the first round. Exit code 1 on a failed check.

#include "app/tarn_app.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{
const char kOldPath[] = "\\\\server\\sourcesafe\\main\\data";
const char kNewPath[] = "z:\\bench\\databases\\other\\data";
const std::size_t kLineBytes = 100;

struct CSize
{
    const char* szName;
    std::size_t nLines;
};

// nLines lines of kLineBytes bytes each, CR LF included; the last one is the data_path line.
std::string MakeIniText(std::size_t nLines)
{
    std::string strText;
    strText.reserve(nLines * kLineBytes);
    for (std::size_t i = 0; i + 1 < nLines; ++i)
    {
        char szStart[64];
        if (i % 50 == 0)
            std::snprintf(szStart, sizeof(szStart), "[Section%06u]", static_cast<unsigned>(i / 50));
        else if (i % 5 == 0)
            std::snprintf(szStart, sizeof(szStart), "; note %06u:", static_cast<unsigned>(i));
        else
            std::snprintf(szStart, sizeof(szStart), "Setting%06u = ", static_cast<unsigned>(i));
        std::string strLine = szStart;
        strLine.resize(kLineBytes - 2, 'x');
        strText += strLine + "\r\n";
    }
    std::string strLast = std::string("Data_Path = ") + kOldPath;
    strLast.resize(kLineBytes - 2, ' ');
    strText += strLast + "\r\n";
    return strText;
}

bool WriteBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    return file.good();
}

std::string ReadBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The data_path value that the program itself reads from the file.
std::string CurrentPath(CTarnApp& app)
{
    app.m_strOldDatabasePath.clear();
    app.ReadCurrentDatabasePath();
    return app.m_strOldDatabasePath;
}

bool Fail(const std::string& strWhat)
{
    std::fprintf(stderr, "ini_switch_bench: %s\n", strWhat.c_str());
    return false;
}

bool Measure(const std::string& strFolder, const CSize& size, int nRepetitions)
{
    CTarnApp app;
    app.m_strIniPath = strFolder + "\\srcsafe-" + size.szName + ".ini";
    const std::string strText = MakeIniText(size.nLines);
    if (!WriteBytes(app.m_strIniPath, strText))
        return Fail("cannot write " + app.m_strIniPath);

    // One untimed round: it checks the switch and leaves the file in the form every later round keeps.
    app.SetDatabasePath(kNewPath);
    if (CurrentPath(app) != kNewPath)
        return Fail(app.m_strIniPath + ": switch did not take, data_path is \"" + CurrentPath(app) + "\"");
    app.SetDatabasePath(kOldPath);
    if (CurrentPath(app) != kOldPath)
        return Fail(app.m_strIniPath + ": switch back did not take, data_path is \"" + CurrentPath(app) + "\"");
    const std::string strSettled = ReadBytes(app.m_strIniPath);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> milliseconds;
    for (int i = 0; i < nRepetitions; ++i)
    {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        app.SetDatabasePath(kNewPath);
        app.SetDatabasePath(kOldPath);
        QueryPerformanceCounter(&end);
        milliseconds.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
        if (ReadBytes(app.m_strIniPath) != strSettled)
            return Fail(app.m_strIniPath + ": not the same after round " + std::to_string(i + 1));
    }
    DeleteFileA(app.m_strIniPath.c_str());

    std::sort(milliseconds.begin(), milliseconds.end());
    const std::size_t n = milliseconds.size();
    const double median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2;
    std::printf("size=%s lines=%u bytes=%u repetitions=%d median_ms=%.3f min_ms=%.3f max_ms=%.3f\n", size.szName,
                static_cast<unsigned>(size.nLines), static_cast<unsigned>(strText.size()), nRepetitions, median,
                milliseconds.front(), milliseconds.back());
    std::fflush(stdout);
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: ini_switch_bench.exe FOLDER [REPETITIONS]\n");
        return 2;
    }
    const std::string strFolder = argv[1];
    const int nRepetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    const CSize sizes[] = {{"1MB", 10000}, {"10MB", 100000}};
    try
    {
        for (const CSize& size : sizes)
            if (!Measure(strFolder, size, nRepetitions))
                return 1;
    }
    catch (const CTarnApp::CTarnException& e)
    {
        std::fprintf(stderr, "ini_switch_bench: %s\n", e.m_strMessage.c_str());
        return 1;
    }
    return 0;
}
