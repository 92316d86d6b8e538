#include "util/Exception.hpp"

#include <utility>

namespace zudo {

Exception::Exception(std::string message, std::string location)
    : message_(std::move(message)), location_(std::move(location))
{
}

Exception::~Exception() = default;

std::string Exception::message() const { return message_; }

std::string Exception::fullText() const
{
    return location_.empty() ? message_ : location_ + ": " + message_;
}

void Exception::setMessage(const std::string& message) { message_ = message; }

std::string Exception::location() const { return location_; }

void Exception::setLocation(const std::string& location) { location_ = location; }

} // namespace zudo
