#include "sourcesafe/install_paths.h"

#include <gtest/gtest.h>

TEST(InstallPaths, ProgramFolderEndsAtTheLastBackslash)
{
    struct Case
    {
        const char* szModule;
        const char* szFolder;
    };
    const Case cases[] = {
        {"C:\\VSS\\BIN\\tarn.exe", "C:\\VSS\\BIN\\"},
        {"C:\\tarn.exe", "C:\\"},
        {"C:\\A\\B\\C\\tarn.exe", "C:\\A\\B\\C\\"},
        {"C:\\Program Files\\VSS\\win32\\tarn.exe", "C:\\Program Files\\VSS\\win32\\"},
        {"\\\\server\\share\\vss\\bin\\other name.exe", "\\\\server\\share\\vss\\bin\\"},
    };
    for (const Case& c : cases)
    {
        std::string strFolder;
        ASSERT_TRUE(GetProgramFolder(c.szModule, strFolder)) << c.szModule;
        EXPECT_EQ(c.szFolder, strFolder);
    }
}

TEST(InstallPaths, ModulePathWithoutBackslashHasNoFolder)
{
    std::string strFolder = "untouched";
    EXPECT_FALSE(GetProgramFolder("tarn.exe", strFolder));
    EXPECT_FALSE(GetProgramFolder("C:/VSS/BIN/tarn.exe", strFolder));
    EXPECT_EQ("untouched", strFolder);
}
