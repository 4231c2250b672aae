#include "platform/ChannelFrame.h"

#include <QtEndian>

#include "platform/InstanceData.h"

namespace {

constexpr uint32_t kMagic = 0x31435342;  // "BSC1"

// The payload length each type must carry, or -1 for an unknown type.
qsizetype PayloadSize(uint16_t type) {
    switch (static_cast<EFrameType>(type)) {
    case EFrameType::CopyData: return 8 + static_cast<qsizetype>(RInstanceData::kSize);
    case EFrameType::Message: return 20;
    case EFrameType::Close:
    case EFrameType::Activate:
    case EFrameType::Ack: return 0;
    }
    return -1;
}

} // namespace

void AppendLe64(QByteArray& out, uint64_t value) {
    const quint64 le = qToLittleEndian<quint64>(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void AppendLe32(QByteArray& out, uint32_t value) {
    const quint32 le = qToLittleEndian<quint32>(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

uint64_t ReadLe64(const QByteArray& in, qsizetype at) { return qFromLittleEndian<quint64>(in.constData() + at); }

uint32_t ReadLe32(const QByteArray& in, qsizetype at) { return qFromLittleEndian<quint32>(in.constData() + at); }

QByteArray EncodeFrame(EFrameType type, const QByteArray& payload) {
    QByteArray out;
    out.reserve(kFrameHeaderSize + payload.size());
    AppendLe32(out, kMagic);
    AppendLe32(out, static_cast<uint16_t>(type));  // type in the low half, zero in the high half
    AppendLe32(out, static_cast<uint32_t>(payload.size()));
    out.append(payload);
    return out;
}

void TFrameReader::Append(const QByteArray& bytes) {
    if (!broken_) buffer_.append(bytes);
}

TFrameReader::EResult TFrameReader::Next(RChannelFrame& frame) {
    if (broken_) return EResult::Broken;
    if (buffer_.size() < kFrameHeaderSize) return EResult::NeedMore;
    const uint32_t typeWord = ReadLe32(buffer_, 4);
    const qsizetype expected = PayloadSize(static_cast<uint16_t>(typeWord));
    if (ReadLe32(buffer_, 0) != kMagic || (typeWord >> 16) != 0 || expected < 0 ||
        ReadLe32(buffer_, 8) != static_cast<uint32_t>(expected)) {
        broken_ = true;
        buffer_.clear();
        return EResult::Broken;
    }
    if (buffer_.size() < kFrameHeaderSize + expected) return EResult::NeedMore;
    frame.type = static_cast<EFrameType>(typeWord);
    frame.payload = buffer_.mid(kFrameHeaderSize, expected);
    buffer_.remove(0, kFrameHeaderSize + expected);
    return EResult::Frame;
}
