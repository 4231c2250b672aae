#pragma once
// TChannelWindow: how a top-level window of Bookshell is seen by the program's other processes.
// Every such window owns one. It publishes the window's caption and visibility under a handle
// unique across processes and listens on a local socket behind that handle; what other
// processes send it arrives as signals on the window thread. Creating it registers the window
// (hidden, without caption); destroying it withdraws the entry.
//
// Signals come from the event loop, so handlers may close or delete the window.
// A window of this same process sent copy data or a close request gets the signal at once,
// inside the sending call, as a sent window message would.
#include <QObject>

#include <string>

#include "platform/ChannelFrame.h"
#include "platform/InstanceData.h"
#include "platform/WindowEntry.h"

class QLocalServer;

class TChannelWindow : public QObject {
    Q_OBJECT
public:
    explicit TChannelWindow(QObject* parent = nullptr);
    ~TChannelWindow() override;

    THandle Handle() const { return handle_; }

    // The caption other processes find the window by (CP1251).
    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }

    // A window that becomes visible moves to the top of the stacking order.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    // Moves the window to the top of the stacking order; call it when the window is raised or
    // activated.
    void MarkRaised();

    // The entry as published now.
    RWindowEntry Entry() const;

    // Emits the signal a frame stands for; frames of an unknown or invalid kind are ignored.
    void Dispatch(const RChannelFrame& frame);

signals:
    // A copy-data record; wParam is the sender's handle.
    void CopyDataReceived(quint64 wParam, const RInstanceData& data);
    void MessageReceived(quint32 message, quint64 wParam, quint64 lParam);
    void CloseRequested();
    // Another process asks the window to restore itself and come to the front.
    void ActivateRequested();

private:
    void Publish();
    void AcceptConnections();

    THandle handle_ = 0;
    QString serverName_;
    QLocalServer* server_ = nullptr;
    std::string caption_;
    bool visible_ = false;
    quint64 order_ = 0;
};
