#include "CommandQueue.h"

void CommandQueue::Push(int code) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_codes.push_back(code);
}

std::optional<int> CommandQueue::TryTake() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_codes.empty()) return std::nullopt;
    int code = m_codes.front();
    m_codes.pop_front();
    return code;
}

bool CommandQueue::Empty() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_codes.empty();
}
