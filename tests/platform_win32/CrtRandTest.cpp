// The game's random numbers are the Windows C runtime's on every platform: the draws
// msvcrt gives after these seeds.
#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

struct SeedCase {
    unsigned int seed;
    int draws[3];
};

TEST(CrtRand, EachSeedStartsTheWindowsRuntimesSequence) {
    const SeedCase cases[] = {
        {1, {41, 18467, 6334}},
        {123456789, {13259, 26974, 13551}},
    };
    for (const SeedCase& c : cases) {
        std::srand(c.seed);
        for (int expected : c.draws) EXPECT_EQ(std::rand(), expected) << "seed " << c.seed;
    }
    EXPECT_EQ(RAND_MAX, 32767);
}

}  // namespace
