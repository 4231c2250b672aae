#pragma once
// Frames on the sockets between Bookshell windows. A frame is a 12-byte little-endian header -
// magic "BSC1", type (u16), zero (u16), payload length (u32) - and its payload. Each type has
// one fixed payload length, so a reader rejects anything else before buffering it:
//   CopyData  848: sender handle (u64) + the 840-byte instance record
//   Message    20: message number (u32), wParam (u64), lParam (u64)
//   Close, Activate, Ack   0
// The receiver answers CopyData and Close with Ack once its window has handled them.
#include <QByteArray>

#include <cstdint>

enum class EFrameType : uint16_t { CopyData = 1, Message = 2, Close = 3, Activate = 4, Ack = 5 };

struct RChannelFrame {
    EFrameType type = EFrameType::Ack;
    QByteArray payload;
};

constexpr qsizetype kFrameHeaderSize = 12;

QByteArray EncodeFrame(EFrameType type, const QByteArray& payload = {});

// Splits a byte stream into frames. Once it has seen a malformed header it stays broken: the
// stream cannot be resynchronised and the connection should be dropped.
class TFrameReader {
public:
    enum class EResult { NeedMore, Frame, Broken };

    void Append(const QByteArray& bytes);
    // Takes the next complete frame off the buffer.
    EResult Next(RChannelFrame& frame);

private:
    QByteArray buffer_;
    bool broken_ = false;
};

// Payload helpers for the fixed-size fields above.
void AppendLe64(QByteArray& out, uint64_t value);
void AppendLe32(QByteArray& out, uint32_t value);
uint64_t ReadLe64(const QByteArray& in, qsizetype at);
uint32_t ReadLe32(const QByteArray& in, qsizetype at);
