#pragma once
// The scramble's random generator: a 32-bit linear congruential state,
// state = state * 214013 + 2531011 (mod 2^32), each draw (state >> 16) & 0x7FFF.
// The state is 1 when the program starts and the program never seeds it, so
// every run produces the same sequence of scrambles.

namespace CubeRandom {

// Next value, 0 to 32767.
int Rand();

// Sets the state; the program itself never calls it (tools and tests do).
void Seed(unsigned int nState);

} // namespace CubeRandom
