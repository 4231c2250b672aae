#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

#include "base/Cp1251.h"
#include "platform/ChannelFrame.h"
#include "platform/ChannelWindow.h"
#include "platform/RuntimeFolder.h"

namespace {

constexpr int kProbeTimeoutMs = 1000;
// Longer socket paths do not fit a Unix socket address; such servers go to the temp folder.
constexpr qsizetype kMaxSocketPath = 100;

bool ProcessGone(qint64 pid) {
    if (pid <= 0 || pid != static_cast<pid_t>(pid)) return true;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool IsOwnHandle(THandle handle) { return (handle >> 32) == static_cast<THandle>(::getpid()); }

// Only a refused or missing socket proves the window gone; a slow one may just be busy.
bool ServerGone(const QLocalSocket& socket) {
    return socket.error() == QLocalSocket::ServerNotFoundError ||
           socket.error() == QLocalSocket::ConnectionRefusedError;
}

} // namespace

TInstanceChannel& TInstanceChannel::Instance() {
    // Never destroyed: windows may outlive static destruction order.
    static auto* const channel = new TInstanceChannel;
    return *channel;
}

TInstanceChannel::TInstanceChannel() {
    const QString runtime = RuntimeFolder();
    if (runtime.isEmpty()) return;
    const QString folder = runtime + QStringLiteral("/windows");
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    if (QFileInfo(folder).isDir()) folder_ = folder;
}

THandle TInstanceChannel::Register(TChannelWindow* window) {
    if (++counter_ == 0) ++counter_;
    const THandle handle = (static_cast<THandle>(::getpid()) << 32) | counter_;
    own_[handle] = window;
    return handle;
}

void TInstanceChannel::Unregister(TChannelWindow* window) {
    own_.erase(window->Handle());
    if (!folder_.isEmpty()) QFile::remove(folder_ + u'/' + RWindowEntry::FileName(window->Handle()));
}

void TInstanceChannel::Publish(const RWindowEntry& entry) {
    if (folder_.isEmpty()) return;
    QSaveFile file(folder_ + u'/' + RWindowEntry::FileName(entry.handle));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(entry.Serialize());
        file.commit();
    }
}

quint64 TInstanceChannel::NextOrder() {
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    lastOrder_ = std::max<quint64>(lastOrder_ + 1, static_cast<quint64>(now.count()));
    return lastOrder_;
}

QString TInstanceChannel::ServerName(THandle handle) const {
    const QString hex = QStringLiteral("%1").arg(handle, 16, 16, QChar(u'0'));
    const QString path = folder_ + QStringLiteral("/%1.sock").arg(hex);
    if (folder_.isEmpty() || QFile::encodeName(path).size() > kMaxSocketPath)
        return QStringLiteral("bookshell-%1-%2").arg(::getuid()).arg(hex);
    return path;
}

std::vector<RWindowEntry> TInstanceChannel::Entries() {
    std::vector<RWindowEntry> entries;
    if (!folder_.isEmpty()) {
        const QDir dir(folder_);
        for (const QString& name : dir.entryList({QStringLiteral("*.win")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) continue;  // withdrawn meanwhile
            auto entry = RWindowEntry::Parse(file.read(64 * 1024));
            if (!entry || RWindowEntry::FileName(entry->handle) != name) continue;
            if (!IsOwnHandle(entry->handle)) entries.push_back(std::move(*entry));
            else if (!own_.count(entry->handle)) Remove(entry->handle);  // left by a dead namesake
        }
    }
    // This process's windows are taken from memory: always current, even without the folder.
    for (const auto& [handle, window] : own_) entries.push_back(window->Entry());
    std::sort(entries.begin(), entries.end(), [](const RWindowEntry& a, const RWindowEntry& b) {
        return a.order != b.order ? a.order > b.order : a.handle > b.handle;
    });
    return entries;
}

std::vector<THandle> TInstanceChannel::Walk(const std::string& title, bool firstOnly) {
    std::vector<THandle> found;
    for (const RWindowEntry& entry : Entries()) {
        const bool own = own_.count(entry.handle) != 0;
        if (!own && ProcessGone(entry.pid)) {
            Remove(entry.handle);
            continue;
        }
        if (!entry.visible || entry.caption.empty()) continue;
        const std::string_view caption = std::string_view(entry.caption).substr(0, kCaptionCompareLength);
        if (!Cp1251::equalsNoCase(caption, title)) continue;
        if (!own) {
            QLocalSocket probe;
            probe.connectToServer(entry.server);
            if (!probe.waitForConnected(kProbeTimeoutMs) && ServerGone(probe)) {
                Remove(entry.handle);
                continue;
            }
            probe.abort();
        }
        found.push_back(entry.handle);
        if (firstOnly) break;
    }
    return found;
}

bool TInstanceChannel::FindVisibleWindow(const std::string& title, THandle& handle) {
    const auto found = Walk(title, true);
    if (found.empty()) return false;
    handle = found.front();
    return true;
}

std::vector<THandle> TInstanceChannel::FindVisibleWindows(const std::string& title) { return Walk(title, false); }

void TInstanceChannel::Remove(THandle handle) {
    if (folder_.isEmpty()) return;
    QFile::remove(folder_ + u'/' + RWindowEntry::FileName(handle));
    QLocalServer::removeServer(ServerName(handle));
}

bool TInstanceChannel::Lookup(THandle handle, RWindowEntry& entry) {
    if (handle == 0 || IsOwnHandle(handle) || folder_.isEmpty()) return false;
    QFile file(folder_ + u'/' + RWindowEntry::FileName(handle));
    if (!file.open(QIODevice::ReadOnly)) return false;
    auto parsed = RWindowEntry::Parse(file.read(64 * 1024));
    if (!parsed || parsed->handle != handle) return false;
    if (ProcessGone(parsed->pid)) {
        Remove(handle);
        return false;
    }
    entry = std::move(*parsed);
    return true;
}

bool TInstanceChannel::IsWindow(THandle handle) {
    RWindowEntry entry;
    return own_.count(handle) != 0 || Lookup(handle, entry);
}

bool TInstanceChannel::Transmit(const RWindowEntry& entry, const QByteArray& frame, bool waitForAck) {
    const QDeadlineTimer deadline(kSendTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(entry.server);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        if (ServerGone(socket)) Remove(entry.handle);
        return false;
    }
    socket.write(frame);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    if (!waitForAck) {
        socket.disconnectFromServer();
        return true;
    }
    TFrameReader reader;
    RChannelFrame reply;
    for (;;) {
        switch (reader.Next(reply)) {
        case TFrameReader::EResult::Frame:
            if (reply.type == EFrameType::Ack) return true;
            continue;
        case TFrameReader::EResult::Broken: return false;
        case TFrameReader::EResult::NeedMore: break;
        }
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return false;
        reader.Append(socket.readAll());
    }
}

bool TInstanceChannel::Deliver(THandle to, EFrameType type, const QByteArray& payload, bool sent) {
    if (const auto it = own_.find(to); it != own_.end()) {
        TChannelWindow* window = it->second;
        const RChannelFrame frame{type, payload};
        if (sent) window->Dispatch(frame);
        else QMetaObject::invokeMethod(window, [window, frame] { window->Dispatch(frame); }, Qt::QueuedConnection);
        return true;
    }
    RWindowEntry entry;
    return Lookup(to, entry) && Transmit(entry, EncodeFrame(type, payload), sent);
}

bool TInstanceChannel::SendCopyData(THandle to, THandle from, const RInstanceData& data) {
    QByteArray payload;
    AppendLe64(payload, from);
    const auto record = data.Serialize();
    payload.append(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    return Deliver(to, EFrameType::CopyData, payload, true);
}

bool TInstanceChannel::PostMessage(THandle to, uint32_t message, uint64_t wParam, uint64_t lParam) {
    QByteArray payload;
    AppendLe32(payload, message);
    AppendLe64(payload, wParam);
    AppendLe64(payload, lParam);
    return Deliver(to, EFrameType::Message, payload, false);
}

bool TInstanceChannel::SendClose(THandle to) { return Deliver(to, EFrameType::Close, {}, true); }

bool TInstanceChannel::PostActivate(THandle to) { return Deliver(to, EFrameType::Activate, {}, false); }
