#pragma once
// RWindowEntry: what one Bookshell window publishes about itself in the runtime folder, so that
// other processes can find it by caption and reach its socket. Stored as a small UTF-8 text file
// named "<handle in hex>.win":
//   bookshell-window 1 / handle= / pid= / server= / visible=0|1 / order= / caption=<to the end>
// The caption comes last and runs to the end of the file, so it may hold any character.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// A window handle, unique across processes: the process ID in the high 32 bits, a per-process
// counter in the low ones. 0 is no window.
using THandle = uint64_t;

struct RWindowEntry {
    THandle handle = 0;
    qint64 pid = 0;
    QString server;       // QLocalServer name (a socket path)
    bool visible = false;
    quint64 order = 0;    // larger = shown or raised more recently = higher in the stacking order
    std::string caption;  // CP1251

    QByteArray Serialize() const;
    // Nothing for text that is not a complete entry.
    static std::optional<RWindowEntry> Parse(const QByteArray& text);

    static QString FileName(THandle handle);
};
