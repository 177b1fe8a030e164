// The built game, started as a player starts it.
#include <gtest/gtest.h>

#include "win_test_support.h"

TEST(Entry, GameStartsAndExitsWithCodeZero)
{
    const std::string exe = ExecutableFolder() + "\\indovina.exe";
    EXPECT_EQ(RunProgram("\"" + exe + "\"", 30000), 0);
}
