#include "ui/qt_text.h"

#include <QFile>
#include <array>

#include "text/cp1250.h"

namespace vlp::ui {
namespace {

// Line feed and carriage return inside a line are not line ends for the core; inside a Qt
// document they would start a new block. They travel as the visible control pictures.
constexpr char16_t kLineFeedPicture = 0x240A;
constexpr char16_t kCarriageReturnPicture = 0x240D;

const std::array<char16_t, 256>& ByteToChar() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<char16_t>(Cp1250ToUnicode(static_cast<unsigned char>(b)));
        t['\n'] = kLineFeedPicture;
        t['\r'] = kCarriageReturnPicture;
        return t;
    }();
    return table;
}

std::optional<unsigned char> CharToByte(char32_t c) {
    if (c == kLineFeedPicture) return static_cast<unsigned char>('\n');
    if (c == kCarriageReturnPicture) return static_cast<unsigned char>('\r');
    if (c == '\n' || c == '\r') return std::nullopt;
    return UnicodeToCp1250(c);
}

}  // namespace

QString FromCp1250(std::string_view bytes) {
    const auto& table = ByteToChar();
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* data = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        data[i] = QChar(table[static_cast<unsigned char>(bytes[i])]);
    return out;
}

std::string ToCp1250(const QString& text) {
    std::string out(static_cast<std::size_t>(text.size()), '?');
    const QChar* data = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = data[i].unicode();
        if (c < 0x80 && c != '\n' && c != '\r') {
            out[static_cast<std::size_t>(i)] = static_cast<char>(c);
            continue;
        }
        // A surrogate half cannot be held either; each half becomes one '?', so positions
        // still agree with the QString.
        if (auto byte = CharToByte(c)) out[static_cast<std::size_t>(i)] = static_cast<char>(*byte);
    }
    return out;
}

std::optional<Unencodable> FindUnencodable(const QString& text) {
    int index = 0;
    for (auto it = text.cbegin(); it != text.cend(); ++it, ++index) {
        char32_t c = it->unicode();
        if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
            c = QChar::surrogateToUcs4(*it, *(it + 1));
            ++it;
        }
        if (!CharToByte(c)) return Unencodable{c, index};
    }
    return std::nullopt;
}

QString DescribeCharacter(char32_t codePoint) {
    const QString hex =
        QStringLiteral("U+%1").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    if (codePoint < 0x20 || codePoint == 0x7F) return hex;
    const char32_t one[] = {codePoint};
    return hex + QStringLiteral(" \"") + QString::fromUcs4(one, 1) + QStringLiteral("\"");
}

std::string PathToCore(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString PathFromCore(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace vlp::ui
