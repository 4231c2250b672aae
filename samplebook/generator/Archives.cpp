// The sample book's RAR archives, written here in the RAR 1.5-4 block format with every file
// stored: one with folders named by directory entries, one whose files lie in folders it does
// not name, a set of two volumes and the first volume of a set whose second is missing, one with
// a damaged file and one whose file is encrypted; and a zip file for a download link. Names are in the DOS code page, as DOS and
// Windows archivers stored them.
#include <QFile>
#include <QString>

#include <vector>

#include <zlib.h>

#include "Art.h"

namespace {

struct REntry {
    QString name;  // "\" between folders
    QByteArray data;
    bool directory = false;
};

// Cyrillic letters to code page 866; other characters as they are (ASCII only).
QByteArray Dos(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x0410 && u <= 0x042F) out += char(0x80 + (u - 0x0410));
        else if (u >= 0x0430 && u <= 0x043F) out += char(0xA0 + (u - 0x0430));
        else if (u >= 0x0440 && u <= 0x044F) out += char(0xE0 + (u - 0x0440));
        else out += char(u < 0x80 ? u : '_');
    }
    return out;
}

quint32 Crc(const QByteArray& bytes) { return quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size()))); }

// A block: its CRC (the low half of the CRC-32 of the rest) before the rest.
QByteArray Block(const QByteArray& rest) { return u16(int(Crc(rest) & 0xFFFF)) + rest; }

QByteArray MainHeader(int flags) { return Block(QByteArray(1, char(0x73)) + u16(flags) + u16(13) + u16(0) + u32(0)); }

QByteArray EndBlock(bool moreVolumes) { return Block(QByteArray(1, char(0x7B)) + u16(moreVolumes ? 1 : 0) + u16(7)); }

constexpr quint32 kTime = (2003u - 1980) << 25 | 2u << 21 | 7u << 16 | 13u << 11 | 5u << 5;

// A stored file (or directory) header and its data; flags add split and password bits.
QByteArray FileBlock(const REntry& e, const QByteArray& part, quint32 crc, int flags) {
    const QByteArray name = Dos(e.name);
    const int headFlags = 0x8000 | (e.directory ? 0xE0 : 0) | flags;
    const QByteArray rest = QByteArray(1, char(0x74)) + u16(headFlags) + u16(32 + int(name.size())) +
                            u32(quint32(part.size())) + u32(quint32(e.data.size())) + char(2) + u32(crc) + u32(kTime) +
                            char((flags & 0x04) ? 29 : 20) + char(0x30) + u16(int(name.size())) +
                            u32(e.directory ? 0x10 : 0x20) + name;
    return Block(rest) + part;
}

QByteArray Archive(const std::vector<REntry>& entries, bool encrypted = false) {
    QByteArray out = QByteArray("Rar!\x1A\x07\x00", 7) + MainHeader(0);
    for (const REntry& e : entries) out += FileBlock(e, e.data, Crc(e.data), encrypted && !e.directory ? 0x04 : 0);
    return out + EndBlock(false);
}

// The file split over volumes of at most perVolume bytes of data each: a volume's header carries
// the CRC of its part, the last one the CRC of the whole file.
std::vector<QByteArray> Volumes(const REntry& e, int perVolume) {
    std::vector<QByteArray> volumes;
    for (int at = 0, n = 0; at < e.data.size(); at += perVolume, ++n) {
        const QByteArray part = e.data.mid(at, perVolume);
        const bool last = at + perVolume >= e.data.size();
        const int split = (n > 0 ? 0x01 : 0) | (last ? 0 : 0x02);
        volumes.push_back(QByteArray("Rar!\x1A\x07\x00", 7) + MainHeader(0x0001 | 0x0010 | (n == 0 ? 0x0100 : 0)) +
                          FileBlock(e, part, last ? Crc(e.data) : Crc(part), split) + EndBlock(!last));
    }
    return volumes;
}

QByteArray Text(const char* ascii, int repeat = 1) {
    const QByteArray line(ascii);
    QByteArray out;
    for (int i = 0; i < repeat; ++i) out += line + "\r\n";
    return out;
}

// A zip file with its files stored, for the page's download link.
QByteArray Zip(const std::vector<REntry>& entries) {
    QByteArray local, central;
    for (const REntry& e : entries) {
        const QByteArray name = e.name.toUtf8();
        const QByteArray common = u16(10) + u16(0) + u16(0) + u16(int(kTime & 0xFFFF)) + u16(int(kTime >> 16)) +
                                  u32(Crc(e.data)) + u32(quint32(e.data.size())) + u32(quint32(e.data.size())) +
                                  u16(int(name.size())) + u16(0);
        central += QByteArray("PK\x01\x02", 4) + u16(20) + common + u16(0) + u16(0) + u16(0) + u32(0) +
                   u32(quint32(local.size())) + name;
        local += QByteArray("PK\x03\x04", 4) + common + name + e.data;
    }
    return local + central + QByteArray("PK\x05\x06", 4) + u16(0) + u16(0) + u16(int(entries.size())) +
           u16(int(entries.size())) + u32(quint32(central.size())) + u32(quint32(local.size())) + u16(0);
}

// The setup of the book's demo software ("rungame:=setup\demo.exe=BookDemo"): a script in
// place of a Windows program, so the link shows something on any machine.
bool writeDemoSetup(const QString& disc) {
    const QString path = disc + "/setup/demo.exe";
    const QByteArray script = QString::fromUtf8(
        "#!/bin/sh\n"
        "# Stands in for the setup of the book's demo software: it says what it is and ends.\n"
        "text='Демонстрационная программа книги. Настоящий диск установил бы здесь программу;'\n"
        "text=\"$text"
        " пример только показывает, что ссылка «Установить или запустить программу» её запускает.\"\n"
        "if command -v zenity >/dev/null 2>&1; then zenity --info --title=BookDemo --text=\"$text\"\n"
        "elif command -v kdialog >/dev/null 2>&1; then kdialog --title BookDemo --msgbox \"$text\"\n"
        "elif command -v xmessage >/dev/null 2>&1; then\n"  // no Cyrillic in its fonts
        "  xmessage -center -title BookDemo \"The book's demo program.\n"
        "A real disc would install a program here.\"\n"
        "else printf '%s\\n' \"$text\"; fi\n").toUtf8();
    return writeFile(path, script) &&
           QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

}  // namespace

bool drawArchives(const QString& disc) {
    const QString dir = disc + "/archives/";
    const QString docs = QString::fromUtf8("Документы");
    bool ok = writeFile(dir + "folders.rar", Archive({{docs + "\\readme.txt", Text("Read me first."), false},
                                                      {"schema\\engine.txt", Text("Engine wiring, sheet 1.", 40), false},
                                                      {"schema", {}, true},
                                                      {docs, {}, true},
                                                      {"top.txt", Text("At the top."), false}}));
    ok &= writeFile(dir + "nodirs.rar", Archive({{"a\\b\\deep.txt", Text("Two folders down."), false},
                                                 {"a\\note.txt", Text("One folder down."), false},
                                                 {"top.txt", Text("At the top."), false}}));
    const auto volumes = Volumes({"manual.txt", Text("A manual split over two volumes.", 300), false}, 6000);
    for (size_t i = 0; i < volumes.size(); ++i) ok &= writeFile(dir + QString("manual.part%1.rar").arg(i + 1), volumes[i]);
    ok &= writeFile(dir + "lost.part1.rar", volumes.front());  // its second volume is missing
    QByteArray broken = Archive({{"first.txt", Text("Fine."), false}, {"second.txt", Text("Damaged.", 20), false}});
    broken[broken.size() - 40] = char(broken[broken.size() - 40] ^ 0x55);  // a byte of the second file's data
    ok &= writeFile(dir + "broken.rar", broken);
    ok &= writeFile(dir + "manual.zip", Zip({{"manual.txt", Text("The manual as a zip file.", 10), false}}));
    ok &= writeFile(dir + "locked.rar", Archive({{"secret.txt", Text("Not for everyone."), false}}, true));
    return ok && writeDemoSetup(disc);
}
