#include "PageTestBook.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>

#include "base/Cp1251.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/PackFile.h"
#include "packs/PackWriter.h"
#include "platform/hostpaths/Drives.h"

namespace fs = std::filesystem;

namespace {

const char kGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,"
                    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";

std::string FrontPage() {
    std::string page = "<html><head><meta charset=\"windows-1251\"><title>Передние тормоза</title></head><body>"
                       "<p>Тормозная колодка</p><a id=up href=\"..\\Index.htm\">вверх</a>";
    for (int i = 0; i < 150; ++i) page += "<p>Строка " + std::to_string(i) + "</p>";
    page += "<p id=last>Колодка задняя</p></body></html>";
    return page;
}

std::string BigPage() {
    std::string page = "<html><body><p>";
    for (int i = 0; i < 4000; ++i) page += "0123456789";
    return page + "</p></body></html>";
}

} // namespace

std::string Cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

void SetUpTestBook() {
    static QTemporaryDir* disc = nullptr;
    if (disc) return;
    disc = new QTemporaryDir;
    const fs::path root = disc->path().toStdString();
    fs::create_directories(root / "run" / "html");

    TPackWriter pack;
    pack.AddFile("run\\html\\index.htm",
                 Cp("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                    "<title>Оглавление</title><link rel=stylesheet href=\"..\\CSS\\book.css\"></head><body>"
                    "<p id=t>Привет, мир</p>"
                    "<img id=pic src=\"img\\Pic.GIF\" title=\"Картинка\" style=\"position:absolute;left:300px;top:10px;width:40px;height:40px\">"
                    "<a id=l1 href=\"brakes\\front.htm\">Тормоза</a> <a id=l2 href=\"nometa.htm#part\">Без</a> "
                    "<a id=blank href=\"img\\pic.gif\" target=\"_blank\">Крупно</a> <a id=copy href=\"copy:file.zip\">Копия</a> "
                    "<a id=cyr href=\"copy:Файл Ремонта.ZIP\">Файл</a> <a id=drive href=\"copy://d:\\Soft\\x.zip\">Диск</a> "
                    "<a id=self href=\"#bottom\">Вниз</a>"
                    "<select name=\"Serial\"><option>111</option><option selected>222</option></select>"
                    "<select name=other multiple><option selected>x</option></select>"
                    "<p id=bottom>Конец</p></body></html>"));
    pack.AddFile("run\\html\\nometa.htm",
                 Cp("<html><head><title>Без кодировки</title></head><body bgcolor=\"#00ff00\"><p id=part>Съешь же ещё этих мягких булок</p></body></html>"));
    pack.AddFile("run\\html\\plain.htm", Cp("<html><body><p id=p>Текст</p><a id=a href=\"index.htm\">ссылка</a></body></html>"));
    pack.AddFile("run\\css\\book.css", "#t { color: rgb(1, 2, 3); }");
    pack.AddFile("run\\html\\img\\pic.gif", std::string(kGif, sizeof kGif - 1));
    pack.AddFile("run\\html\\brakes\\front.htm", Cp(FrontPage().c_str()));
    pack.AddFile("run\\html\\big.htm", BigPage());
    pack.AddFile("run\\html\\frames.htm",
                 "<html><frameset cols=\"30%,*\"><frame name=\"Toc\" src=\"toc.htm\"><frame name=\"Main\" src=\"plain.htm\"></frameset></html>");
    pack.AddFile("run\\html\\toc.htm", Cp("<html><body><a id=go href=\"brakes\\front.htm\" target=\"Main\">Тормоза</a></body></html>"));
    std::ofstream(root / "run" / "interface.dat", std::ios::binary) << pack.Build();
    std::ofstream(root / "run" / "html" / "disk.htm", std::ios::binary) << Cp("<html><head><title>С диска</title></head><body>диск</body></html>");

    SetupDrives((root / "run").string(), 'd');
    OpenPack("d:\\run\\interface.dat");
    SetPackRootPrefix("d:\\");
}

bool WaitLoaded(TFrameViewer& viewer) {
    if (!viewer.IsLoading()) return true;
    QSignalSpy spy(&viewer, &TFrameViewer::LoadFinished);
    return spy.wait(10000) && spy.last().at(0).toBool();
}

bool LoadAndWait(TFrameViewer& viewer, const std::string& winPath) {
    QSignalSpy spy(&viewer, &TFrameViewer::LoadFinished);
    if (!viewer.LoadFile(winPath)) return false;
    return spy.wait(10000) && spy.last().at(0).toBool();
}

QVariant Eval(TFrameViewer& viewer, const QString& script) {
    return viewer.EvaluateScript(script);
}

QVariant EvalUntil(TFrameViewer& viewer, const QString& script, const QVariant& expected) {
    QVariant value;
    for (int i = 0; i < 100; ++i) {
        value = Eval(viewer, script);
        if (value == expected) break;
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return value;
}

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}
