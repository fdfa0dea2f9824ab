#include "RichTextLists.h"
#include "RtfReaderState.h"

#include <QTextBlock>

#include <algorithm>

// Lists as the file defines them, and the paragraphs that are their items:
// the list table of Word 97 and later ({\*\listtable}, {\*\listoverridetable},
// \ls and \ilvl in the paragraphs) and the paragraph numbering before it
// ({\*\pn}, {\*\pnseclvlN}). A paragraph whose list is found becomes an item
// of a QTextList and its label text (\listtext, \pntext) is dropped;
// elsewhere the label text stays as text.

namespace RtfInternal {

namespace {

constexpr qsizetype kMaxListText = 256;
constexpr int kBulletFormat = 23; // \levelnfc
constexpr int kNoNumberFormat = 255;

// Bytes in level and numbering texts are kept as U+F0hh until the level's
// font, which may follow them, is known.
constexpr char16_t kByteBase = 0xF000;

bool isByte(char16_t unit) {
    return unit >= kByteBase && unit <= kByteBase + 0xFF;
}

QTextListFormat::Style numberStyle(int numberFormat) {
    switch (numberFormat) {
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDecimal; // Arabic numbers, ordinals and the like
    }
}

QTextListFormat::Style numberingStyle(char16_t letter) {
    switch (letter) {
    case u'R':
        return QTextListFormat::ListUpperRoman;
    case u'r':
        return QTextListFormat::ListLowerRoman;
    case u'A':
        return QTextListFormat::ListUpperAlpha;
    case u'a':
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDecimal;
    }
}

QTextListFormat listFormat(const ListLevel& level, int depth) {
    QTextListFormat format;
    format.setIndent(depth + 1);
    if (!level.shown) {
        return format; // ListStyleUndefined: no item
    }
    format.setStyle(level.style);
    if (!level.bullet.isEmpty()) {
        setListBullet(format, level.bullet);
        return format;
    }
    format.setNumberPrefix(level.prefix);
    format.setNumberSuffix(level.suffix);
    setListStart(format, level.start);
    return format;
}

} // namespace

void Reader::handleListWord(const ControlWord& word) {
    Destination& destination = state_.destination;
    switch (word.word()) {
    case Word::List:
        list_ = ListDefinition{};
        listId_ = 0;
        levelIndex_ = 0;
        destination = Destination::List;
        return;
    case Word::ListLevel:
        levelNumberFormat_ = 0;
        levelStart_ = 1;
        levelText_.clear();
        destination = Destination::ListLevel;
        return;
    case Word::LevelText:
        levelText_.clear();
        destination = Destination::LevelText;
        return;
    case Word::ListOverride:
        overrideListId_ = 0;
        overrideNumber_ = 0;
        destination = Destination::ListOverride;
        return;
    case Word::ListId:
        (destination == Destination::ListOverride ? overrideListId_ : listId_) = word.parameter;
        return;
    case Word::ListOverrideNumber:
        overrideNumber_ = word.parameter;
        return;
    case Word::LevelNumberFormat:
        levelNumberFormat_ = word.parameter;
        return;
    case Word::LevelStartAt:
        levelStart_ = word.parameter;
        return;
    default:
        break;
    }
    if (word.info.kind == WordKind::Character && !word.ignorable) {
        handleCharacterWord(word); // the level's font
    } else if (word.info.kind == WordKind::Text && !word.ignorable) {
        handleTextWord(word); // \u in the level's text
    } else {
        skipIfDestination(word);
    }
}

void Reader::handleNumberingWord(const ControlWord& word) {
    switch (word.word()) {
    case Word::PnLevelBody:
    case Word::PnLevelBullet:
        numbering_.level = 0;
        numbering_.bullet = word.word() == Word::PnLevelBullet;
        return;
    case Word::PnLevelContinue:
        numbering_.continues = true;
        return;
    case Word::PnLevel:
        numbering_.level = std::clamp(word.parameter, 1, kMaxListLevels);
        return;
    case Word::PnStyle:
        numbering_.style = numberingStyle(word.info.character);
        return;
    case Word::PnStart:
        numbering_.start = word.parameter;
        return;
    case Word::PnFont:
        numbering_.font = word.parameter;
        return;
    case Word::PnTextAfter:
    case Word::PnTextBefore:
        numberingTextAfter_ = word.word() == Word::PnTextAfter;
        (numberingTextAfter_ ? numbering_.after : numbering_.before) = QString();
        state_.destination = Destination::PnText;
        return;
    default:
        break;
    }
    if (word.info.kind == WordKind::Text && !word.ignorable) {
        handleTextWord(word);
    } else {
        skipIfDestination(word);
    }
}

void Reader::appendListText(char16_t unit) {
    if (state_.destination == Destination::LevelText) {
        if (levelText_.size() < kMaxListText) {
            levelText_.append(QChar(unit));
        }
        return;
    }
    std::optional<QString>& text = numberingTextAfter_ ? numbering_.after : numbering_.before;
    if (text && text->size() < kMaxListText) {
        text->append(QChar(unit));
    }
}

// The text with its bytes read in the font's code page; no control
// characters.
QString Reader::decodeListText(QStringView text, int font) {
    CodePage& page = fontCodePage(font);
    QString decoded;
    QByteArray bytes;
    const auto flush = [&] {
        if (bytes.isEmpty()) {
            return;
        }
        if (page.multiByte) {
            decoded += page.decoder.decode(bytes);
        } else {
            for (const char byte : bytes) {
                decoded += QChar(page.table[static_cast<unsigned char>(byte)]);
            }
        }
        bytes.clear();
    };
    for (const QChar ch : text) {
        if (isByte(ch.unicode())) {
            bytes += static_cast<char>(ch.unicode() & 0xFF);
        } else {
            flush();
            decoded += ch;
        }
    }
    flush();
    decoded.removeIf([](QChar ch) { return ch.unicode() < 0x20; });
    return decoded;
}

// The level's text is its length, then its characters, where the bytes 0 to
// 8 stand for the numbers of the levels: the level's own number shows with
// the text before the first and after the last as prefix and suffix.
ListLevel Reader::levelFromText(int font) {
    QStringView text = levelText_;
    if (!text.isEmpty() && isByte(text.front().unicode())) {
        const int length = text.front().unicode() & 0xFF;
        text = text.sliced(1).first(std::min<qsizetype>(length, text.size() - 1));
    } else if (const qsizetype end = text.indexOf(u';'); end >= 0) {
        text = text.first(end);
    }
    ListLevel level;
    level.start = levelStart_;
    const auto isNumber = [](QChar ch) {
        return ch.unicode() >= kByteBase && ch.unicode() < kByteBase + kMaxListLevels;
    };
    const auto first = std::find_if(text.begin(), text.end(), isNumber);
    if (levelNumberFormat_ == kNoNumberFormat) {
        level.shown = false;
    } else if (levelNumberFormat_ == kBulletFormat || first == text.end()) {
        level.bullet = decodeListText(text, font);
        if (level.bullet.isEmpty()) {
            level.bullet = QStringLiteral("\u2022");
        }
        level.style = bulletStyle(level.bullet);
    } else {
        const auto last = std::find_if(text.rbegin(), text.rend(), isNumber).base();
        level.style = numberStyle(levelNumberFormat_);
        level.prefix = decodeListText(QStringView(text.begin(), first), font);
        level.suffix = decodeListText(QStringView(last, text.end()), font);
    }
    return level;
}

void Reader::commitListLevel() {
    if (levelIndex_ < kMaxListLevels) {
        list_.levels[static_cast<std::size_t>(levelIndex_++)] = levelFromText(state_.chr.font);
    }
}

void Reader::commitList() {
    if (listsById_.size() < kMaxTableEntries || listsById_.contains(listId_)) {
        listsById_[listId_] = list_;
    }
}

void Reader::commitOverride() {
    const auto found = listsById_.find(overrideListId_);
    if (found != listsById_.end() && (listsByOverride_.size() < kMaxTableEntries ||
                                      listsByOverride_.contains(overrideNumber_))) {
        listsByOverride_[overrideNumber_] = found->second;
    }
}

// The paragraph's {\*\pn}, completed from its outline level's numbering: an
// index of numberings_, or -1 for no number of its own.
int Reader::commitNumbering() {
    Numbering numbering = numbering_;
    if (numbering.continues) {
        return -1;
    }
    if (numbering.level > 0) {
        const Numbering& outline =
            sectionNumberings_[static_cast<std::size_t>(numbering.level - 1)];
        numbering.style = numbering.style ? numbering.style : outline.style;
        numbering.start = numbering.start ? numbering.start : outline.start;
        numbering.font = numbering.font ? numbering.font : outline.font;
        numbering.before = numbering.before ? numbering.before : outline.before;
        numbering.after = numbering.after ? numbering.after : outline.after;
        numbering.bullet = numbering.bullet || outline.bullet;
    }
    const int depth = std::max(numbering.level - 1, 0);
    const int font = numbering.font.value_or(state_.chr.font);
    ListLevel level;
    level.prefix = decodeListText(numbering.before.value_or(QString()), font);
    level.suffix = decodeListText(numbering.after.value_or(QString()), font);
    if (numbering.bullet) {
        level.bullet = level.prefix.isEmpty() ? QStringLiteral("\u2022") : level.prefix;
        level.style = bulletStyle(level.bullet);
    } else {
        level.style = numbering.style.value_or(QTextListFormat::ListDecimal);
        level.start = numbering.start.value_or(1);
    }
    std::pair<int, QTextListFormat> entry{depth, listFormat(level, depth)};
    if (!numberings_.empty() && numberings_.back() == entry) {
        return static_cast<int>(numberings_.size()) - 1;
    }
    if (numberings_.size() >= kMaxTableEntries) {
        return -1;
    }
    numberings_.push_back(std::move(entry));
    return static_cast<int>(numberings_.size()) - 1;
}

void Reader::commitSectionNumbering() {
    if (numbering_.level > 0) {
        sectionNumberings_[static_cast<std::size_t>(numbering_.level - 1)] = numbering_;
    }
}

// The list that the paragraph being read is an item of, as far as the file
// defines it.
std::optional<std::pair<ListKey, QTextListFormat>> Reader::paragraphList() const {
    const ParagraphState& para = state_.para;
    if (para.listOverride != 0) {
        if (const auto found = listsByOverride_.find(para.listOverride);
            found != listsByOverride_.end()) {
            const ListLevel& level = found->second.levels[static_cast<std::size_t>(para.listLevel)];
            return std::pair{ListKey{para.listOverride, para.listLevel},
                             listFormat(level, para.listLevel)};
        }
    }
    if (para.numbering >= 0 && static_cast<std::size_t>(para.numbering) < numberings_.size()) {
        const auto& [depth, format] = numberings_[static_cast<std::size_t>(para.numbering)];
        return std::pair{ListKey{kNumberingLists, depth}, format};
    }
    return std::nullopt;
}

// The label text shows where no list is found for its paragraph.
void Reader::emitLabel() {
    if (label_.empty()) {
        return;
    }
    if (!paragraphList()) {
        flushRun();
        for (auto& [text, state] : label_) {
            run_ = std::move(text);
            runState_ = state;
            flushRun();
        }
    }
    label_.clear();
}

// Makes the paragraph that ends an item of its list: of the list its level
// has open in the same sink, where the format is the same, else of a new
// one. An item ends the open lists of deeper levels, so that their next
// items count from the start again.
void Reader::applyList() {
    const auto list = paragraphList();
    if (!list || list->second.style() == QTextListFormat::ListStyleUndefined) {
        return;
    }
    const auto& [key, format] = *list;
    std::map<ListKey, QTextList*>& open = out().openLists;
    for (auto deeper = open.upper_bound(key);
         deeper != open.end() && deeper->first.first == key.first;) {
        deeper = open.erase(deeper);
    }
    const QTextBlock block = out().cursor.block();
    if (const auto found = open.find(key);
        found != open.end() && found->second->format() == format) {
        found->second->add(block);
        return;
    }
    open[key] = QTextCursor(block).createList(format);
}

} // namespace RtfInternal
