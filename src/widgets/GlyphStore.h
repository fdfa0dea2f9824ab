#pragma once

#include <QImage>
#include <QSize>
#include <vector>

// Images of one size in numbered slots. A new image takes the lowest free
// slot, and releasing an image frees its slot for the next one.
class GlyphList {
public:
    explicit GlyphList(QSize size)
        : size_(size) {}

    QSize size() const { return size_; }
    // The number of slots in use.
    int count() const { return count_; }
    int add(const QImage& image);
    void release(int slot);
    const QImage& image(int slot) const { return images_.at(static_cast<std::size_t>(slot)); }

private:
    QSize size_;
    std::vector<QImage> images_;
    std::vector<bool> used_;
    int count_ = 0;
};

// The finished glyph images of all colour bitmap buttons of the program,
// one list for each image size, shared by every button whose glyph has it.
class GlyphStore {
public:
    // The list for images of `size`, made when there is none yet.
    static GlyphList& listFor(QSize size);
    // Removes a list that holds no image any more. Its owner must not use
    // it after this.
    static void letGo(GlyphList& list);

private:
    // Its test counts the lists to see them shared and freed.
    friend class ColorBitmapButtonTest;
    static int listCount();
};
