#pragma once

#include <string>

namespace vlp {

// The whole content of a regular file (a symbolic link to one is followed). Anything else -
// missing, a folder, a pipe, a device - throws IoError("Cannot open file <fileName>"): it
// holds no input of ours, and opening a pipe would wait for a writer that may never come. A
// failing read throws IoError("Stream read error").
std::string ReadRegularFile(const std::string& fileName);

}  // namespace vlp
