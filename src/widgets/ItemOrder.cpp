#include "ItemOrder.h"

#include <algorithm>
#include <utility>
#include <vector>

// Plain ASCII, the usual case, folds by lowering its capitals, many times
// quicker than the full Unicode folding.
QString foldedCase(const QString& text) {
    const bool ascii = std::all_of(text.cbegin(), text.cend(),
                                   [](QChar character) { return character.unicode() < 0x80; });
    if (!ascii) {
        return text.toCaseFolded();
    }
    QString folded = text;
    for (QChar& character : folded) {
        if (character >= u'A' && character <= u'Z') {
            character = QChar(character.unicode() + (u'a' - u'A'));
        }
    }
    return folded;
}

void sortLetterCaseAside(QStringList& texts) {
    const auto before = [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    };
    if (std::is_sorted(texts.cbegin(), texts.cend(), before)) {
        return;
    }
    // Each text folded once sorts quicker than folding at every comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(static_cast<std::size_t>(texts.size()));
    for (QString& text : texts) {
        QString key = foldedCase(text);
        keyed.emplace_back(std::move(key), std::move(text));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    texts.clear();
    for (auto& entry : keyed) {
        texts << std::move(entry.second);
    }
}
