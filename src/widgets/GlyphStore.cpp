#include "GlyphStore.h"

#include <algorithm>
#include <memory>

namespace {

std::vector<std::unique_ptr<GlyphList>>& glyphLists() {
    static std::vector<std::unique_ptr<GlyphList>> lists;
    return lists;
}

} // namespace

int GlyphList::add(const QImage& image) {
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

void GlyphList::release(int slot) {
    const auto at = static_cast<std::size_t>(slot);
    if (slot < 0 || at >= used_.size() || !used_[at]) {
        return;
    }
    used_[at] = false;
    images_[at] = QImage();
    --count_;
}

GlyphList& GlyphStore::listFor(QSize size) {
    auto& lists = glyphLists();
    // Buttons tend to come in groups of one size: the newest list first.
    const auto match = std::find_if(lists.rbegin(), lists.rend(),
                                    [size](const auto& list) { return list->size() == size; });
    if (match != lists.rend()) {
        return **match;
    }
    lists.push_back(std::make_unique<GlyphList>(size));
    return *lists.back();
}

void GlyphStore::letGo(GlyphList& list) {
    if (list.count() > 0) {
        return;
    }
    std::erase_if(glyphLists(), [&list](const auto& kept) { return kept.get() == &list; });
}

int GlyphStore::listCount() {
    return static_cast<int>(glyphLists().size());
}
