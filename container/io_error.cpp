#include "container/io_error.h"

namespace vlp {

std::string CannotOpenFileMessage(const std::string& fileName) {
    return "Cannot open file " + fileName;
}

std::string CannotCreateFileMessage(const std::string& fileName) {
    return "Cannot create file " + fileName;
}

}  // namespace vlp
