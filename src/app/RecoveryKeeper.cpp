#include "RecoveryKeeper.h"

#include "ErrorBox.h"
#include "Messenger.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>
#include <algorithm>

namespace {

constexpr int PauseMs = 2000;
constexpr int DeadlineMs = 8000;

// Written beside the former copy and put in its place only when complete;
// a copy that can't be written is no reason to trouble the user.
void writeCopy(const QString& path, const std::function<QByteArray()>& work) {
    try {
        const QByteArray bytes = work();
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()) {
            file.commit();
        }
    } catch (...) {
        // The former copy stays; the next change tries again.
    }
}

QString lockPath(const QString& folder, const QString& prefix) {
    return folder + QLatin1Char('/') + prefix + QStringLiteral("lock");
}

} // namespace

QString RecoveryKeeper::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

RecoveryKeeper::RecoveryKeeper(QString folder, QList<RecoveryPart> parts, QObject* parent)
    : QObject(parent)
    , folder_(std::move(folder))
    , parts_(std::move(parts))
    , states_(static_cast<std::size_t>(parts_.size()))
    , prefix_(QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('.')) {
    writer_.setMaxThreadCount(1);
    pause_.setSingleShot(true);
    deadline_.setSingleShot(true);
    setDelays(PauseMs, DeadlineMs);
    connect(&pause_, &QTimer::timeout, this, guarded([this] { writeNow(); }));
    connect(&deadline_, &QTimer::timeout, this, guarded([this] { writeNow(); }));
}

RecoveryKeeper::~RecoveryKeeper() {
    writer_.waitForDone();
}

void RecoveryKeeper::setDelays(int pauseMs, int deadlineMs) {
    pause_.setInterval(pauseMs);
    deadline_.setInterval(deadlineMs);
}

QString RecoveryKeeper::copyPath(int part) const {
    return folder_ + QLatin1Char('/') + prefix_ + parts_[part].fileName;
}

void RecoveryKeeper::partChanged(int part) {
    states_[static_cast<std::size_t>(part)].due = true;
    pause_.start();
    if (!deadline_.isActive()) {
        deadline_.start();
    }
}

void RecoveryKeeper::savedStateChanged(int part) {
    if (parts_[part].unsaved()) {
        partChanged(part);
        return;
    }
    states_[static_cast<std::size_t>(part)].due = false;
    removeCopy(part);
}

void RecoveryKeeper::writeNow() {
    pause_.stop();
    deadline_.stop();
    for (int part = 0; part < parts_.size(); ++part) {
        PartState& state = states_[static_cast<std::size_t>(part)];
        if (!state.due) {
            continue;
        }
        state.due = false;
        if (!parts_[part].unsaved()) {
            removeCopy(part);
        } else if (lockOwnName()) {
            writer_.start(
                [work = parts_[part].snapshot(), path = copyPath(part)] { writeCopy(path, work); });
            state.copied = true;
        }
    }
}

void RecoveryKeeper::discard() {
    pause_.stop();
    deadline_.stop();
    for (int part = 0; part < parts_.size(); ++part) {
        states_[static_cast<std::size_t>(part)].due = false;
        removeCopy(part);
    }
}

void RecoveryKeeper::waitForWriting() {
    writer_.waitForDone();
}

void RecoveryKeeper::removeCopy(int part) {
    PartState& state = states_[static_cast<std::size_t>(part)];
    if (state.copied) {
        state.copied = false;
        writer_.start([path = copyPath(part)] { QFile::remove(path); });
    }
}

// The lock is taken before the first copy is written and held until the
// program ends, so that no other program takes these copies for left behind.
bool RecoveryKeeper::lockOwnName() {
    if (lock_ == nullptr) {
        if (!QDir().mkpath(folder_)) {
            return false;
        }
        // The copies are the user's notes: for the user's eyes only.
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        auto lock = std::make_unique<QLockFile>(lockPath(folder_, prefix_));
        // Held for as long as the program runs: only the death of its
        // holder makes the lock stale, never its age.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            return false;
        }
        lock_ = std::move(lock);
    }
    return true;
}

// The newest copies whose lock is free; their lock is then held by this
// program, so that no other one offers them at the same time.
std::optional<RecoveryKeeper::Orphan> RecoveryKeeper::claimOrphan() const {
    std::vector<Orphan> found;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files)) {
        for (int part = 0; part < parts_.size(); ++part) {
            const QString end = parts_[part].fileName;
            const QString name = file.fileName();
            if (!name.endsWith(end) || name.size() == end.size()) {
                continue;
            }
            const QString prefix = name.left(name.size() - end.size());
            if (prefix == prefix_) {
                continue;
            }
            auto same = std::find_if(found.begin(), found.end(),
                                     [&](const Orphan& orphan) { return orphan.prefix == prefix; });
            if (same == found.end()) {
                same = found.insert(found.end(), Orphan{prefix, {}, 0, nullptr});
            }
            same->parts << part;
            same->written = std::max(same->written, file.lastModified().toMSecsSinceEpoch());
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.written > b.written; });
    for (Orphan& orphan : found) {
        auto lock = std::make_shared<QLockFile>(lockPath(folder_, orphan.prefix));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            std::sort(orphan.parts.begin(), orphan.parts.end());
            orphan.lock = std::move(lock);
            return std::move(orphan);
        }
    }
    return std::nullopt;
}

QString RecoveryKeeper::offerText(const Orphan& orphan) const {
    QStringList names;
    for (const int part : orphan.parts) {
        names << parts_[part].name;
    }
    const bool one = names.size() == 1;
    QString text = names.join(QStringLiteral(" and "));
    text[0] = text[0].toUpper();
    const QString when = QLocale::system().toString(
        QDateTime::fromMSecsSinceEpoch(orphan.written).toLocalTime(), QLocale::ShortFormat);
    return text +
           (one ? QStringLiteral(" was not saved when Vantor last ended. A copy of it")
                : QStringLiteral(" were not saved when Vantor last ended. A copy of them")) +
           QStringLiteral(" was kept at %1: restore ").arg(when) +
           (one ? QStringLiteral("it?") : QStringLiteral("them?"));
}

// A program that ended without freeing its lock after its copies had gone
// (saved, then killed) leaves the lock alone behind.
void RecoveryKeeper::removeLoneLocks() const {
    const QDir folder(folder_);
    const QStringList names = folder.entryList(QDir::Files);
    const QString end = QStringLiteral("lock");
    for (const QString& name : names) {
        const QString prefix = name.left(name.size() - end.size());
        const bool lone = std::none_of(names.cbegin(), names.cend(), [&](const QString& other) {
            return other != name && other.startsWith(prefix);
        });
        if (!name.endsWith(end) || prefix == prefix_ || !lone) {
            continue;
        }
        QLockFile lock(folder.filePath(name));
        lock.setStaleLockTime(0);
        // Freed at once, the lock file goes with it; a live program's stays.
        lock.tryLock(0);
    }
}

void RecoveryKeeper::offerRestore(Messenger& messenger) {
    removeLoneLocks();
    std::optional<Orphan> orphan = claimOrphan();
    if (!orphan) {
        return;
    }
    const Choice choice =
        messenger.choose(QStringLiteral("Recovery."), offerText(*orphan), MessageKind::Question,
                         QStringLiteral("&Restore"), QStringLiteral("&Discard"));
    if (choice == Choice::First) {
        bool restored = true;
        for (const int part : orphan->parts) {
            const QString path =
                folder_ + QLatin1Char('/') + orphan->prefix + parts_[part].fileName;
            restored = runGuarded([&] { parts_[part].restore(path); }) && restored;
        }
        // A copy that could not be read stays for another try.
        if (!restored) {
            return;
        }
        // Copied again under this program's name before the old copies go.
        writeNow();
    }
    // Closed without an answer, the copies stay for the next start.
    if (choice != Choice::Neither) {
        dropOrphan(*orphan);
    }
}

void RecoveryKeeper::dropOrphan(Orphan& orphan) {
    // Its temporary files too, left by a write that broke off.
    QStringList files;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files)) {
        if (file.fileName().startsWith(orphan.prefix) &&
            file.fileName() != orphan.prefix + QStringLiteral("lock")) {
            files << file.filePath();
        }
    }
    writer_.start([files, lock = std::move(orphan.lock)]() mutable {
        for (const QString& file : files) {
            QFile::remove(file);
        }
        lock.reset();
    });
}
