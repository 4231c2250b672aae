// The options dialog against the settings file: defaults on a first run, the seconds label, and
// what OK and Cancel store and hand to the slide show.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <QComboBox>
#include <QTest>

#include "base/GlobalPaths.h"
#include "platform/SettingsStore.h"
#include "settings/FormOptions.h"

namespace {

QStringList StoredNames() {
    QSettings file(TSettingsStore::FilePath(AppTitle()), QSettings::IniFormat);
    return file.allKeys();
}

void ClearStore() { QFile::remove(TSettingsStore::FilePath(AppTitle())); }

int StoredInt(const char* name) {
    int32_t value = -1;
    TSettingsStore(AppTitle()).ReadInteger(name, value);
    return value;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
    std::unique_ptr<TFormOptions> Make(bool pictures) {
        ROptionsHost host;
        host.runSlideShow = [this](bool run) { calls.push_back(run ? "run" : "stop"); };
        host.slideShowTime = [this](int s) { calls.push_back("time " + std::to_string(s)); };
        host.imageSequence = [this](int s) { calls.push_back("sequence " + std::to_string(s)); };
        return std::make_unique<TFormOptions>(nullptr, false, pictures, host);
    }
    std::vector<std::string> calls;
};

}  // namespace

TEST_F(Options, FirstRunWritesEveryDefaultAndShowsThePagesTheInterfaceHas) {
    auto form = Make(true);
    for (const char* name : {"Clip", "Wav", "BGSound", "Animation", "Hint"}) EXPECT_EQ(StoredInt(name), 1) << name;
    EXPECT_EQ(StoredInt("RunSlideShow"), 0);
    EXPECT_EQ(StoredInt("SlideShowTime"), 5);
    EXPECT_EQ(StoredInt("ImageSequence"), 0);
    EXPECT_FALSE(TSettingsStore(AppTitle()).ValueExists("SizeInterface"));
    EXPECT_FALSE(TSettingsStore(AppTitle()).ValueExists("AutoStartPlayer"));  // no player page
    EXPECT_FALSE(form->Pages()->isTabVisible(1));
    EXPECT_TRUE(form->Pages()->isTabVisible(2));
    EXPECT_EQ(form->Pages()->currentIndex(), 0);

    ClearStore();
    auto plain = Make(false);
    EXPECT_FALSE(plain->Pages()->isTabVisible(2));
    EXPECT_FALSE(TSettingsStore(AppTitle()).ValueExists("SlideShowTime"));
}

TEST_F(Options, StoredValuesWinAndTheSlideTimeStaysWithinTheTrackBar) {
    TSettingsStore(AppTitle()).WriteBool("Wav", false);
    TSettingsStore(AppTitle()).WriteInteger("SlideShowTime", 0);
    EXPECT_FALSE(Make(true)->Values().wav);
    EXPECT_EQ(Make(true)->Values().slideShowTime, 1);
    TSettingsStore(AppTitle()).WriteInteger("SlideShowTime", 60);
    EXPECT_EQ(Make(true)->Values().slideShowTime, 10);
    TSettingsStore(AppTitle()).WriteString("Clip", "yes");  // unreadable: the default, written
    EXPECT_TRUE(Make(true)->Values().clip);
    EXPECT_EQ(StoredInt("Clip"), 1);
}

TEST_F(Options, SecondsLabelFollowsTheTrackBar) {
    auto form = Make(true);
    form->show();
    const std::pair<int, const char*> cases[] = {
        {1, "1 секунда"}, {3, "3 секунды"}, {4, "4 секунды"}, {5, "5 секунд"}, {10, "10 секунд"}};
    for (const auto& [position, text] : cases) {
        form->TrackBar()->setValue(position);
        EXPECT_EQ(form->SecondsLabel()->text(), QString::fromUtf8(text));
    }
    EXPECT_EQ(form->TrackBar()->minimum(), 1);
    EXPECT_EQ(form->TrackBar()->maximum(), 10);
}

TEST_F(Options, OkWithoutChangesWritesOnlyTheInterfaceChoice) {
    auto form = Make(true);
    form->EnableClip(true);
    form->EnableWav(true);
    ClearStore();
    form->show();
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(StoredNames(), QStringList{"SizeInterface"});
    EXPECT_EQ(StoredInt("SizeInterface"), 0);
    EXPECT_TRUE(calls.empty());
}

// A book without button sounds leaves the box disabled; OK must not take its unloaded state
// for the user's choice.
// "Масштаб окна": Авто writes nothing; a chosen scale is kept for the next start.
TEST_F(Options, TheWindowScaleIsStoredWhenChosen) {
    auto form = Make(false);
    ClearStore();
    form->show();
    ASSERT_EQ(form->ScaleBox()->count(), 4);
    EXPECT_EQ(form->ScaleBox()->currentText(), QString::fromUtf8("Авто"));
    form->ScaleBox()->setCurrentIndex(2);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(StoredInt("WindowScale"), 150);
    EXPECT_EQ(form->Values().windowScale, 150);
    form->show();
    EXPECT_EQ(form->ScaleBox()->currentText(), QString::fromUtf8("150 %"));
}

TEST_F(Options, OkLeavesTheFlagsOfDisabledBoxesAlone) {
    auto form = Make(false);
    form->show();
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_TRUE(form->Values().wav);
    EXPECT_TRUE(form->Values().clip);
    EXPECT_EQ(StoredInt("Wav"), 1);
}

TEST_F(Options, OkStoresChangesAndHandsTheSlideSettingsOn) {
    auto form = Make(true);
    form->EnableWav(true);
    form->show();
    form->WavBox()->setChecked(false);
    form->SlideShowBox()->setChecked(true);
    form->TrackBar()->setValue(7);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    EXPECT_EQ(StoredInt("Wav"), 0);
    EXPECT_EQ(StoredInt("RunSlideShow"), 1);
    EXPECT_EQ(StoredInt("SlideShowTime"), 7);
    EXPECT_EQ(form->Values().slideShowTime, 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"run", "time 7"}));
    form->show();  // the controls show the new values
    EXPECT_EQ(form->SecondsLabel()->text(), QString::fromUtf8("7 секунд"));
}

TEST_F(Options, CancelStoresNothingAndTheNextShowingRestoresTheControls) {
    auto form = Make(true);
    form->show();
    form->TrackBar()->setValue(9);
    form->SlideShowBox()->setChecked(true);
    QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(StoredInt("SlideShowTime"), 5);
    EXPECT_FALSE(TSettingsStore(AppTitle()).ValueExists("SizeInterface"));
    EXPECT_TRUE(calls.empty());
    form->show();
    EXPECT_EQ(form->TrackBar()->value(), 5);
    EXPECT_FALSE(form->SlideShowBox()->isChecked());
}
