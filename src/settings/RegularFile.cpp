#include "RegularFile.h"

#include <QFileInfo>

bool isRegularFile(const QString& path) {
    // QFileInfo tells regular files from pipes, sockets and devices, which
    // it counts as sequential, not as files.
    return !path.isEmpty() && QFileInfo(path).isFile();
}
