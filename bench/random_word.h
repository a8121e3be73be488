#pragma once

#include <random>
#include <string>

namespace vlp::bench {

// A made-up word of minLength to minLength + lengthSpread - 1 letters; about one letter in
// accentOneIn is an accented Windows-1250 letter. The draws are plain modulo, so the words are
// the same with every standard library.
inline std::string RandomWord(std::mt19937& random, int minLength, int lengthSpread, int accentOneIn) {
    static constexpr char kLetters[] = "abcdefghijklmnoprstuvz";
    static constexpr char kAccented[] = "\xE1\xE8\xE9\xED\x9A\x9E\xFD";
    std::string word;
    const int length = minLength + static_cast<int>(random() % static_cast<unsigned>(lengthSpread));
    for (int i = 0; i < length; ++i) {
        if (random() % static_cast<unsigned>(accentOneIn) == 0)
            word += kAccented[random() % (sizeof kAccented - 1)];
        else
            word += kLetters[random() % (sizeof kLetters - 1)];
    }
    return word;
}

}  // namespace vlp::bench
