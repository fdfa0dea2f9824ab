#include "TreeText.h"

#include <array>
#include <cstring>
#include <istream>
#include <ostream>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTextStops{"\r\n\0", 3};

std::string LevelMessage(std::size_t level, const std::string& text) {
    return "Ungültige Ebene (" + std::to_string(level) + ") für Eintrag \"" + text + "\"";
}

// Where the run of TABs and SPACEs from i ends. Deep files are mostly TABs,
// so whole blocks of them are compared at once, large blocks first.
std::size_t SkipIndentation(std::string_view chunk, std::size_t i) {
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
    : std::runtime_error(LevelMessage(level, text))
    , level_(level)
    , text_(std::move(text)) {
}

TTreeTextReader::TTreeTextReader(TTree& tree)
    : tree_(tree) {
    tree_.Clear();
}

bool TTreeTextReader::Feed(std::string_view chunk) {
    for (std::size_t i = 0; i < chunk.size() && !ended_;) {
        i = Step(chunk, i);
    }
    return !ended_;
}

// A last line without a line break is a line; a break at the very end
// makes no extra empty line.
void TTreeTextReader::Finish() {
    if (lineStarted_) {
        EndLine();
    }
}

// Consumes one byte or one run of text bytes; returns where to go on.
std::size_t TTreeTextReader::Step(std::string_view chunk, std::size_t i) {
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
        EndLine();
        afterCr_ = byte == '\r';
        return i + 1;
    }
    lineStarted_ = true;
    if (indenting_) {
        const std::size_t end = SkipIndentation(chunk, i);
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

void TTreeTextReader::EndLine() {
    AddNode(level_, std::move(text_));
    text_.clear();
    level_ = 0;
    indenting_ = true;
    lineStarted_ = false;
}

// Places the line's node relative to the node of the line before it.
void TTreeTextReader::AddNode(std::size_t level, std::string text) {
    if (previous_ == nullptr) {
        previous_ = &tree_.Append(tree_.Root(), std::move(text));
        return;
    }
    const std::size_t previousLevel = previous_->Level();
    if (level > previousLevel + 1) {
        throw TreeLevelError(level, std::move(text));
    }
    TTreeNode* parent = previous_;
    if (level <= previousLevel) {
        // Ancestors' levels fall one by one, so this stops at the
        // ancestor on the line's level; the new node is its sibling.
        TTreeNode* sibling = previous_;
        while (sibling->Level() > level) {
            sibling = sibling->Parent();
        }
        parent = sibling->Parent();
    }
    previous_ = &tree_.Append(*parent, std::move(text));
}

void ReadTree(std::string_view bytes, TTree& tree) {
    TTreeTextReader reader(tree);
    reader.Feed(bytes);
    reader.Finish();
}

void ReadTree(std::istream& in, TTree& tree) {
    TTreeTextReader reader(tree);
    std::array<char, 64 * 1024> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (!reader.Feed(std::string_view(buffer.data(), got))) {
            break;
        }
    }
    if (in.bad()) {
        throw std::ios_base::failure("the tree text could not be read");
    }
    reader.Finish();
}

void WriteTree(const TTree& tree, const std::function<void(std::string_view)>& put) {
    static const std::string tabs(4096, '\t');
    for (const TTreeNode* node = tree.First(); node != nullptr; node = node->Next()) {
        for (std::size_t left = node->Level(); left > 0;) {
            const std::size_t count = std::min(left, tabs.size());
            put(std::string_view(tabs).substr(0, count));
            left -= count;
        }
        put(node->Text());
        put(kLineEnd);
    }
}

std::string WriteTree(const TTree& tree) {
    std::string bytes;
    WriteTree(tree, [&bytes](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

void WriteTree(const TTree& tree, std::ostream& out) {
    WriteTree(tree, [&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
}
