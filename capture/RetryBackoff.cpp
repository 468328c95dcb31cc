#include "RetryBackoff.h"

#include <algorithm>

RetryBackoff::RetryBackoff(int firstMs, int longestMs)
    // A wait of nothing would try again at once, over and over.
    : m_firstMs(std::max(1, firstMs))
    , m_longestMs(std::max(m_firstMs, longestMs))
    , m_nextMs(m_firstMs)
{
}

int RetryBackoff::next()
{
    const int wait = m_nextMs;
    m_nextMs = wait > m_longestMs / 2 ? m_longestMs : wait * 2;
    return wait;
}

void RetryBackoff::reset()
{
    m_nextMs = m_firstMs;
}
