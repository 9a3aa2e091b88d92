// Output unbuffered, so a test that hangs under Wine still shows how far it got. Under Windows the
// test thread is a GUI thread like the program's, with its COM apartment.
#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include "win/ole_apartment.h"
#endif

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef _WIN32
    const win::OleApartment apartment;
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
