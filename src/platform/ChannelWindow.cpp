#include "platform/ChannelWindow.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

#include "platform/ChannelConnection.h"
#include "platform/InstanceChannel.h"

TChannelWindow::TChannelWindow(QObject* parent) : QObject(parent) {
    auto& channel = TInstanceChannel::Instance();
    handle_ = channel.Register(this);
    order_ = channel.NextOrder();
    serverName_ = channel.ServerName(handle_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName_);  // left by an earlier process with this PID
    connect(server_, &QLocalServer::newConnection, this, &TChannelWindow::AcceptConnections);
    server_->listen(serverName_);
    Publish();
}

TChannelWindow::~TChannelWindow() {
    server_->close();
    TInstanceChannel::Instance().Unregister(this);
}

void TChannelWindow::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Publish();
}

void TChannelWindow::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (visible) order_ = TInstanceChannel::Instance().NextOrder();
    Publish();
}

void TChannelWindow::MarkRaised() {
    order_ = TInstanceChannel::Instance().NextOrder();
    Publish();
}

RWindowEntry TChannelWindow::Entry() const {
    RWindowEntry entry;
    entry.handle = handle_;
    entry.pid = ::getpid();
    entry.server = serverName_;
    entry.visible = visible_;
    entry.order = order_;
    entry.caption = caption_;
    return entry;
}

void TChannelWindow::Publish() { TInstanceChannel::Instance().Publish(Entry()); }

void TChannelWindow::AcceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) new TChannelConnection(socket, this);
}

void TChannelWindow::Dispatch(const RChannelFrame& frame) {
    const QByteArray& p = frame.payload;
    switch (frame.type) {
    case EFrameType::CopyData:
        if (p.size() == 8 + static_cast<qsizetype>(RInstanceData::kSize))
            emit CopyDataReceived(ReadLe64(p, 0), RInstanceData::Deserialize(
                                                      reinterpret_cast<const uint8_t*>(p.constData() + 8), RInstanceData::kSize));
        break;
    case EFrameType::Message:
        if (p.size() == 20) emit MessageReceived(ReadLe32(p, 0), ReadLe64(p, 4), ReadLe64(p, 12));
        break;
    case EFrameType::Close: emit CloseRequested(); break;
    case EFrameType::Activate: emit ActivateRequested(); break;
    case EFrameType::Ack: break;
    }
}
