#include "app/failures.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
// What a stage printed, with standard output sent to a file for the time.
template <typename Stage>
std::string Printed(Stage stage)
{
    const std::string strPath = tarntest::WindowsPath(TARN_SCRATCH) + "\\failures_test.out";
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    const HANDLE hOld = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, hFile);
    RunStage(stage);
    SetStdHandle(STD_OUTPUT_HANDLE, hOld);
    CloseHandle(hFile);
    const std::string strText = tarntest::ReadBytes(strPath);
    DeleteFileA(strPath.c_str());
    return strText;
}
}

// Whatever a stage throws is shown as one line, and the stage after it still runs.
TEST(Failures, EveryKindOfFailureIsShownAndTheRunGoesOn)
{
    tarntest::MakeFolders(tarntest::WindowsPath(TARN_SCRATCH));
    EXPECT_EQ("Could not launch SS.EXE.\r\nFile not found.\r\n",
              Printed([] { throw CTarnApp::CTarnException("Could not launch SS.EXE.\nFile not found."); }));
    EXPECT_EQ("Unexpected failure: std::bad_alloc\r\n", Printed([] { throw std::bad_alloc(); }));
    EXPECT_EQ("Unexpected failure: basic_string::substr\r\n",
              Printed([] { throw std::out_of_range("basic_string::substr"); }));
    EXPECT_EQ("Unexpected failure.\r\n", Printed([] { throw 42; }));
    EXPECT_EQ("", Printed([] {}));
}
