#pragma once

#include <QObject>

class QKeySequence;
class QWidget;

// The program-wide hint switch and hint timing. It watches every tooltip
// request of the application: with hints off no control shows one, with the
// timing set a hint comes at once and stays for a fixed time.
class HintPolicy : public QObject {
    Q_OBJECT

public:
    // The one policy, made on first use and living as long as the application.
    static HintPolicy& instance();

    void setHintsShown(bool shown);
    bool hintsShown() const { return shown_; }

    // Hints show wakeUpMs after the pointer stops and hide after showMs.
    void setTiming(int wakeUpMs, int showMs);
    // Makes the timing adjustable, the style's own pause kept, before any
    // window is built: changing the style later restyles every control.
    void prepareTiming();
    int showTime() const { return showMs_; }

    // A key that reaches the control: its hint names the key after its own
    // words, or after the control's name when it has no hint of its own.
    static void setKeyHint(QWidget* control, const QKeySequence& key);
    // The hint the control shows: "Export the actual notepad (Ctrl+S)".
    static QString shownHint(const QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HintPolicy();
    bool showOwnHint(QObject* watched, QEvent* event) const;

    bool shown_ = true;
    int showMs_ = -1; // -1: the toolkit's own timing
};
