#include "PrintTestBook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "base/Cp1251.h"
#include "platform/hostpaths/Drives.h"

namespace fs = std::filesystem;

namespace {

void WritePage(const fs::path& file, const std::string& body) {
    std::ofstream(file, std::ios::binary) << Cp1251::fromUtf8(
        "<html><head><meta charset=\"windows-1251\"><title>Печать</title></head><body>" + body + "</body></html>");
}

}  // namespace

void SetUpPrintBook() {
    static QTemporaryDir* disc = nullptr;
    if (disc) return;
    disc = new QTemporaryDir;
    const fs::path html = fs::path(disc->path().toStdString()) / "run" / "html";
    fs::create_directories(html);
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "<p>Строка текста номер " + std::to_string(i) + "</p>";
    WritePage(html / "long.htm", "<h1>Двигатель</h1>" + text);
    WritePage(html / "short.htm", "<p>Одна короткая страница</p>");
    std::ofstream(html / "frames.htm", std::ios::binary)
        << "<html><frameset rows=\"60,*\"><frame src=\"short.htm\" name=\"Top\"><frame src=\"long.htm\" name=\"Bot\">"
           "</frameset></html>";
    QImage wide(1200, 400, QImage::Format_RGB32);
    wide.fill(Qt::darkBlue);
    wide.save(QString::fromStdString((html / "wide.bmp").string()));
    QImage tall(300, 900, QImage::Format_RGB32);
    tall.fill(Qt::darkGreen);
    tall.save(QString::fromStdString((html / "tall.bmp").string()));
    SetupDrives((fs::path(disc->path().toStdString()) / "run").string(), 'd');
}

bool PrinterExpected() {
    if (!QPrinterInfo::defaultPrinter().isNull()) return true;
    EXPECT_TRUE(qEnvironmentVariableIsEmpty("BOOKSHELL_PRINT_OUT")) << "the test command's PDF printer is missing";
    return false;
}

void OnNextModal(std::function<bool(QWidget*)> accept, std::function<void(QWidget*)> answer) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, accept, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (!accept(modal) || !modal->isVisible())) modal = nullptr;
        if (!modal && clock->elapsed() < 20000) return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (modal) answer(modal);
    });
    poll->start(20);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}
