// CommandQueue: the worker's first-in first-out list of command codes.
// The UI thread and the worker both append; only the worker takes. One lock
// is held for each append and for each test-and-take of the head, no longer.
#pragma once

#include <deque>
#include <mutex>
#include <optional>

class CommandQueue {
public:
    void Push(int code);
    std::optional<int> TryTake();
    bool Empty() const;

private:
    mutable std::mutex m_lock;
    std::deque<int> m_codes;
};
