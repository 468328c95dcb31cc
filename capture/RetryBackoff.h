#pragma once

// The waits between tries of something that keeps failing: the first wait, then twice the
// one before, never more than the longest. Tries close together would only fail again;
// waits without bound would leave the work undone long after the cause passed.
class RetryBackoff final
{
public:
    explicit RetryBackoff(int firstMs = 1000, int longestMs = 30000);

    // The wait before the next try; the wait after it is twice as long, up to the longest.
    int next();
    // Starts over from the first wait (the work succeeded or is no longer needed).
    void reset();

private:
    int m_firstMs;
    int m_longestMs;
    int m_nextMs;
};
