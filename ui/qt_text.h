#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// The one place where window text crosses into the core's Windows-1250 bytes. Every byte maps
// to exactly one QChar and back, so character positions agree on both sides.
namespace vlp::ui {

QString FromCp1250(std::string_view bytes);
// Characters Windows-1250 cannot hold become '?'; callers that write files check with
// FindUnencodable first.
std::string ToCp1250(const QString& text);

// The first character of `text` that Windows-1250 cannot hold: its code point and its index
// in code points from 0.
struct Unencodable {
    char32_t codePoint = 0;
    int index = 0;
};
std::optional<Unencodable> FindUnencodable(const QString& text);
// "U+0101 \"ā\"": how a message names such a character.
QString DescribeCharacter(char32_t codePoint);

// File names keep the file system's own encoding.
std::string PathToCore(const QString& path);
QString PathFromCore(const std::string& path);

}  // namespace vlp::ui
