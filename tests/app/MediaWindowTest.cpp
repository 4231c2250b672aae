// Sound and video in the main window on the sample book: the start clip before the window opens
// and its Esc, the 3-D clip frozen and played by clicks and by the screens, the clip area's
// screen, and the music the book starts.
#include <gtest/gtest.h>

#include <QTest>

#include "app/LinkServices.h"
#include "app/MainFormFixture.h"
#include "media/AviPlayer.h"
#include "media/BackgroundMusic.h"
#include "media/StartClip.h"
#include "media/Sound.h"
#include "platform/SettingsStore.h"
#include "support/Wait.h"

namespace {

struct MediaWindow : SampleBook {
    // The setting counts when the window is made: the window is made again.
    void SetClipSetting(bool on) {
        const std::string title = AppTitle();
        SampleBook::TearDown();
        TSettingsStore(title).WriteBool("Clip", on);
        SampleBook::SetUp();
    }
    void TearDown() override {
        TSettingsStore(AppTitle()).DeleteValue("Clip");
        SampleBook::TearDown();
    }
};

}  // namespace

TEST_F(MediaWindow, WithTheClipSettingOffTheWindowOpensAtOnce) {
    SetClipSetting(false);
    bool opened = false;
    window_->StartBook([&] { opened = true; });
    EXPECT_EQ(window_->Media()->StartClipWindow(), nullptr);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return opened; }, 10000));
}

TEST_F(MediaWindow, EscDuringTheStartClipOpensTheWindowAtOnce) {
    SetClipSetting(true);
    bool opened = false;
    window_->StartBook([&] { opened = true; });
    auto* clip = static_cast<TStartClip*>(window_->Media()->StartClipWindow());
    ASSERT_NE(clip, nullptr);
    EXPECT_FALSE(window_->isVisible());
    ASSERT_TRUE(WaitUntil([&] { return clip->isVisible(); }, 10000));  // shown once it plays
    const QRect video = clip->Player().GetDisplayRect();
    EXPECT_EQ(video.topLeft(), QPoint(TStartClip::kBevel, TStartClip::kBevel));  // inside the bevel
    EXPECT_EQ(clip->size(), video.size() + QSize(2 * TStartClip::kBevel, 2 * TStartClip::kBevel));
    QTest::keyClick(clip, Qt::Key_Escape);
    EXPECT_TRUE(clip->Finished());
    EXPECT_EQ(clip->Player().Mode(), 0);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return opened; }, 10000));
}

TEST_F(MediaWindow, TheStartClipEndsByItselfAndTheMusicStarts) {
    SetClipSetting(true);
    TSettingsStore(AppTitle()).WriteBool("BGSound", true);
    window_->StartBook();
    EXPECT_TRUE(WaitUntil([&] { return window_->isVisible(); }, 15000));
    ASSERT_NE(window_->Media()->Music(), nullptr);
    EXPECT_TRUE(window_->Media()->Music()->On());
    EXPECT_TRUE(WaitUntil([&] { return window_->Media()->Music()->Player().Mode() == 2; }, 3000));
}

TEST_F(MediaWindow, TheCarFreezesOnAClickAndTurnsOnTheNext) {
    window_->show();
    window_->RunCommand("3d");
    TMyAviPlayer* car = window_->Media()->Clip3DPlayer();
    ASSERT_NE(car, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return car->Opened(); }, 3000));  // read ahead, then turning
    EXPECT_TRUE(car->Active());
    EXPECT_FALSE(car->IsStill());
    const QPoint inside = TMyAviPlayer::kRect.center();
    ASSERT_TRUE(WaitUntil([&] { return !car->Player()->CurrentFrame().isNull(); }, 5000));
    window_->FormMouseDown(Qt::RightButton, inside, Qt::NoModifier);
    EXPECT_TRUE(car->IsStill());
    EXPECT_FALSE(car->FrozenFrame().isNull());
    window_->FormMouseDown(Qt::RightButton, inside, Qt::NoModifier);
    EXPECT_FALSE(car->IsStill());
    window_->RunCommand("2");  // the reading screen freezes it
    EXPECT_TRUE(car->IsStill());
    window_->RunCommand("1");
    EXPECT_TRUE(WaitUntil([&] { return !car->IsStill(); }, 5000));  // and it turns again on return
    window_->RunCommand("2d");
    EXPECT_TRUE(car->IsStill());
    EXPECT_FALSE(car->Active());
    EXPECT_EQ(window_->Background().pixel(inside), window_->LoadPicture("back1.bmp").pixel(inside));  // put back
}

TEST_F(MediaWindow, TheClipAreaShowsOnItsScreenWithItsPage) {
    window_->show();
    TSound* sound = window_->Media()->Sound();
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(sound->ClipAreaCount(), 1u);
    EXPECT_TRUE(sound->ClipArea(0)->isHidden());
    window_->RunCommand("4");
    EXPECT_FALSE(sound->ClipArea(0)->isHidden());
    window_->RunCommand("clip=video\\engine.avi=html\\clipinfo.htm");
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 2; }, 3000));
    EXPECT_EQ(sound->Display(), sound->ClipArea(0));
    EXPECT_TRUE(WaitUntil([&] { return window_->PageFrame()->CurrentFile().find("clipinfo.htm") != std::string::npos; }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 0; }, 10000));  // played and closed
}

TEST_F(MediaWindow, ADroppedSoundPlaysAndAPageLinkToASoundToo) {
    window_->show();
    TSound* sound = window_->Media()->Sound();
    ASSERT_NE(sound, nullptr);
    window_->Media()->Music()->SetOn(false);
    window_->DropFile(ProgramDir() + "sounds\\HORN.WAV");
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 2; }, 3000));
    EXPECT_EQ(sound->EndAction(), 4);  // no music played: the player closes at the end
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 0; }, 6000));
    ASSERT_TRUE(window_->LinkServices().HasSoundPlayer());
    window_->LinkServices().PlayLinkSound(ProgramDir() + "sounds\\horn.wav");
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 2; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return sound->Mode() == 0; }, 6000));  // the sound server's stream ends before the window goes
}
