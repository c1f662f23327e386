#include "app/project_path.h"

#include <gtest/gtest.h>

TEST(ProjectPath, CutsRootAndTurnsBackslashesIntoSlashes)
{
    struct Case
    {
        const char* szFile;
        std::size_t nRoot;
        const char* szPrefix;
        const char* szExpected;
    };
    const Case cases[] = {
        {"C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", 10, "", "$/PROJ1/HELLO.CPP"},
        {"C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", 10, "release", "$/release/PROJ1/HELLO.CPP"},
        {"C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", 10, "release\\beta", "$/release/beta/PROJ1/HELLO.CPP"},
        // A prefix ending in a backslash gives two slashes: nothing is added or removed around it.
        {"C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", 10, "release\\", "$/release//PROJ1/HELLO.CPP"},
        {"C:\\PROJ\\X.H", 2, "", "$/PROJ/X.H"},
        // The cut part is never compared with the root.
        {"D:\\OTHER\\PROJ1\\HELLO.CPP", 8, "", "$/PROJ1/HELLO.CPP"},
        {"C:\\DEV\\SRC", 10, "", "$"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.szExpected, MakeSSFilePath(c.szFile, c.nRoot, c.szPrefix)) << c.szFile << " / " << c.szPrefix;
}
