#include "RtfReaderState.h"

#include <algorithm>

// How the reader puts what it reads into the document: bytes through the
// code pages into characters, characters into runs of one format, runs into
// paragraphs, with the font and colour tables that the formats refer to.

namespace RtfInternal {

namespace {

// Characters that would change the document's structure if inserted as
// text: the paragraph separator and Qt's frame marks; the object mark.
bool isStructural(char16_t unit) {
    return unit == 0x2029 || unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC;
}

// Unpaired UTF-16 surrogates become U+FFFD.
void repairSurrogates(QString& text) {
    const qsizetype size = text.size();
    QChar* data = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            ++i;
        } else if (data[i].isSurrogate()) {
            data[i] = QChar(kReplacement);
        }
    }
}

} // namespace

CodePage& Reader::codePageFor(int codePage) {
    if (const auto found = codePages_.find(codePage); found != codePages_.end()) {
        return *found->second;
    }
    if (codePages_.size() >= kMaxCodePages && codePage != 1252) {
        return codePageFor(1252);
    }
    return *codePages_.emplace(codePage, makeCodePage(codePage)).first->second;
}

// A font's code page is that of its \cpg, else of its \fcharset, else the
// document's.
CodePage& Reader::fontCodePage(int font) {
    int codePage = 0;
    if (const auto found = fonts_.find(font >= 0 ? font : deff_); found != fonts_.end()) {
        codePage = found->second.codePage;
    }
    return codePageFor(codePage != 0 ? codePage : documentCodePage_);
}

CodePage& Reader::currentCodePage() {
    if (state_.destination == Destination::FontTable) {
        const int codePage = fontCodePage_ > 0 ? fontCodePage_ : std::max(fontCharsetPage_, 0);
        return codePageFor(codePage > 0 ? codePage : documentCodePage_);
    }
    return fontCodePage(state_.chr.font);
}

Sink& Reader::out() {
    return tables_.empty() ? main_ : tables_.back()->sink;
}

void Reader::putByte(unsigned char byte) {
    switch (state_.destination) {
    case Destination::Text:
    case Destination::FontTable:
    case Destination::ListText:
        break;
    case Destination::LevelText:
    case Destination::PnText:
        appendListText(static_cast<char16_t>(0xF000 + byte));
        return;
    default:
        return;
    }
    CodePage& page = currentCodePage();
    if (!page.multiByte) {
        putChar(page.table[byte]);
        return;
    }
    if (pendingPage_ != &page) {
        flushBytes();
        pendingPage_ = &page;
    }
    pendingBytes_.push_back(byte);
}

void Reader::flushBytes() {
    if (pendingBytes_.empty()) {
        return;
    }
    const QString text = pendingPage_->decoder.decode(
        QByteArrayView(reinterpret_cast<const char*>(pendingBytes_.data()),
                       static_cast<qsizetype>(pendingBytes_.size())));
    pendingBytes_.clear();
    for (const QChar ch : text) {
        putChar(ch.unicode());
    }
}

void Reader::putChar(char16_t unit) {
    if ((unit < 0x20 && unit != u'\t') || isStructural(unit)) {
        if (unit == 0x2029) {
            paragraphBreak();
        }
        return;
    }
    if (!pendingBytes_.empty()) {
        flushBytes();
    }
    switch (state_.destination) {
    case Destination::Text:
        startRun();
        run_.append(QChar(unit));
        return;
    case Destination::ListText:
        if (label_.empty() || (!(label_.back().second == state_.chr) && label_.size() < 64)) {
            label_.emplace_back(QString(), state_.chr);
        }
        if (label_.back().first.size() < 256) {
            label_.back().first.append(QChar(unit));
        }
        return;
    case Destination::LevelText:
    case Destination::PnText:
        appendListText(unit);
        return;
    case Destination::FontTable:
        if (fontName_.size() < 1024) {
            fontName_.append(QChar(unit));
        }
        return;
    default:
        return;
    }
}

// Makes the run take the current character state, ending the one before;
// the paragraph's text goes to the table its depth names.
void Reader::startRun() {
    if (state_.para.depth() != static_cast<int>(tables_.size())) {
        syncTables(state_.para.depth());
    }
    if (!label_.empty()) {
        emitLabel();
    }
    if (!(runState_ == state_.chr)) {
        flushRun();
        runState_ = state_.chr;
    }
}

void Reader::flushRun() {
    if (run_.isEmpty()) {
        return;
    }
    Sink& sink = out();
    if (sink.paragraphClosed) {
        sink.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        sink.paragraphClosed = false;
    }
    repairSurrogates(run_);
    sink.cursor.insertText(run_, formatFor(runState_));
    run_.resize(0);
}

void Reader::paragraphBreak() {
    if (state_.destination != Destination::Text) {
        return;
    }
    if (state_.para.depth() != static_cast<int>(tables_.size())) {
        syncTables(state_.para.depth());
    }
    closeParagraph();
}

void Reader::closeParagraph() {
    emitLabel();
    flushRun();
    Sink& sink = out();
    if (sink.paragraphClosed) {
        sink.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    applyParagraphFormat();
    sink.paragraphClosed = true;
}

// The paragraph formatting that the paragraph ends with.
void Reader::applyParagraphFormat() {
    applyList();
    Qt::Alignment alignment;
    switch (state_.para.align) {
    case Align::Left:
        return;
    case Align::Center:
        alignment = Qt::AlignHCenter;
        break;
    case Align::Right:
        alignment = Qt::AlignRight;
        break;
    case Align::Justify:
        alignment = Qt::AlignJustify;
        break;
    }
    QTextBlockFormat format;
    format.setAlignment(alignment);
    out().cursor.mergeBlockFormat(format);
}

void Reader::commitFont() {
    flushBytes();
    if (fontNumber_ >= 0 && (fonts_.size() < kMaxTableEntries || fonts_.contains(fontNumber_))) {
        FontEntry& entry = fonts_[fontNumber_];
        entry.name = fontName_.trimmed();
        entry.codePage = fontCodePage_ > 0                    ? fontCodePage_
                         : fontCharsetPage_ == kSymbolCharset ? symbolFontCodePage(entry.name)
                                                              : fontCharsetPage_;
        formatValid_ = false;
    }
    fontNumber_ = -1;
    fontName_.clear();
    fontCharsetPage_ = 0;
    fontCodePage_ = 0;
}

void Reader::commitColor() {
    if (colors_.size() < kMaxTableEntries) {
        colors_.push_back(red_ < 0 && green_ < 0 && blue_ < 0
                              ? QColor()
                              : QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
        formatValid_ = false;
    }
    red_ = green_ = blue_ = -1;
}

const QTextCharFormat& Reader::formatFor(const CharState& state) {
    if (formatValid_ && formatState_ == state) {
        return format_;
    }
    QTextCharFormat format;
    if (state.bold) {
        format.setFontWeight(QFont::Bold);
    }
    if (state.italic) {
        format.setFontItalic(true);
    }
    if (state.underline) {
        format.setFontUnderline(true);
    }
    if (state.strike) {
        format.setFontStrikeOut(true);
    }
    if (state.vertical != 0) {
        format.setVerticalAlignment(state.vertical == 1 ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignSubScript);
    }
    if (state.font >= 0) {
        if (const auto found = fonts_.find(state.font);
            found != fonts_.end() && !found->second.name.isEmpty()) {
            format.setFontFamilies(QStringList{found->second.name});
        }
    }
    const int halfPoints = state.doubleByte && state.doubleByteHalfPoints > 0
                               ? state.doubleByteHalfPoints
                               : state.halfPoints;
    if (halfPoints > 0 && halfPoints != defaultHalfPoints_) {
        format.setFontPointSize(halfPoints / 2.0);
    }
    const auto color = [this](int index) {
        return index > 0 && static_cast<std::size_t>(index) < colors_.size()
                   ? colors_[static_cast<std::size_t>(index)]
                   : QColor();
    };
    if (const QColor foreground = color(state.foreground); foreground.isValid()) {
        format.setForeground(foreground);
    }
    if (const QColor background = color(state.background); background.isValid()) {
        format.setBackground(background);
    }
    format_ = format;
    formatState_ = state;
    formatValid_ = true;
    return format_;
}

} // namespace RtfInternal
