#include "hostile/HostileDisc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>

#include "archive/rar/RarTestUtil.h"
#include "base/Cp1251.h"

namespace fs = std::filesystem;

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void WriteProgram(const QString& path, const QByteArray& body) {
    Write(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Every way a page's own script has of acting as if the reader had clicked: the viewer's old
// report line, a script's click and a dispatched event on a software link, a program link and a
// copy link, a new window, a frame and a navigation to a software link.
QByteArray HostilePage(const RHostileDisc& d) {
    const QString run = "rungame:=" + d.Windows("evil.sh") + "=Evil";
    return QStringLiteral(R"(<html><head><title>hostile</title></head><body>
<a id=run href="%1">run</a> <a id=prog href="..\setup\evil.exe">program</a> <a id=copy href="copy:hostile.htm">copy</a>
<a id=pic href="..\setup\evil.exe" target="_blank">picture</a>
<iframe src="%1"></iframe><iframe src="inner.htm"></iframe>
<script>
var soft = document.getElementById('run').getAttribute('href');
console.log('\x01bookshell:link\t' + soft + '\t\t' + soft + '\t' + location.href + '\t');
['run', 'prog', 'copy', 'pic'].forEach(function(id) {
  var a = document.getElementById(id);
  a.click();
  a.dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true, view: window}));
});
try { window.open(document.getElementById('prog').href); } catch (e) {}
try { qt.webChannelTransport.send('{"type":6,"object":"bookshell","method":"report","args":["link",[]]}'); } catch (e) {}
document.title = 'attacked';
setTimeout(function() { location.href = soft; }, 100);
</script></body></html>
)")
        .arg(run)
        .toUtf8();
}

QByteArray InnerPage() {
    return "<html><body><script>parent.document.getElementById('run').click();"
           "parent.document.getElementById('prog').click();</script></body></html>";
}

QByteArray RefreshPage(const RHostileDisc& d) {
    return QStringLiteral("<html><head><meta http-equiv=\"refresh\" content=\"0; url=rungame:=%1=Evil\"></head>"
                          "<body>refresh</body></html>")
        .arg(d.Windows("evil.sh"))
        .toUtf8();
}

QByteArray ForeignPage(const RHostileDisc& d) {
    return QStringLiteral("<html><head><title>dropped</title></head><body><a id=run href=\"rungame:=%1=Evil\">run</a>"
                          "<a id=prog href=\"setup.exe\">program</a><script>document.title = 'ran';</script></body></html>")
        .arg(d.Windows("evil.sh"))
        .toUtf8();
}

// Twelve names that would land outside the listing folder, a file, a hard link to it, and a
// page that scripts and links to software.
std::string HostileArchive(const RHostileDisc& d) {
    std::vector<TRar5Entry> entries;
    for (int i = 0; i < 6; ++i) entries.push_back(Rar5File("../../up" + std::to_string(i) + ".txt", "climbed"));
    for (int i = 0; i < 3; ++i) entries.push_back(Rar5File("/abs" + std::to_string(i) + ".txt", "absolute"));
    for (const char* name : {"z:/evil.txt", "a/../../b.txt", "tmp/../../../c.txt"}) entries.push_back(Rar5File(name, "odd"));
    entries.push_back(Rar5File("ok.txt", "fine"));
    entries.push_back(Rar5Link("same.txt", 4, "ok.txt"));
    entries.push_back(Rar5File("page.htm", ForeignPage(d).replace("dropped", "unpacked").toStdString()));
    return MakeRar5(entries);
}

void Build(RHostileDisc& d, const QString& folder) {
    d.root = folder + "/disc";
    d.program = d.root + "/run";
    d.bin = folder + "/bin";
    std::error_code ec;
    fs::copy(fs::path(SAMPLE_RUN).parent_path(), d.root.toStdString(), fs::copy_options::recursive, ec);
    for (const char* name : {"evil.sh", "other.sh"}) WriteProgram(d.Program(name), "touch \"$0.ran\"\n");
    // A program on the disc under a Windows name, and one beside the foreign page.
    WriteProgram(d.program + "/setup/evil.exe", QStringLiteral("touch '%1'\n").arg(d.Mark("evil.exe")).toUtf8());
    WriteProgram(folder + "/foreign/setup.exe", QStringLiteral("touch '%1'\n").arg(d.Mark("setup.exe")).toUtf8());
    WriteProgram(d.Program("args.sh"), "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.part\" && mv \"$0.part\" \"$0.ran\"\n");
    const QString html = d.program + "/html/";
    Write(html + "hostile.htm", HostilePage(d));
    Write(html + "inner.htm", InnerPage());
    Write(html + "refresh.htm", RefreshPage(d));
    Write(html + "copyme.htm", "<html><body>copy me</body></html>");
    Write(html + "copyme.files/picture.gif", "GIF89a");
    Write(html + "copyme.files/a\\..\\..\\..\\..\\precious.txt", "the attacker's");
    Write(folder + "/foreign/dropped.htm", ForeignPage(d));
    const std::string archive = HostileArchive(d);
    Write(d.program + "/archives/hostile.rar", QByteArray(archive.data(), qsizetype(archive.size())));
}

} // namespace

QString RHostileDisc::Windows(const QString& name) const {
    return "z:" + Program(name).replace('/', '\\');
}

const RHostileDisc& HostileDisc() {
    static QTemporaryDir* folder = nullptr;
    static RHostileDisc disc;
    if (!folder) {
        folder = new QTemporaryDir;
        Build(disc, folder->path());
    }
    return disc;
}

void ClearMarks(const RHostileDisc& disc) {
    for (const QString& mark : QDir(disc.bin).entryList({"*.ran"})) QFile::remove(disc.bin + "/" + mark);
}

bool Ran(const RHostileDisc& disc, const QString& name) { return QFile::exists(disc.Mark(name)); }
