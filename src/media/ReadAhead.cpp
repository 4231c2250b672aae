#include "media/ReadAhead.h"

#include <QFile>
#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>

namespace {

constexpr qint64 kHead = 8 << 20;  // what a format probe reads at most
constexpr qint64 kTail = 1 << 20;  // where an index at the end is found
constexpr qint64 kChunk = 256 << 10;

void ReadSpan(QFile& file, qint64 from, qint64 size) {
    if (!file.seek(from)) return;
    QByteArray buffer(int(std::min(size, kChunk)), Qt::Uninitialized);
    for (qint64 left = size; left > 0;) {
        const qint64 got = file.read(buffer.data(), std::min<qint64>(left, buffer.size()));
        if (got <= 0) return;
        left -= got;
    }
}

}  // namespace

void TReadAhead::ReadFileAhead(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    const qint64 size = file.size();
    ReadSpan(file, 0, std::min(size, kHead));
    if (size > kHead) ReadSpan(file, std::max(kHead, size - kTail), kTail);
}

void TReadAhead::Start(const std::string& hostPath, std::function<void()> ready) {
    const unsigned ticket = ++ticket_;
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, path = QString::fromStdString(hostPath)] {
        ReadFileAhead(path);
        promise->finish();
    });
    future.then(this, [this, ticket, ready = std::move(ready)] {
        if (ticket == ticket_) ready();
    });
}
