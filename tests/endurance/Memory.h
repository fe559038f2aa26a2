#pragma once
// Resident memory of this process, where the platform tells it.

#include <cstdio>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#include <unistd.h>
#endif

// Current resident set in KiB; 0 where unknown.
inline long CurrentRssKiB()
{
#if defined(__linux__)
    long nPages = 0, nResident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &nPages, &nResident) != 2)
            nResident = 0;
        std::fclose(f);
    }
    return nResident * (sysconf(_SC_PAGESIZE) / 1024);
#else
    return 0;
#endif
}

// Peak resident set so far in KiB; 0 where unknown.
inline long PeakRssKiB()
{
#if defined(__APPLE__)
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
#elif defined(__unix__)
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

// Prints the memory figures of a run and tells whether it stayed flat: the
// resident set at the end may exceed the one after warm-up by at most
// nMaxGrowthKiB (0: not judged). Returns the run's exit status.
inline int ReportMemory(long nStartKiB, long nStartPeakKiB, long nMaxGrowthKiB)
{
    const long nEndKiB = CurrentRssKiB();
    std::printf("resident memory after warm-up %ld KiB (peak %ld KiB), at the end %ld KiB (peak %ld KiB)\n",
                nStartKiB, nStartPeakKiB, nEndKiB, PeakRssKiB());
    if (nMaxGrowthKiB > 0 && nStartKiB > 0 && nEndKiB - nStartKiB > nMaxGrowthKiB) {
        std::fprintf(stderr, "memory grew by %ld KiB\n", nEndKiB - nStartKiB);
        return 1;
    }
    return 0;
}
