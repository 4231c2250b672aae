// The main window's archives, copies and fonts on the sample book: an archive link shows its
// listing and "unarc" unpacks it into the path input's folder; a copy makes its folder and asks
// before replacing another file; the fonts button installs the fonts beside the page shown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LinkServices.h"
#include "app/MainFormFixture.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/hostpaths/Drives.h"
#include "support/ReaderClick.h"
#include "support/Wait.h"

namespace {

std::string Windows(const QString& host) { return HostPathsService().ToWindows(host.toStdString()); }

// Answers every question box that opens while it lives, counting them.
struct Answerer {
    explicit Answerer(QMessageBox::StandardButton button) {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++asked;
                box->button(button)->click();
            }
        });
        timer.start(20);
    }
    QTimer timer;
    int asked = 0;
};

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

TEST_F(SampleBook, AnArchiveLinkShowsItsListingAndUnarcUnpacksItIntoThePathInputsFolder) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    QLineEdit* path = nullptr;
    for (QLineEdit* edit : w.findChildren<QLineEdit*>())
        if (edit->isVisible()) path = edit;
    ASSERT_NE(path, nullptr) << "the reading screen has a path input";
    QTemporaryDir temp;
    const QDir out(temp.filePath(QString::fromUtf8("Распаковка")));  // a host folder with Cyrillic letters
    path->setText(out.path());
    w.LinkServices().OpenArchive(ProgramDir() + "archives\\folders.rar", w.PageFrame()->CurrentFile());
    ASSERT_TRUE(WaitUntil([&] { return w.PageFrame()->CurrentFile().find("\\as_") != std::string::npos; }, 20000));
    w.RunCommand("unarc");
    EXPECT_TRUE(Read(out.filePath("folders.rar/top.txt")).startsWith("At the top."));  // the folder keeps the extension
    EXPECT_TRUE(QFile::exists(out.filePath(QString::fromUtf8("folders.rar/Документы/readme.txt"))));
    w.RunCommand("unarc");  // again: beside the first
    EXPECT_TRUE(QFile::exists(out.filePath("folders1.rar/top.txt")));
}

// A text file of the listing opens in the listing's content frame: the listing and its title stay.
TEST_F(SampleBook, ATextFileOfAnArchiveOpensInsideTheListing) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    w.LinkServices().OpenArchive(ProgramDir() + "archives\\folders.rar", w.PageFrame()->CurrentFile());
    TFrameViewer* view = w.HtmlFrame()->CurrentView();
    const QString content = "frames[1].document";
    ASSERT_TRUE(WaitUntil([&] { return view->EvaluateScript(content + ".body.innerText").toString().contains("top.txt"); }, 20000));
    const QString title = view->Title();
    ASSERT_FALSE(title.isEmpty());
    ASSERT_TRUE(ReaderClick(*view, content + ".querySelector(\"a[href='top.txt']\")"));
    EXPECT_TRUE(WaitUntil([&] { return view->EvaluateScript(content + ".body.innerText").toString().startsWith("At the top."); }, 20000));
    EXPECT_EQ(view->EvaluateScript("frames.length").toInt(), 2);
    EXPECT_EQ(view->Title(), title);
}

TEST_F(SampleBook, ACopyMakesItsFolderAndAsksBeforeReplacingAnotherFile) {
    QTemporaryDir out;
    const std::string from = ProgramDir() + "html\\engine.htm";
    const std::string to = Windows(out.path()) + "\\new\\engine.htm";
    const QString copied = out.filePath("new/engine.htm");
    TLinkServices& links = window_->LinkServices();
    {
        Answerer no(QMessageBox::No);
        ASSERT_TRUE(links.CopyFile(from, to));  // into a folder that does not exist yet
        const QByteArray page = Read(copied);
        ASSERT_FALSE(page.isEmpty());
        EXPECT_TRUE(links.CopyFile(from, to));  // the same file again: nothing to ask
        EXPECT_EQ(no.asked, 0);
        ASSERT_TRUE(Write(copied, "the user's own notes"));
        EXPECT_FALSE(links.CopyFile(from, to));
        EXPECT_EQ(no.asked, 1);
        EXPECT_EQ(Read(copied), "the user's own notes");
    }
    Answerer yes(QMessageBox::Yes);
    EXPECT_TRUE(links.CopyFile(from, to));
    EXPECT_EQ(yes.asked, 1);
    EXPECT_NE(Read(copied), "the user's own notes");
}

TEST_F(SampleBook, TheFontsButtonInstallsTheFontsBesideThePageShown) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    w.RunCommand("html1=html\\fonts\\fonts.htm");
    const QDir fonts(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/fonts");
    // The fonts' folder follows the page once it is shown; the pack keeps its names in capitals.
    EXPECT_TRUE(WaitUntil([&] {
        w.RunCommand("installfonts");
        return fonts.entryList({"*.ttf", "*.TTF"}).contains("BookMono.ttf", Qt::CaseInsensitive);
    }, 20000)) << w.PageFrame()->CurrentFile();
}
