// The sample disc's ISO image in the main window: the reading screen shows its first page with
// the contents tree, a page with a picture, and a page on the disc whose Cyrillic Joliet name
// a link spells in other letter case.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <filesystem>

#include "app/DiscImageOption.h"
#include "app/MainForm.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "packs/BookFiles.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "platform/InstanceLock.h"
#include "support/Wait.h"

namespace {

bool endsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && Cp1251::equalsNoCase(text.substr(text.size() - end.size()), end);
}

TEST(DiscImageWindow, ShowsPagesPicturesTreesAndCyrillicNamesFromTheImage) {
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(MakeTempDir()));
    const auto folder = DiscFolderOf(SAMPLE_ISO);
    ASSERT_TRUE(folder.has_value());
    TInstanceLock lock;
    auto window = std::make_unique<TMainForm>(*folder, TCommandLine{}, lock);
    ASSERT_FALSE(window->Terminating()) << window->ExitMessage();
    window->show();
    window->RunCommand("2");
    ASSERT_NE(window->HtmlFrame(), nullptr);
    TFrameViewer* view = window->HtmlFrame()->CurrentView();
    ASSERT_NE(view, nullptr);
    // The page called name (UTF-8, any case) is the view's file and the loaded document.
    const auto shown = [&](const std::string& name, int ms = 10000) {
        const QString script = QStringLiteral(
                                   "document.readyState === 'complete' && "
                                   "decodeURIComponent(location.pathname).toLowerCase().endsWith(%1)")
                                   .arg("'/" + QString::fromStdString(name).toLower() + "'");
        return WaitUntil(
            [&] {
                return endsWithNoCase(view->CurrentFile(), Cp1251::fromUtf8("\\" + name)) &&
                       view->EvaluateScript(script).toBool();
            },
            ms);
    };
    ASSERT_TRUE(shown("index.htm", 30000));  // the browser's first start is slow
    ASSERT_NE(window->Tree(1), nullptr);
    EXPECT_TRUE(window->Tree(1)->FindInTree(Cp1251::fromUtf8("Кузов")));

    window->RunCommand("html1=html\\engine.htm");
    ASSERT_TRUE(shown("engine.htm"));
    EXPECT_TRUE(WaitUntil([&] {
        return view
            ->EvaluateScript(
                "document.images.length > 0 && "
                "document.images[0].naturalWidth > 0")
            .toBool();
    }));

    window->RunCommand("html1=html\\links.htm");
    ASSERT_TRUE(shown("links.htm"));
    view->RunScript("document.querySelector('a[href$=\"HTM\"]').click()");
    EXPECT_TRUE(shown("Образец.htm")) << view->CurrentFile();
    EXPECT_TRUE(view->EvaluateScript("document.body.innerText.indexOf('Joliet') >= 0").toBool());

    window.reset();
    ClosePack();
    StartState() = TStartState{};
}

}  // namespace
