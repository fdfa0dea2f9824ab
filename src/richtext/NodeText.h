#pragma once

#include "TreeModel.h"

#include <QLocale>
#include <QString>
#include <string>

// Database node texts are bytes as the files hold them. Files of the old
// Windows world are code page 1252; newer ones may be UTF-8. A text is shown
// as UTF-8 when it is valid UTF-8 with bytes above 127, otherwise as code
// page 1252, so every byte string shows as something.
QString displayText(const std::string& bytes);

// The most characters of a node's text that a tree shows.
inline constexpr qsizetype kShownTextLength = 1000;

// What a tree shows of a node: displayText, cut to kShownTextLength
// characters with "..." after the cut, so that a node of megabytes paints
// as quickly as any other. Only the beginning of a long text is looked at,
// and it decides how the text reads. The node, its search, save and export
// keep every byte.
QString shownText(const std::string& bytes);

// The bytes to keep for a text the user typed: code page 1252 when every
// character fits and the bytes would not be taken for UTF-8, otherwise UTF-8,
// so displayText gives the typed text back unchanged. What the tree text
// format cannot hold in a text is changed: line breaks and NUL become
// spaces, leading TABs and SPACEs are dropped.
std::string storedText(const QString& text);

// Whether a node's shown text contains the keyword, case-sensitive. Compares
// bytes with the keyword's bytes instead of decoding every node, so a search
// over a large tree stays quick.
class DisplayTextMatch {
public:
    explicit DisplayTextMatch(const QString& keyword);
    bool operator()(const std::string& bytes) const;

private:
    QString keyword_;
    std::string utf8_;
    std::string cp1252_;
    bool fitsCp1252_ = false;
};

// The order of the trees' sibling lists: the shown texts compared with the
// locale's collation, case-sensitive, ascending.
TextLess displayTextOrder(const QLocale& locale = QLocale());
