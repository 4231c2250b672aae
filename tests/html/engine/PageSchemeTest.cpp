// Addresses of book pages and the content types they are served with; pages, pictures and
// stylesheets read from the pack through the real browser.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "PageTestBook.h"
#include "base/GlobalPaths.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageContent.h"
#include "html/engine/PageScheme.h"
#include "html/engine/PageUrl.h"
#include "platform/hostpaths/Drives.h"

namespace {

class PageSchemeTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpTestBook(); }
};

TEST_F(PageSchemeTest, PathsAndUrlsRoundTripByTheDiscsRules) {
    EXPECT_EQ(PageUrl("D:\\run\\html\\index.htm").toString(), "book://d/run/html/index.htm");
    EXPECT_EQ(PageUrl("d:\\run\\html\\index.htm#part").fragment(), "part");
    EXPECT_EQ(PagePath(QUrl("book://d/run/html/brakes%5CFront.htm#x")), "d:\\run\\html\\brakes\\Front.htm");
    EXPECT_EQ(PagePath(QUrl("book://d/run/../../../x.htm")), "d:\\x.htm");
    EXPECT_EQ(FullPagePath("html\\.\\a\\..\\b.htm"), "d:\\run\\html\\b.htm");  // from the program folder
    EXPECT_EQ(FullPagePath("\\top.htm"), "d:\\top.htm");
    const std::string cyrillic = Cp("d:\\run\\Ремонт\\Двигатель 1.htm");
    EXPECT_EQ(PagePath(PageUrl(cyrillic)), cyrillic);
    // Escapes that are no UTF-8 are the disc's own code page.
    EXPECT_EQ(PagePath(QUrl("book://d/%CF%F0.htm")), Cp("d:\\Пр.htm"));
    EXPECT_EQ(PagePath(QUrl("http://d/a.htm")), "");
    EXPECT_EQ(PagePath(QUrl("book://host/a.htm")), "");
}

TEST_F(PageSchemeTest, ContentTypesBySignatureExtensionAndMeta) {
    EXPECT_EQ(PageContentType("a.dat", "GIF89a...."), "image/gif");
    EXPECT_EQ(PageContentType("a.jpg", "\x89PNG\r\n"), "image/png");  // the signature decides
    EXPECT_EQ(PageContentType("a", "\xFF\xD8\xFF\xE0"), "image/jpeg");
    EXPECT_EQ(PageContentType("a.bmp", "BM...."), "image/bmp");
    EXPECT_EQ(PageContentType("a.ico", std::string_view("\0\0\1\0", 4)), "image/x-icon");
    EXPECT_EQ(PageContentType("x\\A.CSS", "body{}"), "text/css");
    EXPECT_EQ(PageContentType("a.HTM", "<html><body>"), "text/html;charset=windows-1251");
    EXPECT_EQ(PageContentType("a.html", "<META http-equiv=\"Content-Type\" content=\"text/html; charset=KOI8-R\">"),
              "text/html;charset=koi8-r");
    EXPECT_EQ(PageContentType("a.htm", "<meta charset='utf-8'>"), "text/html;charset=utf-8");
    EXPECT_EQ(PageContentType("readme.txt", "text"), "text/plain;charset=windows-1251");
    EXPECT_EQ(PageContentType("dir.v1\\setup", "MZ"), "application/octet-stream");
}

TEST_F(PageSchemeTest, PackPageWithPictureAndStylesheetKeepsItsCyrillicText) {
    TFrameViewer viewer;
    viewer.resize(800, 600);
    viewer.show();
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\RUN\\html\\index.htm"));
    EXPECT_EQ(viewer.CurrentFile(), "d:\\RUN\\html\\index.htm");
    EXPECT_EQ(viewer.Title(), QString::fromUtf8("Оглавление"));
    EXPECT_TRUE(Eval(viewer, "document.body.innerText").toString().contains(QString::fromUtf8("Привет, мир")));
    EXPECT_EQ(Eval(viewer, "document.getElementById('pic').naturalWidth").toInt(), 1);
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('t')).color").toString(), "rgb(1, 2, 3)");
}

TEST_F(PageSchemeTest, PageWithoutCharsetIsWindows1251AndDiskIsTheFallback) {
    TFrameViewer viewer;
    viewer.resize(800, 600);
    viewer.show();
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\nometa.htm"));
    EXPECT_EQ(Eval(viewer, "document.characterSet").toString().toLower(), "windows-1251");
    EXPECT_EQ(Eval(viewer, "document.getElementById('part').innerText").toString(),
              QString::fromUtf8("Съешь же ещё этих мягких булок"));
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\DISK.htm"));
    EXPECT_EQ(viewer.Title(), QString::fromUtf8("С диска"));
}

TEST_F(PageSchemeTest, MissingFileIsRefusedAndChangesNothing) {
    TFrameViewer viewer;
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\plain.htm"));
    int changes = 0;
    QObject::connect(&viewer, &TFrameViewer::HistoryChanged, [&] { ++changes; });
    EXPECT_FALSE(viewer.LoadFile("d:\\run\\html\\missing.htm"));
    EXPECT_FALSE(viewer.LoadFile("d:\\run\\html"));  // a folder is no page
    EXPECT_EQ(viewer.CurrentFile(), "d:\\run\\html\\plain.htm");
    EXPECT_EQ(viewer.HistoryFiles().size(), 1u);
    EXPECT_EQ(changes, 0);
}

TEST_F(PageSchemeTest, DefaultsGiveWayToThePagesOwnColours) {
    TFrameViewer viewer;
    viewer.SetDefBackground(0x0000FF);  // red as 0x00BBGGRR
    viewer.SetDefFontColor(0xFF0000);   // blue
    viewer.SetDefHotSpotColor(0x00FF00);
    viewer.SetDefFontSize(15);          // 20 px
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\plain.htm"));
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.body).backgroundColor").toString(), "rgb(255, 0, 0)");
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('p')).color").toString(), "rgb(0, 0, 255)");
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('a')).color").toString(), "rgb(0, 255, 0)");
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('p')).fontSize").toString(), "20px");
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\nometa.htm"));  // <body bgcolor> wins
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.body).backgroundColor").toString(), "rgb(0, 255, 0)");
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\index.htm"));  // so does its stylesheet
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('t')).color").toString(), "rgb(1, 2, 3)");
    viewer.SetDefFontColor(0x00FFFF);  // yellow, after a reload
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\plain.htm"));
    viewer.SetDefFontColor(0x808080);
    viewer.Reload();
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_EQ(Eval(viewer, "getComputedStyle(document.getElementById('p')).color").toString(), "rgb(128, 128, 128)");
}

} // namespace

// A disc's page reads pictures from the disc and the program's folder of archive listings, never
// from the rest of the computer (the shared temporary folder included), and fetches nothing from
// the network.
TEST_F(PageSchemeTest, PagesReachNeitherTheHostsFilesNorTheNetwork) {
    const QByteArray png = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
    const QString inTemp = QDir::tempPath() + "/bookshell-page-test.png";
    QTemporaryDir listings;
    const QString inListing = listings.filePath("as_x/as_1.htm.png");
    // /var/tmp lies outside the temporary folder wherever the tests run.
    const QString outside = QStringLiteral("/var/tmp/bookshell-page-test-%1.png").arg(QCoreApplication::applicationPid());
    QDir(listings.path()).mkpath("as_x");
    SetListingRoot(HostPathsService().ToWindows(listings.path().toStdString()));
    for (const QString& file : {inTemp, outside, inListing}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(png);
    }
    StartState().tempDir = "z:\\tmp\\";
    // A web server on this machine that would hand out the picture.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, png] {
            socket->readAll();
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: image/png\r\nContent-Length: " + QByteArray::number(png.size()) +
                          "\r\n\r\n" + png);
            socket->disconnectFromHost();
        });
    });
    const QString web = QStringLiteral("http://127.0.0.1:%1/x.png").arg(server.serverPort());
    TFrameViewer viewer;
    viewer.resize(400, 300);
    viewer.show();
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\RUN\\html\\index.htm"));
    const QString script = QStringLiteral(
        "(function(){window.loads={};[['temp','%1'],['host','%2'],['web','%3'],['listing','%4']].forEach("
        "function(p){var i=new Image();i.onload=function(){loads[p[0]]='ok'};i.onerror=function(){loads[p[0]]='no'};"
        "i.src=p[1];});return 1;})()")
                               .arg("book://z" + inTemp, "book://z" + outside, web, "book://z" + inListing);
    Eval(viewer, script);
    EXPECT_EQ(EvalUntil(viewer, "loads.listing", "ok").toString(), "ok");
    EXPECT_EQ(EvalUntil(viewer, "loads.temp", "no").toString(), "no");
    EXPECT_EQ(EvalUntil(viewer, "loads.host", "no").toString(), "no");
    EXPECT_EQ(EvalUntil(viewer, "loads.web", "no").toString(), "no");
    QFile::remove(inTemp);
    QFile::remove(outside);
    SetListingRoot({});
}
