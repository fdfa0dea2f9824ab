#include "FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

qint64 nowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

} // namespace

FirstPaintProbe::FirstPaintProbe(QWidget* window, qint64 launchedAtNs)
    : QObject(window)
    , window_(window)
    , launchedAtNs_(launchedAtNs) {
    // Every widget of the window paints; the first paint of any of them
    // belongs to the window's first frame.
    qApp->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (firstPaintMs_ < 0 && event->type() == QEvent::Paint) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == window_) {
            firstPaintMs_ = 0;
            // The frame is done once the event loop is back from drawing it.
            QTimer::singleShot(0, this, [this] { paintDone(); });
        }
    }
    return false;
}

void FirstPaintProbe::paintDone() {
    firstPaintMs_ = static_cast<double>(nowNs() - launchedAtNs_) / 1e6;
    QTimer::singleShot(1000, this, [this] { report(); });
}

void FirstPaintProbe::report() {
    std::printf("first-paint-ms %.1f rss-kb %ld\n", firstPaintMs_, residentKb());
    std::fflush(stdout);
    std::_Exit(0);
}

qint64 launchTimeFromArguments(int argc, char** argv) {
    return argc > 1 ? std::strtoll(argv[1], nullptr, 10) : nowNs();
}
