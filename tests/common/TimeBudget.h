#pragma once

#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>
#include <limits>

// Wall-time checks for parsers fed hostile input: a quadratic algorithm misses the budget
// by orders of magnitude, a linear one meets it with room to spare.
namespace TimeBudget {

// Sanitizer builds run several times slower; they get a budget to match.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr int sanitizerFactor = 10;
#else
constexpr int sanitizerFactor = 1;
#endif

inline qint64 scaled(qint64 budgetMs)
{
    return budgetMs * sanitizerFactor;
}

// The best of `rounds` runs of `work`, in milliseconds, printed under `name`: the best run
// is the one least disturbed by other load on the machine.
template<typename Work>
double bestMs(const char *name, Work work, int rounds = 3)
{
    double best = std::numeric_limits<double>::max();
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    qInfo("%s: %.2f ms", name, best);
    return best;
}

} // namespace TimeBudget
