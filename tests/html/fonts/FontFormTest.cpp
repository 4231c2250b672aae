// The page font dialog on the real page engine: the font list and its stand-in for "Arial", the
// background names, the reset, the values OK gives back, and the preview's rendering.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "html/FontForm.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "support/Wait.h"

namespace {

QString CurrentText(const QListWidget* list) { return list->currentItem() ? list->currentItem()->text() : QString(); }

QPushButton* Button(TFontForm& form, const char* text) {
    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text)) return b;
    return nullptr;
}

// The body's computed colour, background and font family once the preview has rendered.
QStringList PreviewStyle(TFrameViewer* preview) {
    QStringList style;
    WaitUntil([&] {
        if (preview->IsLoading()) return false;
        const QVariant v = preview->EvaluateScript(QStringLiteral(
            "(function(){var s=getComputedStyle(document.body);return [s.color,s.backgroundColor,s.fontFamily];})()"));
        style = v.toStringList();
        return !style.isEmpty();
    });
    return style;
}

}  // namespace

TEST(FontForm, LayoutListsAndSizeBox) {
    TFontForm form(nullptr);
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Шрифт"));
    EXPECT_EQ(form.size(), QSize(315, 339));
    EXPECT_EQ(form.SizeBox()->minimum(), 6);
    EXPECT_EQ(form.SizeBox()->maximum(), 24);
    EXPECT_EQ(form.SizeBox()->value(), 12);
    const QListWidget* fonts = form.FontList();
    ASSERT_GT(fonts->count(), 1);
    for (int i = 1; i < fonts->count(); ++i)
        EXPECT_LE(fonts->item(i - 1)->text().compare(fonts->item(i)->text(), Qt::CaseInsensitive), 0);
    EXPECT_EQ(fonts->findItems(QStringLiteral("Arial"), Qt::MatchFixedString).size(), 1);
    const QListWidget* backs = form.BackgroundList();
    ASSERT_EQ(backs->count(), 22);
    EXPECT_EQ(backs->item(0)->text(), QStringLiteral("clBlack"));
    EXPECT_EQ(backs->item(19)->text(), QStringLiteral("clMedGray"));
    EXPECT_EQ(backs->item(21)->text(), QStringLiteral("clNone"));
}

TEST(FontForm, AFontNotInstalledShowsArialSelectedAndGivesArial) {
    TFontForm form(nullptr);
    form.SetFontName("Times New Roman Cyr Old");
    EXPECT_EQ(CurrentText(form.FontList()), QStringLiteral("Arial"));
    EXPECT_EQ(form.PreviewFontName(), "Times New Roman Cyr Old");
    EXPECT_EQ(form.Preview()->DefFontName(), "Times New Roman Cyr Old");
    EXPECT_EQ(form.Attributes().name, "Arial");
}

TEST(FontForm, AColourWithoutANameJoinsTheListInHexadecimal) {
    TFontForm form(nullptr);
    form.SetBackground(0xFFFFFF);
    EXPECT_EQ(CurrentText(form.BackgroundList()), QStringLiteral("clWhite"));
    form.SetBackground(0x00A1B2C3);
    EXPECT_EQ(form.BackgroundList()->count(), 23);
    EXPECT_EQ(CurrentText(form.BackgroundList()), QStringLiteral("$00A1B2C3"));
    EXPECT_EQ(form.Attributes().background, 0x00A1B2C3u);
    form.SetBackground(0x00A1B2C3);  // once only
    EXPECT_EQ(form.BackgroundList()->count(), 23);
}

// Names that stand for no RGB value are stored as the colour they show.
TEST(FontForm, OkGivesRealColours) {
    TFontForm form(nullptr);
    form.BackgroundList()->setCurrentRow(20);  // clDefault
    EXPECT_EQ(form.Attributes().background, 0xFFFFFFu);
    form.BackgroundList()->setCurrentRow(-1);  // nothing chosen: the button face
    EXPECT_EQ(form.Attributes().background, RealPageColor(0x8000000F));
    EXPECT_EQ(RealPageColor(0x8000000F) >> 24, 0u);
    form.SetFontColor(0x1FFFFFFF);
    EXPECT_EQ(form.Attributes().color, 0u);
}

TEST(FontForm, ResetGoesBackToTheValuesAtOpening) {
    TFontForm form(nullptr);
    form.SetFontName("Arial");
    form.SetFontSize(10);
    form.SetFontColor(0x0000FF);
    form.SetBackground(0xC0C0C0);
    form.show();
    form.SizeBox()->setValue(20);
    form.SetFontColor(0xFF0000);
    form.BackgroundList()->setCurrentRow(0);
    Button(form, "&Сброс")->click();
    const RFontAttr a = form.Attributes();
    EXPECT_EQ(a.size, 10);
    EXPECT_EQ(a.color, 0x0000FFu);
    EXPECT_EQ(a.background, 0xC0C0C0u);
    EXPECT_EQ(CurrentText(form.BackgroundList()), QStringLiteral("clSilver"));
}

TEST(FontForm, ThePreviewRendersEveryChange) {
    TFontForm form(nullptr);
    form.show();
    form.SetFontColor(0x0000FF);
    form.SetBackground(0x008000);
    const QStringList style = PreviewStyle(form.Preview());
    ASSERT_EQ(style.size(), 3);
    EXPECT_EQ(style[0], QStringLiteral("rgb(255, 0, 0)"));
    EXPECT_EQ(style[1], QStringLiteral("rgb(0, 128, 0)"));
}
