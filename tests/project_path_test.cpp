#include "app/project_path.h"

#include <gtest/gtest.h>

TEST(ProjectPath, Simple)
{
    EXPECT_EQ("$/PROJ1/HELLO.CPP", MakeSSFilePath("C:\\DEV\\SRC\\PROJ1\\HELLO.CPP", 10, ""));
}
