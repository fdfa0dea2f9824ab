#pragma once

#include "Messenger.h"
#include "RouteEngine.h"
#include "SearchPosition.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QTabWidget;
class ColorBitmapButton;
class MessageWindow;
class AvoidWindow;
class StarMapWindow;
class InfoPage;
class NavigationPage;
class NotepadPage;
class OptionsPanel;
class FadePicture;
class OwnDatabasePage;
class ProgramSettings;
class SystemDatabasePage;
class WindowStrip;
enum class FindTarget;

// What start-up needs from outside the windows.
struct StartOptions {
    // The folder of the executable, with a trailing separator: the default
    // place of the data files.
    QString programFolder;
};

// The main window: the frame, the pictures, the tab row with the five pages
// and the options panel. It owns the route engine, runs start-up and connects
// the pages with each other and with the satellite windows.
class MainWindow : public QWidget, public Messenger {
    Q_OBJECT

public:
    MainWindow(WindowStrip& strip, StartOptions options);
    ~MainWindow() override;

    // The message window, the avoid window and the star map, once they exist;
    // the main window owns them from here on.
    void attachSatellites(MessageWindow* message, AvoidWindow* avoid, StarMapWindow* map);

    void showMessage(const QString& caption, const QString& text, int kind,
                     const QString& leftButton, const QString& rightButton) override;
    bool messageResult() const override;

    // Opens the star map beside the main window.
    void showStarMap();
    // Opens or closes the options panel.
    void toggleOptionsPanel();

    RouteEngine& engine() { return engine_; }
    NavigationPage& navigation() const { return *navigation_; }
    SystemDatabasePage& systemDatabase() const { return *systemDatabase_; }
    OwnDatabasePage& ownDatabase() const { return *ownDatabase_; }
    NotepadPage& notepad() const { return *notepad_; }
    OptionsPanel& optionsPanel() const { return *options_; }
    ProgramSettings& settings() const { return *settings_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMainLayout();
    void buildPages();
    void connectPages();
    void connectDatabasePages();
    void readStartupData();
    void finishStartupOnFirstShow();
    void onCloseButtonClicked();
    void onPageChanged();
    void setPagesShown(bool shown);
    void findFromOutput(FindTarget target, const QString& keyword);

    WindowStrip& strip_;
    StartOptions start_;
    RouteEngine engine_;
    SearchPosition searchPosition_;
    std::unique_ptr<ProgramSettings> settings_;
    bool shownOnce_ = false;

    FadePicture* titlePicture_ = nullptr;
    FadePicture* starMapPicture_ = nullptr;
    QTabWidget* pages_ = nullptr;
    NavigationPage* navigation_ = nullptr;
    SystemDatabasePage* systemDatabase_ = nullptr;
    OwnDatabasePage* ownDatabase_ = nullptr;
    NotepadPage* notepad_ = nullptr;
    InfoPage* info_ = nullptr;
    OptionsPanel* options_ = nullptr;
    ColorBitmapButton* optionsButton_ = nullptr;
    ColorBitmapButton* closeButton_ = nullptr;

    QPointer<MessageWindow> message_;
    QPointer<AvoidWindow> avoid_;
    QPointer<StarMapWindow> map_;
};
