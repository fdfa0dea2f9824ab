#include "DocumentText.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace {

QStringList propertyList(const QTextCharFormat& format) {
    QStringList properties;
    if (format.fontWeight() > QFont::Medium) {
        properties << QStringLiteral("b");
    }
    if (format.fontItalic()) {
        properties << QStringLiteral("i");
    }
    if (format.fontUnderline()) {
        properties << QStringLiteral("u");
    }
    if (format.fontStrikeOut()) {
        properties << QStringLiteral("s");
    }
    if (const QStringList families = format.fontFamilies().toStringList(); !families.isEmpty()) {
        properties << QStringLiteral("f=") + families.join(QLatin1Char(','));
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        properties << QStringLiteral("pt=%1").arg(format.fontPointSize());
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        properties << QStringLiteral("fg=") + format.foreground().color().name();
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        properties << QStringLiteral("bg=") + format.background().color().name();
    }
    return properties;
}

QString describeFormat(const QTextCharFormat& format) {
    const QStringList properties = propertyList(format);
    return properties.isEmpty()
               ? QString()
               : QLatin1Char('[') + properties.join(QLatin1Char(' ')) + QLatin1Char(']');
}

QString alignmentMark(const QTextBlock& block) {
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) {
        return QStringLiteral("<c>");
    }
    if (alignment & Qt::AlignRight) {
        return QStringLiteral("<r>");
    }
    if (alignment & Qt::AlignJustify) {
        return QStringLiteral("<j>");
    }
    return {};
}

} // namespace

QString plainText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        text += block.text().replace(QChar::LineSeparator, QLatin1Char('\n'));
        text += QLatin1Char('\n');
    }
    return text;
}

QString describe(const QTextDocument& document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString paragraph = alignmentMark(block);
        QString previous;
        bool first = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString properties = describeFormat(it.fragment().charFormat());
            if (!first && properties != previous && properties.isEmpty()) {
                paragraph += QStringLiteral("[]"); // back to no formatting of its own
            } else if (first || properties != previous) {
                paragraph += properties;
            }
            paragraph += it.fragment().text().replace(QChar::LineSeparator, QLatin1Char('|'));
            previous = properties;
            first = false;
        }
        paragraphs << paragraph;
    }
    return paragraphs.join(QLatin1Char('\n'));
}

QString propertiesAt(const QTextDocument& document, const QString& snippet) {
    const QTextCursor found = document.find(snippet);
    if (found.isNull()) {
        return QStringLiteral("missing");
    }
    const int position = found.selectionStart();
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position)) {
            return propertyList(it.fragment().charFormat()).join(QLatin1Char(' '));
        }
    }
    return QStringLiteral("missing");
}
