#include "Random.h"

#include <cstdint>

namespace {
std::uint32_t g_nRandState = 1;
}

namespace CubeRandom {

int Rand()
{
    g_nRandState = g_nRandState * 214013u + 2531011u;
    return static_cast<int>((g_nRandState >> 16) & 0x7FFFu);
}

void Seed(unsigned int nState)
{
    g_nRandState = nState;
}

} // namespace CubeRandom
