#include "platform/WindowEntry.h"

#include <QList>

#include "base/Cp1251.h"

namespace {

const QByteArray kFirstLine = "bookshell-window 1\n";
const QByteArray kCaptionKey = "caption=";

} // namespace

QString RWindowEntry::FileName(THandle handle) {
    return QStringLiteral("%1.win").arg(handle, 16, 16, QChar(u'0'));
}

QByteArray RWindowEntry::Serialize() const {
    QByteArray out = kFirstLine;
    out += "handle=" + QByteArray::number(handle, 16) + '\n';
    out += "pid=" + QByteArray::number(pid) + '\n';
    out += "server=" + server.toUtf8() + '\n';
    out += QByteArray("visible=") + (visible ? '1' : '0') + '\n';
    out += "order=" + QByteArray::number(order) + '\n';
    out += kCaptionKey + QByteArray::fromStdString(Cp1251::toUtf8(caption));
    return out;
}

std::optional<RWindowEntry> RWindowEntry::Parse(const QByteArray& text) {
    if (!text.startsWith(kFirstLine)) return std::nullopt;
    const qsizetype captionAt = text.indexOf("\n" + kCaptionKey);
    if (captionAt < 0) return std::nullopt;
    RWindowEntry entry;
    bool haveHandle = false, havePid = false, haveServer = false, haveVisible = false, haveOrder = false;
    const QList<QByteArray> lines = text.mid(kFirstLine.size(), captionAt + 1 - kFirstLine.size()).split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) continue;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        bool ok = false;
        if (key == "handle") {
            entry.handle = value.toULongLong(&ok, 16);
            haveHandle = ok && entry.handle != 0;
        } else if (key == "pid") {
            entry.pid = value.toLongLong(&ok);
            havePid = ok && entry.pid > 0;
        } else if (key == "server") {
            entry.server = QString::fromUtf8(value);
            haveServer = !entry.server.isEmpty();
        } else if (key == "visible") {
            entry.visible = value == "1";
            haveVisible = value == "0" || value == "1";
        } else if (key == "order") {
            entry.order = value.toULongLong(&ok);
            haveOrder = ok;
        }
    }
    if (!(haveHandle && havePid && haveServer && haveVisible && haveOrder)) return std::nullopt;
    entry.caption = Cp1251::fromUtf8(text.mid(captionAt + 1 + kCaptionKey.size()).toStdString());
    return entry;
}
