// The test programs' entry point. It ends the process without the usual
// library clean-up: under Wine a program whose child was killed while showing
// a window can otherwise hang in that clean-up after every test has passed.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), (UINT)result);
    return result;
}
