#pragma once

#include <stdexcept>
#include <string>

// An error that ends the current operation (out of memory in a table or a
// matrix, no temporary file name, an internal look-up failure). It carries the
// formatted German message that the top level shows or prints.
class BalkorError : public std::runtime_error {
public:
    explicit BalkorError(const std::string& message) : std::runtime_error(message) {}
};
