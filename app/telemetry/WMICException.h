// WMICException: the one exception of the program, raised by the WMI client
// with a fixed message and caught by the inventory step.
#pragma once

#include <exception>
#include <string>

class WMICException : public std::exception {
public:
    explicit WMICException(const char* message) : m_message(message) {}
    explicit WMICException(const std::string& message) : m_message(message) {}

    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
