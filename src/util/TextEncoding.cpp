#include "util/TextEncoding.h"

#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80..0x9F; the undefined places keep the Latin-1 control character.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

QString DecodeWindows1252(const QByteArray& text)
{
    QString result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        result[i]
            = (byte >= 0x80 && byte < 0xA0) ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
    }
    return result;
}

} // namespace

std::optional<QString> DecodeUtf8(const QByteArray& text)
{
    // A leading byte-order mark is a character the user typed, not a marker to drop.
    QStringDecoder utf8(QStringDecoder::Utf8,
        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString decoded = utf8.decode(text);
    if (utf8.hasError())
        return std::nullopt;
    return decoded;
}

QString DecodeProjectText(const QByteArray& text)
{
    std::optional<QString> decoded = DecodeUtf8(text);
    return decoded ? *std::move(decoded) : DecodeWindows1252(text);
}
