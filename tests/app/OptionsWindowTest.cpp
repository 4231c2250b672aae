// The options and the page fonts in the main window on the sample book: the command shows the
// dialog with the boxes the book can use, OK reaches the slide show at once, and the page font
// dialog's OK and Cancel on the page views and the stored attributes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/MainFormFixture.h"
#include "html/FontForm.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "media/SlideImage.h"
#include "platform/SettingsStore.h"
#include "settings/FormOptions.h"

namespace {

struct OptionsWindow : SampleBook {
    void TearDown() override {
        const std::string title = AppTitle();
        SampleBook::TearDown();
        for (const char* name : {"SlideShowTime", "FontName", "FontSize", "SizeInterface"})
            TSettingsStore(title).DeleteValue(name);
    }
    // Runs the page font dialog, letting answer act on it once it shows.
    void ChooseFont(const std::function<void(TFontForm&)>& answer) {
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TFontForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            answer(*form);
        });
        window_->ChooseFont();
    }
    static void Press(TFontForm& form, const char* caption) {
        for (QPushButton* b : form.findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(caption)) b->click();
    }
};

}  // namespace

TEST_F(OptionsWindow, TheCommandShowsTheDialogWithTheBoxesTheBookCanUse) {
    TFormOptions* options = window_->FormOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(options->isVisible());
    window_->RunCommand("options");
    EXPECT_TRUE(options->isVisible());
    EXPECT_TRUE(options->ClipBox()->isEnabled());    // the book has a start clip
    EXPECT_TRUE(options->WavBox()->isEnabled());     // and button sounds
    EXPECT_TRUE(options->Pages()->isTabVisible(2));  // and picture areas
    EXPECT_FALSE(options->Pages()->isTabVisible(1));
}

TEST_F(OptionsWindow, ANewSlideTimeReachesTheSlideShowAtOnce) {
    ASSERT_NE(window_->Media()->Slides(), nullptr);
    EXPECT_EQ(window_->Media()->Slides()->Interval(), 5001);
    window_->RunCommand("options");
    window_->FormOptions()->TrackBar()->setValue(7);
    QTest::mouseClick(window_->FormOptions()->OkButton(), Qt::LeftButton);
    EXPECT_EQ(window_->Media()->Slides()->Interval(), 7001);
    int32_t stored = 0;
    EXPECT_TRUE(TSettingsStore(AppTitle()).ReadInteger("SlideShowTime", stored));
    EXPECT_EQ(stored, 7);
}

TEST_F(OptionsWindow, CancelInThePageFontDialogLeavesThePagesAsTheyWere) {
    window_->RunCommand("2");
    THtmlFrame* frame = window_->HtmlFrame();
    ASSERT_NE(frame, nullptr);
    const RFontAttr before = frame->Attributes();
    ChooseFont([](TFontForm& form) {
        form.SizeBox()->setValue(20);
        form.SetFontColor(0x0000FF);
        Press(form, "Отмена");
    });
    EXPECT_EQ(frame->Attributes().size, before.size);
    EXPECT_EQ(frame->Attributes().color, before.color);
    for (TFrameViewer* view : frame->Views()) EXPECT_EQ(view->DefFontSize(), before.size);
}

// A font the machine lacks shows "Arial" in the list; OK takes it, every view renders with the
// new values, and the end of the run stores what the views show.
TEST_F(OptionsWindow, OkInThePageFontDialogAppliesToEveryViewAndIsStored) {
    const std::string title = AppTitle();
    SampleBook::TearDown();
    TSettingsStore(title).WriteString("FontName", "No Such Font");
    SampleBook::SetUp();
    window_->RunCommand("2");
    THtmlFrame* frame = window_->HtmlFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Attributes().name, "No Such Font");
    ChooseFont([](TFontForm& form) {
        EXPECT_EQ(form.FontList()->currentItem()->text(), QStringLiteral("Arial"));
        form.SizeBox()->setValue(14);
        Press(form, "O&K");
    });
    EXPECT_EQ(frame->Attributes().name, "Arial");
    EXPECT_EQ(frame->Attributes().size, 14);
    for (TFrameViewer* view : frame->Views()) {
        EXPECT_EQ(view->DefFontName(), "Arial");
        EXPECT_EQ(view->DefFontSize(), 14);
    }
    SampleBook::TearDown();
    std::string name;
    int32_t size = 0;
    EXPECT_TRUE(TSettingsStore(title).ReadString("FontName", name));
    EXPECT_TRUE(TSettingsStore(title).ReadInteger("FontSize", size));
    EXPECT_EQ(name, "Arial");
    EXPECT_EQ(size, 14);
    SampleBook::SetUp();
}
