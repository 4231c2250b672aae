#pragma once
// TInstanceChannel: finding the windows of all running Bookshell processes by caption and sending
// them records and messages, the way the program's instances talk to each other.
//
// Each TChannelWindow publishes an entry in "windows" below the runtime folder. Stacking order:
// the window most recently registered, shown or raised (TChannelWindow::MarkRaised) is on top.
// Entries of processes that died, or whose socket no longer answers, are removed when met.
//
// Window thread only. Sends to a window of another process block the caller until that window has
// handled them, for at most kSendTimeoutMs; a handler must therefore not make a blocking send back
// to its sender (post instead), or both wait out the timeout.
#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ChannelFrame.h"
#include "platform/InstanceData.h"
#include "platform/WindowEntry.h"

class TChannelWindow;

class TInstanceChannel {
public:
    static constexpr int kSendTimeoutMs = 5000;
    static constexpr size_t kCaptionCompareLength = 128;

    static TInstanceChannel& Instance();

    // The first visible window, from the top of the stacking order, whose caption (its first
    // kCaptionCompareLength characters) equals title case-insensitively. Windows without a
    // caption never match.
    bool FindVisibleWindow(const std::string& title, THandle& handle);
    // All such windows, topmost first.
    std::vector<THandle> FindVisibleWindows(const std::string& title);

    // Copy data: returns once the receiver has handled the record; false when the window is
    // gone or did not answer in time. wParam at the receiver is from.
    bool SendCopyData(THandle to, THandle from, const RInstanceData& data);
    // Queues a message for the window and returns; false when the window is gone.
    bool PostMessage(THandle to, uint32_t message, uint64_t wParam, uint64_t lParam);
    // A close request, handled before the call returns.
    bool SendClose(THandle to);
    // Asks the window to restore itself and come to the front; returns at once.
    bool PostActivate(THandle to);

    // True while the window exists: a window of this process, or an entry whose process lives.
    bool IsWindow(THandle handle);

    QString EntryFolder() const { return folder_; }

    // For TChannelWindow.
    THandle Register(TChannelWindow* window);
    void Unregister(TChannelWindow* window);
    void Publish(const RWindowEntry& entry);
    quint64 NextOrder();
    QString ServerName(THandle handle) const;

private:
    TInstanceChannel();

    std::vector<THandle> Walk(const std::string& title, bool firstOnly);
    std::vector<RWindowEntry> Entries();
    bool Lookup(THandle handle, RWindowEntry& entry);
    void Remove(THandle handle);
    // Writes a frame to another process's window; with waitForAck, also waits for its answer.
    bool Transmit(const RWindowEntry& entry, const QByteArray& frame, bool waitForAck);
    // To a window of this process directly (sent: at once; posted: from the event loop).
    bool Deliver(THandle to, EFrameType type, const QByteArray& payload, bool sent);

    QString folder_;
    std::map<THandle, TChannelWindow*> own_;
    uint32_t counter_ = 0;
    quint64 lastOrder_ = 0;
};
