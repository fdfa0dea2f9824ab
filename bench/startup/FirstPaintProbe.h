#pragma once

#include <QObject>
#include <QWidget>

// Watches a window until its first paint is done, then reports, one line on
// standard output: the milliseconds from the launch time given on the
// command line (nanoseconds of the real-time clock, taken just before the
// process was started) to the end of that first paint, and one second later
// the resident memory in kilobytes. Then it ends the program.
//
//   first-paint-ms <ms> rss-kb <kb>
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget* window, qint64 launchedAtNs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintDone();
    void report();

    QWidget* window_;
    qint64 launchedAtNs_;
    double firstPaintMs_ = -1;
};

// The launch time from the first argument, 0 when there is none.
qint64 launchTimeFromArguments(int argc, char** argv);
