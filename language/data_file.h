#pragma once

#include <string>
#include <string_view>

// Reading the language data files (*.ldi, compare.tab), which are read whole and then walked
// line by line in memory.
namespace vlp {

// The bytes of a data file. Throws IoError when it is no regular file or cannot be read.
std::string ReadDataFile(const std::string& fileName);

// The lines of a data file's text as every reader of these files sees them: a line ends at LF
// or CR LF (a CR elsewhere stays in the line), and every character of code 0x20 or below is
// skipped before a line starts, so blank lines never appear and no line begins with a blank.
class DataLines {
public:
    explicit DataLines(std::string_view text) : text_(text) {}
    // The next line, or false at the end of the text.
    bool Next(std::string_view& line);

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The name of a section header line "[name]...": the text after the "[" up to the first "]",
// or to the end of the line when there is none. The line must begin with "[".
std::string_view SectionName(std::string_view headerLine);

// Calls visit for each word of a blank-separated word list; empty words are skipped.
template <typename Visit>
void ForEachWord(std::string_view words, Visit&& visit) {
    while (!words.empty()) {
        const auto blank = words.find(' ');
        const auto word = words.substr(0, blank);
        if (!word.empty()) visit(word);
        if (blank == std::string_view::npos) break;
        words.remove_prefix(blank + 1);
    }
}

// The text before the first blank, or the whole text.
inline std::string_view FirstWord(std::string_view words) {
    return words.substr(0, words.find(' '));
}

}  // namespace vlp
