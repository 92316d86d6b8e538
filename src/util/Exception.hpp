#pragma once
// The system's one exception type: thrown by file and directory access and
// caught at the boundaries (the calls the game makes into the plug-in, the
// listing tool's main). It carries the message and the place that raised it.

#include <string>

namespace zudo {

class Exception {
public:
    // The location of failures raised outside a named operation.
    static constexpr const char* unspecifiedLocation = "<unspecified>";

    explicit Exception(std::string message, std::string location = unspecifiedLocation);
    Exception(const Exception&) = default;
    Exception(Exception&&) = default;
    Exception& operator=(const Exception&) = default;
    Exception& operator=(Exception&&) = default;

    // The operations keep this order: derived types and diagnostics rely on it.
    virtual ~Exception();
    virtual std::string message() const;
    // The location, ": " and the message; the message alone without a location.
    virtual std::string fullText() const;
    virtual void setMessage(const std::string& message);
    // The qualified name of the function that raised it, with empty parentheses.
    virtual std::string location() const;
    virtual void setLocation(const std::string& location);

private:
    std::string message_;
    std::string location_;
};

} // namespace zudo
