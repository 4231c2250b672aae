#include "platform/ChannelConnection.h"

#include <QLocalSocket>

#include "platform/ChannelWindow.h"

TChannelConnection::TChannelConnection(QLocalSocket* socket, TChannelWindow* window)
    : socket_(socket), window_(window) {
    socket_->setParent(this);
    // Not the window's child: an answer still goes out when the handler destroyed the window.
    connect(window, &QObject::destroyed, this, &QObject::deleteLater);
    connect(socket_, &QLocalSocket::readyRead, this, &TChannelConnection::ReadFrames);
    connect(socket_, &QLocalSocket::disconnected, this, &TChannelConnection::Finish);
    ReadFrames();  // bytes may have arrived before the signals were connected
    if (socket_->state() != QLocalSocket::ConnectedState) Finish();
}

void TChannelConnection::ReadFrames() {
    if (socket_->bytesAvailable() > 0) reader_.Append(socket_->readAll());
    RChannelFrame frame;
    for (;;) {
        switch (reader_.Next(frame)) {
        case TFrameReader::EResult::NeedMore: return;
        case TFrameReader::EResult::Broken:
            socket_->disconnect(this);  // no more reading from a stream that is being dropped
            socket_->abort();
            deleteLater();
            return;
        case TFrameReader::EResult::Frame: break;
        }
        const bool answer = frame.type == EFrameType::CopyData || frame.type == EFrameType::Close;
        QPointer<TChannelConnection> self(this);
        QMetaObject::invokeMethod(
            window_,
            [window = window_, self, frame, answer] {
                if (window) window->Dispatch(frame);
                if (answer && self) self->Acknowledge();
            },
            Qt::QueuedConnection);
    }
}

void TChannelConnection::Finish() {
    ReadFrames();  // frames written just before the peer closed still count
    deleteLater();
}

void TChannelConnection::Acknowledge() {
    if (socket_->state() != QLocalSocket::ConnectedState) return;
    socket_->write(EncodeFrame(EFrameType::Ack));
    socket_->flush();
}
