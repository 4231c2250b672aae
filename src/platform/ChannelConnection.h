#pragma once
// TChannelConnection: one incoming socket of a TChannelWindow. It splits the stream into frames
// and hands each to the window from the window's event loop, never from inside the socket's own
// notification, so a handler may close or delete the window. CopyData and Close are answered
// with Ack once the window has handled them, even when the handler destroyed the window. A
// malformed stream drops the connection; so does the end of the window.
#include <QObject>
#include <QPointer>

#include "platform/ChannelFrame.h"

class QLocalSocket;
class TChannelWindow;

class TChannelConnection : public QObject {
    Q_OBJECT
public:
    // Takes ownership of socket; lives until the peer disconnects or the window is destroyed.
    TChannelConnection(QLocalSocket* socket, TChannelWindow* window);

private:
    void ReadFrames();
    void Finish();
    void Acknowledge();

    QLocalSocket* socket_;
    QPointer<TChannelWindow> window_;
    TFrameReader reader_;
};
