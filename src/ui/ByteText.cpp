#include "ByteText.h"

#include "Utf8Text.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString FromCp1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes)
        *out++ = QChar(static_cast<char16_t>(Cp1252Char(static_cast<unsigned char>(c))));
    return text;
}

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

// The core decides what is UTF-8 and what each other byte stands for, so that the window and the
// command-line tool's JSON always show a value alike.
QString TextOfBytes(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), size);
    if (!IsValidUtf8(bytes))
        return FromCp1252(bytes);
    // A leading byte order mark is part of the value, so the decoder must keep it.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(QByteArrayView(bytes.data(), size));
}

std::string BytesOfText(const QString& text) {
    return text.toStdString();
}

std::string BytesOfEdit(const QString& text, TextEncoding encoding) {
    std::string utf8 = BytesOfText(text), bytes;
    char32_t refused = 0;
    return EncodeUserText(utf8, encoding, bytes, refused) ? bytes : utf8;
}

std::string BytesOfPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
