#pragma once

#include <QString>
#include <QTextFormat>

class QTextBlock;

// What a list of the notes carries beyond Qt's own list format, kept in the
// list's format so that it survives editing and is written back: the number
// of its first item (Qt shows it from 6.6 on; before, the box counts from 1)
// and the bullet's own character (Qt draws the nearest of its disc, circle
// and square).

int listStart(const QTextListFormat& format);
void setListStart(QTextListFormat& format, int start);

// Empty for numbered lists and for bullets of Qt's own.
QString listBullet(const QTextListFormat& format);
void setListBullet(QTextListFormat& format, const QString& bullet);

// Qt's bullet style that looks most like the character.
QTextListFormat::Style bulletStyle(QStringView bullet);

// The label that a word processor shows before a list item ("3.", "iv)",
// "•"); empty for a paragraph outside lists.
QString listLabel(const QTextBlock& block);
