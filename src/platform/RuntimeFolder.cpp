#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// True when path is a directory owned by this user and closed to others, creating it if needed.
bool MakePrivateDir(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    ::mkdir(native.constData(), 0700);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0) return false;
    return true;
}

} // namespace

QString RuntimeFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString folder = base.isEmpty() ? QDir::tempPath() + QStringLiteral("/bookshell-%1").arg(::getuid())
                                    : base + QStringLiteral("/bookshell");
    return MakePrivateDir(folder) ? folder : QString();
}
