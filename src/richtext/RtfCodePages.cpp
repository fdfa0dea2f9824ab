#include "RtfCodePages.h"

#include "Cp1252.h"

#include <QByteArray>

#include <utility>

namespace RtfInternal {

namespace {

// Code pages whose characters take one or two bytes; all others are read
// byte by byte through a table.
bool isMultiByte(int codePage) {
    switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 10001:
    case 10002:
    case 10003:
    case 10008:
    case 65001:
        return true;
    default:
        return false;
    }
}

// The name under which QStringDecoder knows a Windows code page.
QByteArray codePageName(int codePage) {
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
        return "IBM" + QByteArray::number(codePage);
    case 874:
        return "windows-874";
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "Big5";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 1250 && codePage <= 1258) {
        return "windows-" + QByteArray::number(codePage);
    }
    if (codePage >= 28591 && codePage <= 28606) {
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    }
    return "CP" + QByteArray::number(codePage);
}

} // namespace

int charsetCodePage(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // ANSI, default, symbol and unknown sets
    }
}

std::unique_ptr<CodePage> makeCodePage(int codePage) {
    auto page = std::make_unique<CodePage>();
    for (int byte = 0; byte < 256; ++byte) {
        page->table[static_cast<std::size_t>(byte)] =
            decodeCp1252Byte(static_cast<unsigned char>(byte));
    }
    if (codePage == 1252) {
        return page;
    }
    QStringDecoder decoder(codePageName(codePage).constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        return page; // unknown code pages are read as 1252
    }
    if (isMultiByte(codePage)) {
        page->multiByte = true;
        page->decoder = std::move(decoder);
        return page;
    }
    for (int byte = 0x80; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        const QString decoded = decoder.decode(QByteArrayView(&single, 1));
        page->table[static_cast<std::size_t>(byte)] =
            decoded.size() == 1 ? decoded.front().unicode() : kReplacement;
    }
    return page;
}

} // namespace RtfInternal
