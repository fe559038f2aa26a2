#include "ProgressText.h"

#include <cstdio>

namespace optimal {

std::string ShortCount(std::uint64_t n)
{
    static const char* const kPrefixes[] = {"k", "M", "G", "T", "P", "E"};
    if (n < 1000)
        return std::to_string(n);
    double d = static_cast<double>(n);
    int i = -1;
    while (d >= 999.5 && i < 5) {
        d /= 1000.0;
        ++i;
    }
    char buffer[32];
    if (d < 9.95)
        std::snprintf(buffer, sizeof buffer, "%.1f %s", d, kPrefixes[i]);
    else
        std::snprintf(buffer, sizeof buffer, "%.0f %s", d, kPrefixes[i]);
    return buffer;
}

std::string ShortDuration(double dSeconds)
{
    const long long n = dSeconds > 0 ? static_cast<long long>(dSeconds) : 0;
    if (n < 60)
        return std::to_string(n) + " s";
    if (n < 3600)
        return std::to_string(n / 60) + " min " + std::to_string(n % 60) + " s";
    return std::to_string(n / 3600) + " h " + std::to_string(n / 60 % 60) + " min";
}

std::string ProgressText(const OptimalProgress& progress, double dSeconds)
{
    return "searching " + std::to_string(progress.nDepth) + (progress.nDepth == 1 ? " move" : " moves") +
           "\u2026 (" + std::to_string(progress.nRuledOut) + " ruled out, " + ShortCount(progress.nodes) +
           " positions, " + ShortDuration(dSeconds) + ")";
}

} // namespace optimal
