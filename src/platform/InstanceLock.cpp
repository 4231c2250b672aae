#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QLockFile>

#include "platform/QtText.h"
#include "platform/RuntimeFolder.h"

namespace {

constexpr int kReadableLength = 40;

// Letters and digits of the name, anything else as "_", cut short: only to help a person
// looking at the folder; the hash makes the name unique.
QString ReadablePart(const std::string& name) {
    const QString text = ToQt(name).left(kReadableLength);
    QString out;
    for (const QChar c : text) out += (c.isLetterOrNumber() || c == u'-') ? c : QChar(u'_');
    return out;
}

} // namespace

TInstanceLock::TInstanceLock() = default;
TInstanceLock::~TInstanceLock() = default;

QString TInstanceLock::LockPath(const std::string& name) {
    const QString folder = RuntimeFolder();
    if (folder.isEmpty()) return {};
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(name), QCryptographicHash::Sha256);
    return QStringLiteral("%1/lock-%2-%3.lock")
        .arg(folder, ReadablePart(name), QString::fromLatin1(hash.toHex().left(16)));
}

bool TInstanceLock::TryAcquire(const std::string& name) {
    if (lock_ && name == name_) return true;
    lock_.reset();
    name_.clear();
    if (name.empty()) return true;
    const QString path = LockPath(name);
    if (path.isEmpty()) return false;
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);  // a live holder keeps its lock however old it is
    if (!lock->tryLock(0)) return false;
    lock_ = std::move(lock);
    name_ = name;
    return true;
}

bool TInstanceLock::Held() const { return lock_ != nullptr; }
