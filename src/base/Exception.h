#pragma once

#include <stdexcept>
#include <string>

// A failure carrying the message the user is shown.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& Msg) : std::runtime_error(Msg) {}
    std::string Message() const { return what(); }
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
