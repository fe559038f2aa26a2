#pragma once
// Small helpers of the searches and table builders, with portable fallbacks.

#include <cstdint>

namespace shortsolver {

// Index of the lowest set bit; n must not be 0.
inline int LowestBit(std::uint64_t n)
{
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctzll(n);
#else
    int i = 0;
    while (!(n >> i & 1))
        ++i;
    return i;
#endif
}

// Asks for the cache line holding p to be fetched; a hint only.
inline void Prefetch(const void* p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

} // namespace shortsolver
