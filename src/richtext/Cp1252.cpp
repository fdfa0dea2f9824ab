#include "Cp1252.h"

#include "Cp1252Bytes.h"

QString decodeCp1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        text.append(QChar(decodeCp1252Byte(static_cast<unsigned char>(byte))));
    }
    return text;
}

std::string encodeCp1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        const int byte = encodeCp1252Byte(ch.unicode());
        bytes.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return bytes;
}
