#include "TreeText.h"

#include "QuotedInput.h"

#include <array>
#include <cstring>
#include <istream>
#include <ostream>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTextStops{"\r\n\0", 3};

std::string levelMessage(std::size_t level, const std::string& text) {
    return "Ungültige Ebene (" + std::to_string(level) + ") für Eintrag \"" + quotedInput(text) +
           "\"";
}

// Where the run of TABs and SPACEs from i ends. Deep files are mostly TABs,
// so whole blocks of them are compared at once, large blocks first.
std::size_t skipIndentation(std::string_view chunk, std::size_t i) {
    static const std::string tabs(4096, '\t');
    for (const std::size_t block : {tabs.size(), std::size_t{64}}) {
        while (chunk.size() - i >= block &&
               std::memcmp(chunk.data() + i, tabs.data(), block) == 0) {
            i += block;
        }
    }
    while (i < chunk.size() && (chunk[i] == '\t' || chunk[i] == ' ')) {
        ++i;
    }
    return i;
}

} // namespace

TreeLevelError::TreeLevelError(std::size_t level, std::string text)
    : std::runtime_error(levelMessage(level, text))
    , level_(level)
    , text_(std::move(text)) {
}

TreeTextReader::TreeTextReader(Tree& tree)
    : tree_(tree) {
    tree_.clear();
}

bool TreeTextReader::feed(std::string_view chunk) {
    for (std::size_t i = 0; i < chunk.size() && !ended_;) {
        i = step(chunk, i);
    }
    return !ended_;
}

// A last line without a line break is a line; a break at the very end
// makes no extra empty line.
void TreeTextReader::finish() {
    if (lineStarted_) {
        endLine();
    }
}

// Consumes one byte or one run of text bytes; returns where to go on.
std::size_t TreeTextReader::step(std::string_view chunk, std::size_t i) {
    const char byte = chunk[i];
    if (afterCr_) {
        afterCr_ = false;
        if (byte == '\n') {
            return i + 1; // the LF of a CR LF pair
        }
    }
    if (byte == '\0') {
        ended_ = true;
        return i;
    }
    if (byte == '\r' || byte == '\n') {
        endLine();
        afterCr_ = byte == '\r';
        return i + 1;
    }
    lineStarted_ = true;
    if (indenting_) {
        const std::size_t end = skipIndentation(chunk, i);
        if (end > i) {
            level_ += end - i;
            return end;
        }
        indenting_ = false;
    }
    const std::size_t stop = std::min(chunk.find_first_of(kTextStops, i), chunk.size());
    text_.append(chunk.substr(i, stop - i));
    return stop;
}

void TreeTextReader::endLine() {
    addNode(level_, std::move(text_));
    text_.clear();
    level_ = 0;
    indenting_ = true;
    lineStarted_ = false;
}

// Places the line's node relative to the node of the line before it.
void TreeTextReader::addNode(std::size_t level, std::string text) {
    if (previous_ == nullptr) {
        previous_ = &tree_.append(tree_.root(), std::move(text));
        return;
    }
    const std::size_t previousLevel = previous_->level();
    if (level > previousLevel + 1) {
        throw TreeLevelError(level, std::move(text));
    }
    TreeNode* parent = previous_;
    if (level <= previousLevel) {
        // Ancestors' levels fall one by one, so this stops at the
        // ancestor on the line's level; the new node is its sibling.
        TreeNode* sibling = previous_;
        while (sibling->level() > level) {
            sibling = sibling->parent();
        }
        parent = sibling->parent();
    }
    previous_ = &tree_.append(*parent, std::move(text));
}

void readTree(std::string_view bytes, Tree& tree) {
    TreeTextReader reader(tree);
    reader.feed(bytes);
    reader.finish();
}

void readTree(std::istream& in, Tree& tree) {
    TreeTextReader reader(tree);
    std::array<char, std::size_t{64} * 1024> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (!reader.feed(std::string_view(buffer.data(), got))) {
            break;
        }
    }
    if (in.bad()) {
        throw std::ios_base::failure("the tree text could not be read");
    }
    reader.finish();
}

void writeTree(const Tree& tree, const std::function<void(std::string_view)>& put) {
    static const std::string tabs(4096, '\t');
    for (const TreeNode* node = tree.first(); node != nullptr; node = node->next()) {
        for (std::size_t left = node->level(); left > 0;) {
            const std::size_t count = std::min(left, tabs.size());
            put(std::string_view(tabs).substr(0, count));
            left -= count;
        }
        put(node->text());
        put(kLineEnd);
    }
}

// Straight into the string: the recovery copy of a large own database is
// made this way on the user interface thread.
std::string writeTree(const Tree& tree) {
    std::string bytes;
    for (const TreeNode* node = tree.first(); node != nullptr; node = node->next()) {
        bytes.append(node->level(), '\t');
        bytes.append(node->text());
        bytes.append(kLineEnd);
    }
    return bytes;
}

void writeTree(const Tree& tree, std::ostream& out) {
    writeTree(tree, [&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
}
