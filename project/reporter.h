#pragma once

#include <string>

namespace vlp {

// Where expected problems ("wrong VLP file", "unknown language <...>", "Text not found") go.
// The window shows a message box; the batch tool prints a line; tests record them.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void Message(const std::string& text) = 0;
};

}  // namespace vlp
