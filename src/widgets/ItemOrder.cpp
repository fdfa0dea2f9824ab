#include "ItemOrder.h"

#include <algorithm>
#include <utility>
#include <vector>

void SortLetterCaseAside(QStringList& texts) {
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
        QString key = text.toCaseFolded();
        keyed.emplace_back(std::move(key), std::move(text));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    texts.clear();
    for (auto& entry : keyed) {
        texts << std::move(entry.second);
    }
}
