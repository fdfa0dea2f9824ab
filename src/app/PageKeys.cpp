#include "PageKeys.h"

#include "ErrorBox.h"
#include "HintPolicy.h"
#include "MainWindow.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

namespace {

constexpr int PageKeyCount = 5;

QKeySequence pageKey(int index) {
    return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + index));
}

// A control that the user could not reach now is not reached by its key either.
bool reachable(const QWidget* control) {
    return control != nullptr && control->isVisible() && control->isEnabled();
}

} // namespace

PageKeys::PageKeys(MainWindow& main)
    : QObject(&main)
    , main_(main) {
    for (int index = 0; index < PageKeyCount; ++index) {
        addKey(pageKey(index), [this, index] { onPageKeyPressed(index); });
    }
    for (const Target target : {Target::SearchBox, Target::Save, Target::Print, Target::Load}) {
        addKey(keyOf(target), [this, target] { onTargetKeyPressed(target); });
    }
    connect(&main_, &MainWindow::pageChanged, this, guarded([this] { onPageChanged(); }));
}

QKeySequence PageKeys::keyOf(Target target) {
    switch (target) {
    case Target::SearchBox:
        return QKeySequence(Qt::CTRL | Qt::Key_F);
    case Target::Save:
        return QKeySequence(Qt::CTRL | Qt::Key_S);
    case Target::Print:
        return QKeySequence(Qt::CTRL | Qt::Key_P);
    case Target::Load:
        return QKeySequence(Qt::CTRL | Qt::Key_O);
    }
    return {};
}

QWidget* PageKeys::controlOf(const PageKeyTargets& targets, Target target) {
    switch (target) {
    case Target::SearchBox:
        return targets.searchBox;
    case Target::Save:
        return targets.saveButton;
    case Target::Print:
        return targets.printButton;
    case Target::Load:
        return targets.loadButton;
    }
    return nullptr;
}

// The keys belong to the main window: they act wherever its focus is, and
// not while a modal window or a satellite has it.
void PageKeys::addKey(const QKeySequence& key, const std::function<void()>& act) {
    auto* shortcut = new QShortcut(key, &main_);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, guarded(act));
}

void PageKeys::addPage(QWidget* page, KeyedPage* keyed) {
    const auto index = static_cast<int>(pages_.size());
    pages_.append({page, keyed, false});
    if (index < PageKeyCount) {
        main_.setPageHint(page, main_.pageCaption(page) + QStringLiteral(" (") +
                                    pageKey(index).toString(QKeySequence::NativeText) + u')');
    }
    if (page == main_.currentPage()) {
        labelPage(pages_.last());
    }
}

PageKeys::Page* PageKeys::shownPage() {
    QWidget* current = main_.currentPage();
    // While the options panel stands in place of the pages, no page is shown.
    if (current == nullptr || !current->isVisible()) {
        return nullptr;
    }
    for (Page& page : pages_) {
        if (page.widget == current) {
            return &page;
        }
    }
    return nullptr;
}

void PageKeys::onPageChanged() {
    for (Page& page : pages_) {
        if (page.widget == main_.currentPage()) {
            labelPage(page);
        }
    }
}

// Once per page, when it is first turned to: a page may build its controls then.
void PageKeys::labelPage(Page& page) {
    if (page.keyed == nullptr || page.labelled) {
        return;
    }
    page.labelled = true;
    const PageKeyTargets targets = page.keyed->keyTargets();
    for (const Target target : {Target::SearchBox, Target::Save, Target::Print, Target::Load}) {
        if (QWidget* control = controlOf(targets, target)) {
            HintPolicy::setKeyHint(control, keyOf(target));
        }
    }
}

void PageKeys::onPageKeyPressed(int index) {
    if (shownPage() != nullptr && index < pages_.size()) {
        main_.showPage(pages_.at(index).widget);
    }
}

void PageKeys::onTargetKeyPressed(Target target) {
    Page* page = shownPage();
    if (page == nullptr || page->keyed == nullptr) {
        return;
    }
    QWidget* control = controlOf(page->keyed->keyTargets(), target);
    if (!reachable(control)) {
        return;
    }
    if (target == Target::SearchBox) {
        // As from the Tab key: the box's text is selected, the next key replaces it.
        control->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
    }
}
