#pragma once

// The clocks the benchmark programs read: wall-clock time, the process's processor time and
// its peak memory.
#include <QElapsedTimer>
#include <ctime>
#include <sys/resource.h>

namespace BenchClock
{

inline double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// CPU time of the process: on a machine shared with other work, the time the program itself
// spent, beside the wall-clock time that the others stretch.
inline double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace BenchClock
