#include "GlyphStore.h"

#include <algorithm>
#include <memory>

namespace {

std::vector<std::unique_ptr<TGlyphList>>& Lists() {
    static std::vector<std::unique_ptr<TGlyphList>> lists;
    return lists;
}

} // namespace

int TGlyphList::Add(const QImage& image) {
    const auto freeSlot = std::find(used_.begin(), used_.end(), false);
    const auto slot = static_cast<std::size_t>(freeSlot - used_.begin());
    if (freeSlot == used_.end()) {
        used_.push_back(true);
        images_.push_back(image);
    } else {
        *freeSlot = true;
        images_[slot] = image;
    }
    ++count_;
    return static_cast<int>(slot);
}

void TGlyphList::Release(int slot) {
    const auto at = static_cast<std::size_t>(slot);
    if (slot < 0 || at >= used_.size() || !used_[at]) {
        return;
    }
    used_[at] = false;
    images_[at] = QImage();
    --count_;
}

TGlyphList& TGlyphStore::ListFor(QSize size) {
    auto& lists = Lists();
    // Buttons tend to come in groups of one size: the newest list first.
    const auto match = std::find_if(lists.rbegin(), lists.rend(),
                                    [size](const auto& list) { return list->Size() == size; });
    if (match != lists.rend()) {
        return **match;
    }
    lists.push_back(std::make_unique<TGlyphList>(size));
    return *lists.back();
}

void TGlyphStore::LetGo(TGlyphList& list) {
    if (list.Count() > 0) {
        return;
    }
    std::erase_if(Lists(), [&list](const auto& kept) { return kept.get() == &list; });
}

int TGlyphStore::ListCount() {
    return static_cast<int>(Lists().size());
}
