#include "RtfCodePages.h"

#include "Cp1252.h"

#include <QByteArray>

#include <array>
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

// The Mac code pages that Qt's converters know. The East Asian ones are
// read in the standard code page that Apple's extends (Shift_JIS for Mac
// Japanese, and so on), which holds all but a few of their characters.
QByteArray macCodePageName(int codePage) {
    switch (codePage) {
    case 10000:
        return "macintosh";
    case 10001:
        return "Shift_JIS";
    case 10002:
        return "Big5";
    case 10003:
        return "EUC-KR";
    case 10006:
        return "x-mac-greek";
    case 10007:
    case 10017: // Mac Ukrainian, the same but for two letters
        return "x-mac-cyrillic";
    case 10008:
        return "GB2312";
    case 10029:
        return "x-mac-centraleurroman";
    case 10081:
        return "x-mac-turkish";
    default:
        return {}; // unknown: read as 1252
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
    if (codePage >= 10000 && codePage < 20000) {
        return macCodePageName(codePage);
    }
    return "CP" + QByteArray::number(codePage);
}

// The characters of the Symbol font's bytes 0x20 to 0xFF (0x7F to 0x9F
// and 0xF0 hold none).
constexpr std::array<char16_t, 224> kSymbolFont{
    // 0x20
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
    0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    // 0x60
    0xF8E5, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA,
    0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
    // 0x80
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
    0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    // 0xE0
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3,
    0x23A7, 0x23A8, 0x23A9, 0x23AA, 0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0};

// The Wingdings characters that word processors use as list bullets; its
// other bytes stay as code page 1252 has them.
constexpr std::pair<unsigned char, char16_t> kWingdingsBullets[] = {
    {0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x6F, 0x25A1}, {0x71, 0x2751}, {0x75, 0x25C6},
    {0x76, 0x2756}, {0x9F, 0x2022}, {0xA1, 0x25CB}, {0xA7, 0x25AA}, {0xA8, 0x25FB},
    {0xD8, 0x27A2}, {0xE0, 0x27A2}, {0xFB, 0x2717}, {0xFC, 0x2713}, {0xFE, 0x2611}};

void fillSymbolTable(CodePage& page, int codePage) {
    page.symbol = true;
    if (codePage == kWingdingsCodePage) {
        for (const auto& [byte, unit] : kWingdingsBullets) {
            page.table[byte] = unit;
        }
        return;
    }
    for (std::size_t byte = 0x20; byte < 0x100; ++byte) {
        const char16_t unit = kSymbolFont[byte - 0x20];
        page.table[byte] = unit != 0 ? unit : kReplacement;
    }
}

} // namespace

int symbolFontCodePage(const QString& name) {
    if (name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) {
        return kWingdingsCodePage;
    }
    if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0) {
        return kSymbolCodePage;
    }
    return 0; // a symbol font we don't know: the document's code page
}

int charsetCodePage(int charset) {
    // \fcharset and its code page; the default set (1) and unknown ones are
    // the document's.
    static constexpr std::pair<int, int> kCharsets[] = {
        {0, 1252},   {2, kSymbolCharset}, {77, 10000}, {78, 10001}, {79, 10003}, {80, 10008},
        {81, 10002}, {83, 10005},         {84, 10004}, {85, 10006}, {86, 10081}, {87, 10021},
        {88, 10029}, {89, 10007},         {128, 932},  {129, 949},  {130, 1361}, {134, 936},
        {136, 950},  {161, 1253},         {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251},         {222, 874},  {238, 1250}, {254, 437},  {255, 850}};
    for (const auto& [set, codePage] : kCharsets) {
        if (set == charset) {
            return codePage;
        }
    }
    return 0;
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
    if (codePage == kSymbolCodePage || codePage == kWingdingsCodePage) {
        fillSymbolTable(*page, codePage);
        return page;
    }
    const QByteArray name = codePageName(codePage);
    if (name.isEmpty()) {
        return page;
    }
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
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
