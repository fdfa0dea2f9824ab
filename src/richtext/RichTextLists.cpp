#include "RichTextLists.h"

#include <QTextBlock>
#include <QTextList>

#include <algorithm>

namespace {

// Qt's own property for the start (ListStart, from Qt 6.6 on), so that
// newer versions show it.
constexpr int kListStartProperty = 0x3004;
constexpr int kListBulletProperty = QTextFormat::UserProperty + 0x4C42;

QString romanNumber(int number) {
    static constexpr std::pair<int, const char*> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    if (number <= 0 || number >= 4000) {
        return QString::number(number);
    }
    QString roman;
    for (const auto& [value, digits] : kDigits) {
        for (; number >= value; number -= value) {
            roman += QLatin1String(digits);
        }
    }
    return roman;
}

// a..z, aa..zz, aaa..: the letter repeated, as word processors count.
QString letterNumber(int number) {
    if (number <= 0 || number > 26 * 50) {
        return QString::number(number);
    }
    const int repeat = (number - 1) / 26 + 1;
    return QString(repeat, QChar(u'a' + (number - 1) % 26));
}

QString numberText(QTextListFormat::Style style, int number) {
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        return letterNumber(number);
    case QTextListFormat::ListUpperAlpha:
        return letterNumber(number).toUpper();
    case QTextListFormat::ListLowerRoman:
        return romanNumber(number);
    case QTextListFormat::ListUpperRoman:
        return romanNumber(number).toUpper();
    default:
        return QString::number(number);
    }
}

QString defaultBullet(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListCircle:
        return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25AA");
    default:
        return QStringLiteral("\u2022");
    }
}

bool isNumbered(QTextListFormat::Style style) {
    return style <= QTextListFormat::ListDecimal && style >= QTextListFormat::ListUpperRoman;
}

} // namespace

int listStart(const QTextListFormat& format) {
    return format.hasProperty(kListStartProperty) ? format.intProperty(kListStartProperty) : 1;
}

void setListStart(QTextListFormat& format, int start) {
    if (start == 1) {
        format.clearProperty(kListStartProperty);
    } else {
        format.setProperty(kListStartProperty, start);
    }
}

QString listBullet(const QTextListFormat& format) {
    return format.stringProperty(kListBulletProperty);
}

void setListBullet(QTextListFormat& format, const QString& bullet) {
    if (bullet.isEmpty()) {
        format.clearProperty(kListBulletProperty);
    } else {
        format.setProperty(kListBulletProperty, bullet);
    }
}

QTextListFormat::Style bulletStyle(QStringView bullet) {
    static constexpr char16_t kCircles[] = {u'o', u'O', 0x25E6, 0x25CB, 0x26AA, 0x25CC};
    static constexpr char16_t kSquares[] = {0x25AA, 0x25A0, 0x25A1, 0x25FB, 0x25FC, 0x2751, 0x2610};
    const char16_t first = bullet.isEmpty() ? u'\0' : bullet.front().unicode();
    if (std::find(std::begin(kCircles), std::end(kCircles), first) != std::end(kCircles)) {
        return QTextListFormat::ListCircle;
    }
    if (std::find(std::begin(kSquares), std::end(kSquares), first) != std::end(kSquares)) {
        return QTextListFormat::ListSquare;
    }
    return QTextListFormat::ListDisc;
}

QString listLabel(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (list == nullptr) {
        return {};
    }
    const QTextListFormat format = list->format();
    const QTextListFormat::Style style = format.style();
    if (!isNumbered(style)) {
        const QString bullet = listBullet(format);
        return bullet.isEmpty() ? defaultBullet(style) : bullet;
    }
    const int number = listStart(format) + list->itemNumber(block);
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    return format.numberPrefix() + numberText(style, number) + suffix;
}
