#pragma once

#include <stdexcept>
#include <string>

namespace vlp {

// An input/output failure, carrying the message the user sees ("Cannot open file %s",
// "Stream read error", "Cannot create file %s", "Stream write error"). Front ends catch it at
// the command boundary.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& message) : std::runtime_error(message) {}
};

// The user-visible messages, with the file name filled in.
std::string CannotOpenFileMessage(const std::string& fileName);
std::string CannotCreateFileMessage(const std::string& fileName);
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";

}  // namespace vlp
