#include "DatabaseHistory.h"

#include "DatabaseModel.h"
#include "NodeText.h"
#include "TreeFile.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <memory>
#include <vector>

namespace {

// An entry's text as a step's name quotes it, cut short.
QString quotedEntry(const std::string& bytes) {
    constexpr qsizetype Shown = 40;
    QString text = displayText(bytes);
    if (text.size() > Shown) {
        text = text.left(Shown) + QChar(0x2026);
    }
    return u'\'' + text + u'\'';
}

std::vector<const TreeNode*> childrenOf(const TreeNode& parent) {
    std::vector<const TreeNode*> list;
    list.reserve(parent.childCount());
    for (std::size_t row = 0; row < parent.childCount(); ++row) {
        list.push_back(parent.child(row));
    }
    return list;
}

// One step of the history. Each names the entry that taking it back or
// doing it again would rename or delete, so that the history can refuse
// when that entry is protected.
class Step : public QUndoCommand {
public:
    Step(DatabaseModel& model, const QString& name)
        : model_(model) {
        setText(name);
    }
    virtual const TreeNode* touchedByUndo() const { return nullptr; }
    virtual const TreeNode* touchedByRedo() const { return nullptr; }
    // The entry that taking the step back brought back.
    virtual const TreeNode* restoredByUndo() const { return nullptr; }

protected:
    DatabaseModel& model_;
};

// The new entry goes last under its parent; undone, it is kept aside.
class AddStep final : public Step {
public:
    AddStep(DatabaseModel& model, const TreeNode& parent, std::string bytes)
        : Step(model, QStringLiteral("add ") + quotedEntry(bytes))
        , parent_(parent)
        , row_(parent.childCount())
        , bytes_(std::move(bytes)) {}

    void redo() override {
        if (node_ == nullptr) {
            node_ = model_.nodeOf(model_.append(model_.indexOf(parent_), bytes_));
        } else {
            model_.putBack(parent_, row_, std::move(kept_));
        }
    }
    void undo() override { kept_ = model_.takeOut(*node_); }
    const TreeNode* touchedByUndo() const override { return node_; }

private:
    const TreeNode& parent_;
    std::size_t row_;
    std::string bytes_;
    const TreeNode* node_ = nullptr;
    std::unique_ptr<TreeNode> kept_;
};

// The branch is kept whole while it is deleted and goes back to its row.
class DeleteStep final : public Step {
public:
    DeleteStep(DatabaseModel& model, const TreeNode& node)
        : Step(model, QStringLiteral("delete ") + quotedEntry(node.text()))
        , parent_(*node.parent())
        , row_(node.row())
        , node_(node) {}

    void redo() override { kept_ = model_.takeOut(node_); }
    void undo() override { model_.putBack(parent_, row_, std::move(kept_)); }
    const TreeNode* touchedByRedo() const override { return &node_; }
    const TreeNode* restoredByUndo() const override { return &node_; }

private:
    const TreeNode& parent_;
    std::size_t row_;
    const TreeNode& node_;
    std::unique_ptr<TreeNode> kept_;
};

// A rename sorts the sibling list again; taken back, the list regains the
// order it had, which after a load need not be sorted.
class RenameStep final : public Step {
public:
    RenameStep(DatabaseModel& model, const TreeNode& node, std::string bytes)
        : Step(model, QStringLiteral("rename ") + quotedEntry(node.text()))
        , node_(node)
        , oldBytes_(node.text())
        , newBytes_(std::move(bytes))
        , oldRow_(node.row()) {}

    void redo() override {
        if (done_) {
            model_.rename(node_, newBytes_);
            return;
        }
        done_ = true;
        std::vector<const TreeNode*> before = siblings();
        model_.rename(node_, newBytes_);
        if (othersKeptTheirOrder(before)) {
            // The node only moved: its old row is enough to go back.
            setObsolete(newBytes_ == oldBytes_ && node_.row() == oldRow_);
        } else {
            before_ = std::move(before);
        }
    }
    void undo() override {
        std::vector<const TreeNode*> order = before_;
        if (order.empty()) {
            order = siblings();
            order.erase(order.begin() + static_cast<std::ptrdiff_t>(node_.row()));
            order.insert(order.begin() + static_cast<std::ptrdiff_t>(oldRow_), &node_);
        }
        model_.restoreName(node_, oldBytes_, order);
    }
    const TreeNode* touchedByUndo() const override { return &node_; }
    const TreeNode* touchedByRedo() const override { return &node_; }

private:
    std::vector<const TreeNode*> siblings() const { return childrenOf(*node_.parent()); }
    bool othersKeptTheirOrder(const std::vector<const TreeNode*>& before) const {
        const TreeNode& parent = *node_.parent();
        std::size_t at = 0;
        for (const TreeNode* sibling : before) {
            if (sibling == &node_) {
                continue;
            }
            if (at == node_.row()) {
                ++at;
            }
            if (parent.child(at++) != sibling) {
                return false;
            }
        }
        return true;
    }

    const TreeNode& node_;
    std::string oldBytes_;
    std::string newBytes_;
    std::size_t oldRow_;
    bool done_ = false;
    // The sibling order before the rename, when it was more than a move.
    std::vector<const TreeNode*> before_;
};

// A dragged entry goes into its place by text under its new parent, whose
// list is sorted first if a load left it unsorted; taken back, the entry
// goes back to its row and that list regains its order.
class MoveStep final : public Step {
public:
    MoveStep(DatabaseModel& model, const TreeNode& node, const TreeNode& newParent)
        : Step(model, QStringLiteral("move ") + quotedEntry(node.text()))
        , node_(node)
        , oldParent_(*node.parent())
        , oldRow_(node.row())
        , newParent_(newParent)
        , newSiblings_(childrenOf(newParent)) {}

    void redo() override { model_.moveNode(model_.indexOf(node_), model_.indexOf(newParent_)); }
    void undo() override { model_.moveBack(node_, oldParent_, oldRow_, newSiblings_); }
    const TreeNode* restoredByUndo() const override { return &node_; }

private:
    const TreeNode& node_;
    const TreeNode& oldParent_;
    std::size_t oldRow_;
    const TreeNode& newParent_;
    std::vector<const TreeNode*> newSiblings_;
};

// The tree that is not shown is kept whole, either way.
class ReplaceStep final : public Step {
public:
    ReplaceStep(DatabaseModel& model, Tree tree, const QString& name)
        : Step(model, name)
        , other_(std::move(tree)) {}

    void redo() override { other_ = model_.exchange(std::move(other_)); }
    void undo() override { other_ = model_.exchange(std::move(other_)); }

private:
    Tree other_;
};

} // namespace

DatabaseHistory::DatabaseHistory(DatabaseModel& model, ProtectedCheck isProtected, QObject* parent)
    : QObject(parent)
    , model_(model)
    , isProtected_(std::move(isProtected)) {
    stack_.setUndoLimit(Steps);
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { emit changed(); });
    connect(&stack_, &QUndoStack::cleanChanged, this, [this] { updateUnsaved(); });
    for (const auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged}) {
        connect(&stack_, signal, this, [this] { emit stepsChanged(); });
    }
    for (const auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged}) {
        connect(&stack_, signal, this, [this] { emit stepsChanged(); });
    }
    const auto changing = [this] {
        onModelChanging();
    };
    connect(&model, &DatabaseModel::rowsAboutToBeInserted, this, changing);
    connect(&model, &DatabaseModel::rowsAboutToBeRemoved, this, changing);
    connect(&model, &DatabaseModel::rowsAboutToBeMoved, this, changing);
    connect(&model, &DatabaseModel::layoutAboutToBeChanged, this, changing);
    connect(&model, &DatabaseModel::modelAboutToBeReset, this, changing);
    connect(&model, &DatabaseModel::dataChanged, this, changing);
}

DatabaseHistory::~DatabaseHistory() {
    stack_.disconnect(this);
}

void DatabaseHistory::start() {
    started_ = true;
    stack_.clear();
    stack_.setClean();
    updateUnsaved();
}

QModelIndex DatabaseHistory::add(const QModelIndex& parent, const QString& typed) {
    const TreeNode* parentNode = model_.nodeOf(parent);
    push(new AddStep(model_, parentNode != nullptr ? *parentNode : model_.tree().root(),
                     storedText(typed)));
    const TreeNode* under = parentNode != nullptr ? parentNode : &model_.tree().root();
    return model_.indexOf(*under->child(under->childCount() - 1));
}

void DatabaseHistory::rename(const QModelIndex& index, std::string bytes) {
    if (const TreeNode* node = model_.nodeOf(index)) {
        push(new RenameStep(model_, *node, std::move(bytes)));
    }
}

void DatabaseHistory::remove(const QModelIndex& index) {
    if (const TreeNode* node = model_.nodeOf(index)) {
        push(new DeleteStep(model_, *node));
    }
}

void DatabaseHistory::move(const QModelIndex& from, const QModelIndex& toParent) {
    const TreeNode* node = model_.nodeOf(from);
    const TreeNode* newParent =
        toParent.isValid() ? model_.nodeOf(toParent) : &model_.tree().root();
    if (node != nullptr && !Tree::isWithin(*newParent, *node)) {
        push(new MoveStep(model_, *node, *newParent));
    }
}

void DatabaseHistory::load(const QString& path) {
    read(path, QStringLiteral("load '") + QFileInfo(path).fileName() + u'\'');
    markSaved();
}

void DatabaseHistory::restore(const QString& path) {
    read(path, QStringLiteral("restore"));
}

void DatabaseHistory::read(const QString& path, const QString& name) {
    Tree loaded;
    try {
        loadTreeFile(loaded, path);
    } catch (const TreeFileError&) {
        // A file that can't be read leaves nothing behind; a bad line leaves
        // the nodes before it, and there is always one, the first line.
        if (!loaded.empty()) {
            push(new ReplaceStep(model_, std::move(loaded), name));
        }
        throw;
    }
    push(new ReplaceStep(model_, std::move(loaded), name));
}

bool DatabaseHistory::undo() {
    if (!stack_.canUndo()) {
        return true;
    }
    const auto* step = static_cast<const Step*>(stack_.command(stack_.index() - 1));
    if (const TreeNode* touched = step->touchedByUndo();
        touched != nullptr && isProtected_(touched->text())) {
        return false;
    }
    apply([this] { stack_.undo(); });
    if (const TreeNode* restored = step->restoredByUndo()) {
        emit entryRestored(model_.indexOf(*restored));
    }
    return true;
}

bool DatabaseHistory::redo() {
    if (!stack_.canRedo()) {
        return true;
    }
    const auto* step = static_cast<const Step*>(stack_.command(stack_.index()));
    if (const TreeNode* touched = step->touchedByRedo();
        touched != nullptr && isProtected_(touched->text())) {
        return false;
    }
    apply([this] { stack_.redo(); });
    return true;
}

QString DatabaseHistory::undoCaption() const {
    const QString step = stack_.undoText();
    return step.isEmpty()
               ? QStringLiteral("Undo")
               : QStringLiteral("Undo ") + QString(step).replace(u'&', QLatin1String("&&"));
}

QString DatabaseHistory::redoCaption() const {
    const QString step = stack_.redoText();
    return step.isEmpty()
               ? QStringLiteral("Redo")
               : QStringLiteral("Redo ") + QString(step).replace(u'&', QLatin1String("&&"));
}

void DatabaseHistory::markSaved() {
    stack_.setClean();
    updateUnsaved();
}

void DatabaseHistory::push(QUndoCommand* step) {
    apply([this, step] { stack_.push(step); });
}

void DatabaseHistory::apply(const std::function<void()>& change) {
    const QScopedValueRollback applying(applying_, true);
    change();
}

// A change past the history may free nodes that its steps name: the steps go,
// and the tree no longer is what was saved.
void DatabaseHistory::onModelChanging() {
    if (!started_ || applying_) {
        return;
    }
    {
        const QSignalBlocker quiet(&stack_);
        stack_.clear();
        stack_.resetClean();
    }
    emit stepsChanged();
    updateUnsaved();
    emit changed();
}

void DatabaseHistory::updateUnsaved() {
    const bool unsaved = !stack_.isClean();
    if (unsaved != unsaved_) {
        unsaved_ = unsaved;
        emit unsavedChanged(unsaved);
    }
}
