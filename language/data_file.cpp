#include "language/data_file.h"

#include "container/regular_file.h"

namespace vlp {

std::string ReadDataFile(const std::string& fileName) {
    return ReadRegularFile(fileName);
}

bool DataLines::Next(std::string_view& line) {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= 0x20) ++pos_;
    if (pos_ >= text_.size()) return false;
    const std::size_t begin = pos_;
    const std::size_t lf = text_.find('\n', begin);
    std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
    pos_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    // The CR of a CR LF pair, or a last CR cut off from its LF at the end of the file.
    if (end > begin && text_[end - 1] == '\r') --end;
    line = text_.substr(begin, end - begin);
    return true;
}

std::string_view SectionName(std::string_view headerLine) {
    const auto name = headerLine.substr(1);
    return name.substr(0, name.find(']'));
}

}  // namespace vlp
