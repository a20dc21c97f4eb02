#pragma once
// The process's CPU time so far (user and system), for the benchmarks' CPU shares.

#include <sys/resource.h>

inline double CpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}
