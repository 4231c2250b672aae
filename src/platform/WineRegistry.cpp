#include "platform/WineRegistry.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr qint64 kMaxRegistryFile = 256ll << 20;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads an escaped text from line[pos] up to the unescaped terminator; pos ends after it.
// False when the line ends first.
bool Unescape(const QByteArray& line, qsizetype& pos, char terminator, QString& out) {
    out.clear();
    QByteArray raw;  // undecoded UTF-8 bytes since the last escape
    auto flush = [&] {
        out += QString::fromUtf8(raw);
        raw.clear();
    };
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == terminator) {
            flush();
            return true;
        }
        if (c != '\\' || pos >= line.size()) {
            raw += c;
            continue;
        }
        flush();
        const char e = line[pos++];
        switch (e) {
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'a': out += QChar(7); break;
        case 'b': out += QChar(8); break;
        case 'v': out += QChar(11); break;
        case 'f': out += QChar(12); break;
        case 'e': out += QChar(27); break;
        case 'x': {
            int value = 0, digits = 0;
            for (; digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0; ++digits)
                value = value * 16 + HexDigit(line[pos++]);
            out += digits ? QChar(static_cast<char16_t>(value)) : QChar(u'x');
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0', digits = 1;
                for (; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits)
                    value = value * 8 + (line[pos++] - '0');
                out += QChar(static_cast<char16_t>(value));
            } else {
                raw += e;  // \\ \" \[ \] and anything else stand for themselves
            }
        }
    }
    return false;
}

QByteArray ReadAsUtf8(const QString& regFile) {
    QFile file(regFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxRegistryFile) return {};
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto decode = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                                  : QStringDecoder::Utf16BE);
        return QString(decode(bytes.mid(2))).toUtf8();
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return bytes;
}

// One value line of the wanted key: a string value goes into values; anything else is skipped.
void ReadValueLine(const QByteArray& line, QHash<QString, QString>& values) {
    qsizetype pos = 0;
    QString name;
    if (line.startsWith('@')) {
        name = QStringLiteral("@");
        pos = 1;
    } else {
        pos = 1;
        if (!line.startsWith('"') || !Unescape(line, pos, '"', name)) return;
    }
    if (pos >= line.size() || line[pos] != '=') return;
    ++pos;
    if (line.mid(pos, 7) == "str(1):" || line.mid(pos, 7) == "str(2):") pos += 7;
    if (pos >= line.size() || line[pos] != '"') return;
    ++pos;
    QString text;
    if (Unescape(line, pos, '"', text)) values.insert(name.toCaseFolded(), text);
}

} // namespace

bool ReadWineRegistryKey(const QString& regFile, const QString& keyPath,
                         QHash<QString, QString>& values) {
    values.clear();
    const QByteArray bytes = ReadAsUtf8(regFile);
    bool inKey = false;
    bool found = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        const bool header = bytes[start] == '[';
        if (!header && !inKey) {  // most of a large file: skipped without a copy
            start = end + 1;
            continue;
        }
        QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);

        if (header) {
            if (found) break;  // the key's lines have ended
            qsizetype pos = 1;
            QString path;
            inKey = Unescape(line, pos, ']', path) &&
                    path.compare(keyPath, Qt::CaseInsensitive) == 0;
            found = inKey;
        } else if (inKey) {
            ReadValueLine(line, values);
        }
    }
    return found;
}
