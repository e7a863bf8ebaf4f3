#pragma once
// The program's own error: a message text that ends a handler and reaches the application's
// error box.

#include <stdexcept>
#include <string>

namespace quillop {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace quillop
