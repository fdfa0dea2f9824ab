#pragma once

#include <QWidget>
#include <functional>

class QIcon;
class QTabWidget;
class ColorBitmapButton;
class FadePicture;
class OptionsPanel;

// The main window: the frame with the title and star-map pictures, the tab
// row of the pages, the options button with the options panel shown in place
// of the pages, and the close bar. Start-up builds the pages and the options
// panel into it; what they do with each other is wired there too.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow();

    // The ground the pages' tab row and the options panel stand on.
    QWidget* contentPanel() const { return contentPanel_; }

    void addPage(QWidget* page, const QIcon& icon, const QString& caption);
    void showPage(QWidget* page);
    // A page whose work is unsaved shows a marker after its tab's caption.
    void markUnsaved(QWidget* page, bool unsaved);
    // The page the tab row shows, whether or not the options panel hides it.
    QWidget* currentPage() const;
    QString pageCaption(QWidget* page) const;
    // The hint of the page's tab.
    void setPageHint(QWidget* page, const QString& hint);
    // The panel that the options button shows in place of the pages.
    void setOptionsPanel(OptionsPanel* options);
    // Opens or closes the options panel.
    void toggleOptionsPanel();
    // Asked before the window closes, however the close comes: false keeps
    // the window open.
    void setCloseCheck(std::function<bool()> mayClose);

signals:
    // A click on the star-map picture.
    void starMapRequested();
    // The options panel opened: the satellite windows are to close.
    void optionsOpened();
    // The user turned to another page.
    void pageChanged();
    // The window is shown for the first time.
    void firstShown();
    // The window closed, the close check agreeing: the program ends with it.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectControls();
    void setPagesShown(bool shown);

    bool shownOnce_ = false;
    std::function<bool()> mayClose_;
    QWidget* contentPanel_ = nullptr;
    FadePicture* titlePicture_ = nullptr;
    FadePicture* starMapPicture_ = nullptr;
    QTabWidget* pages_ = nullptr;
    OptionsPanel* options_ = nullptr;
    ColorBitmapButton* optionsButton_ = nullptr;
    ColorBitmapButton* closeButton_ = nullptr;
};
