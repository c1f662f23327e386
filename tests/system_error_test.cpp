#include "launch/system_error.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(SystemError, SystemTextIsKeptWithItsLineEnd)
{
    const std::string strText = DescribeSystemError(ERROR_FILE_NOT_FOUND);
    ASSERT_GE(strText.size(), 2u);
    EXPECT_EQ("\r\n", strText.substr(strText.size() - 2));
    EXPECT_EQ(std::string::npos, strText.find("System error"));
}

TEST(SystemError, CodeWithoutSystemTextIsNamed)
{
    // Application-defined codes (bit 29) have no text in the system's tables.
    EXPECT_EQ("System error 536936448.", DescribeSystemError(0x20010000UL));
}
