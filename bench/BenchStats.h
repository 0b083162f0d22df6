#pragma once

// What the benchmark programs share: order statistics, processor time, and letting queued
// events run.
#include <QCoreApplication>
#include <algorithm>
#include <ctime>
#include <vector>

namespace bench {

// The middle value (the mean of the middle two for an even count); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The value below which 90 % of the values lie (nearest rank); 0 for none.
inline double Percentile90(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = (values.size() * 9 + 9) / 10; // ceil(0.9 n)
    return values[std::max<size_t>(rank, 1) - 1];
}

// Processor time, so the figures can be told apart from waiting for a busy machine.
inline double ProcessCpuMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace bench
