#pragma once
// Work shared by threads, for the tables' making and the searches. Where the
// system cannot start another thread, the work is done by fewer (at least
// this one), later but the same.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace shortsolver {

// Runs work(t) on up to nThreads threads at once, t = 0 on this one; returns
// when all are done.
template <class Work>
void OnThreads(int nThreads, Work work)
{
    std::vector<std::thread> threads;
    for (int t = 1; t < nThreads; ++t) {
        try {
            threads.emplace_back(work, static_cast<size_t>(t));
        } catch (const std::system_error&) {
            break;
        }
    }
    struct Joiner {
        std::vector<std::thread>& threads;
        ~Joiner()
        {
            for (std::thread& t : threads)
                t.join();
        }
    } joiner{threads};
    work(size_t(0));
}

// work(first, last, t) on blocks of nBlock of 0..nCount taken in turn by up
// to nThreads threads (t: which), so that they finish together.
template <class Work>
void ForBlocks(size_t nCount, size_t nBlock, int nThreads, Work work)
{
    std::atomic<size_t> next{0};
    OnThreads(nThreads, [&](size_t t) {
        for (;;) {
            const size_t first = next.fetch_add(nBlock);
            if (first >= nCount)
                return;
            work(first, std::min(nCount, first + nBlock), t);
        }
    });
}

// beside() on a second thread while here() runs on this one (beside() first,
// here, when no thread can be started).
template <class Beside, class Here>
void Alongside(Beside beside, Here here)
{
    std::thread worker;
    try {
        worker = std::thread(beside);
    } catch (const std::system_error&) {
        beside();
    }
    struct Joiner {
        std::thread& worker;
        ~Joiner()
        {
            if (worker.joinable())
                worker.join();
        }
    } joiner{worker};
    here();
}

} // namespace shortsolver
