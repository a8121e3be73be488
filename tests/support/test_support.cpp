#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vlp::test {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("vlptest-" + std::to_string(rd()) + std::to_string(attempt));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made files or folders read-only; give write access back first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(std::string_view name) const { return (path_ / std::string(name)).string(); }

std::string TempDir::dirWithSeparator() const { return path_.string() + "/"; }

void WriteFile(const std::string& fileName, std::string_view bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + fileName);
}

std::string ReadFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + fileName);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string Int32Le(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

ContainerBuilder& ContainerBuilder::chunk(std::string_view tag, std::string_view data) {
    return rawChunk(tag, static_cast<std::int32_t>(data.size()), data);
}

ContainerBuilder& ContainerBuilder::rawChunk(std::string_view tag, std::int32_t length, std::string_view data) {
    body_ += std::string(tag.substr(0, 4));
    body_ += Int32Le(length);
    body_ += std::string(data);
    ++chunks_;
    return *this;
}

ContainerBuilder& ContainerBuilder::count(std::int32_t count) {
    countSet_ = true;
    count_ = count;
    return *this;
}

std::string ContainerBuilder::bytes() const {
    return "LGF" + version_ + Int32Le(countSet_ ? count_ : chunks_) + body_;
}

std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string out;
    bool first = true;
    for (auto line : lines) {
        if (!first) out += "\r\n";
        out += line;
        first = false;
    }
    return out;
}

std::string SourcePath(std::string_view relative) { return std::string(VLP_SOURCE_DIR) + "/" + std::string(relative); }

std::string DataDir() { return VLP_DATA_DIR; }

}  // namespace vlp::test
