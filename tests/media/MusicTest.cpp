// The background music and the clip player over devices the test drives: the song ring, the
// stored place, the fade, and a clip or sound interrupting the music and giving it back.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "base/GlobalPaths.h"
#include "media/BackgroundMusic.h"
#include "media/FakeDevice.h"
#include "media/Sound.h"
#include "platform/hostpaths/Drives.h"
#include "platform/SettingsStore.h"
#include "support/Wait.h"

namespace {

struct Music : ::testing::Test, ISoundHost {
    QTemporaryDir dir;
    FakeDevice* songs = nullptr;  // the music's device
    FakeDevice* clips = nullptr;  // the clip player's
    std::unique_ptr<TBackgroundMusic> music;
    QWidget window;
    std::unique_ptr<TSound> sound;
    int screen = 0;
    std::vector<std::string> pages;
    int installs = 0;

    void SetUp() override {
        for (const char* name : {"a.wav", "b.wav", "c.wav", "horn.wav", "clip.avi"}) QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
        HostPathsService().SetDrive('d', dir.path().toStdString());
        SetProgramDir("d:\\");
        StartState().appTitle = "Music test";
        TSettingsStore(AppTitle()).DeleteValue("BGSoundSong");
        TSettingsStore(AppTitle()).DeleteValue("BGSoundPos");
        Make({"a.wav", "b.wav", "c.wav"});
    }
    void Make(TDynamicStringArray list) {
        auto device = std::make_unique<FakeDevice>();
        songs = device.get();
        music = std::make_unique<TBackgroundMusic>(nullptr, std::move(list), true, std::move(device));
        auto clipDevice = std::make_unique<FakeDevice>();
        clips = clipDevice.get();
        sound = std::make_unique<TSound>(&window, std::vector<RClip>{{10, 10, 110, 90, 0, 1, 2}}, music.get(), *this,
                                         std::move(clipDevice));
    }
    int CurrentScreen() const override { return screen; }
    void OpenPageIn(const std::string& page, int view) override { pages.push_back(page + " in " + std::to_string(view)); }
    void PointerLeftSkin() override {}
    void InstallMpegDriver() override { ++installs; }
    void Deliver() { QCoreApplication::processEvents(); }
};

}  // namespace

TEST_F(Music, TheSongsPlayInARingAndAStopDoesNotAdvance) {
    music->Start();
    EXPECT_EQ(music->Player().FileName, "d:\\a.wav");
    for (const char* next : {"d:\\b.wav", "d:\\c.wav", "d:\\a.wav"}) {
        songs->End();
        Deliver();
        EXPECT_EQ(music->Player().FileName, next);
        EXPECT_EQ(music->Player().Mode(), 2);
    }
    songs->position = 1500;
    music->Toggle();  // "bgsound": off, fading out
    Deliver();
    EXPECT_FALSE(music->On());
    EXPECT_EQ(music->Song(), 0);
    bool on = true;
    EXPECT_TRUE(TSettingsStore(AppTitle()).ReadBool("BGSound", on));
    EXPECT_FALSE(on);
    int32_t song = -1, position = -1;
    TSettingsStore(AppTitle()).ReadInteger("BGSoundSong", song);
    TSettingsStore(AppTitle()).ReadInteger("BGSoundPos", position);
    EXPECT_EQ(song, 0);
    EXPECT_EQ(position, 1500);
}

TEST_F(Music, AStoredPlaceResumesAndAStalePlaceStartsAfresh) {
    TSettingsStore(AppTitle()).WriteInteger("BGSoundSong", 2);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundPos", 4200);
    music->Start();
    EXPECT_EQ(music->Player().FileName, "d:\\c.wav");
    EXPECT_EQ(songs->position, 4200);
    music->Stop(false);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundSong", 7);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundPos", 99999);
    music->Start();
    EXPECT_EQ(music->Player().FileName, "d:\\a.wav");
    EXPECT_EQ(songs->position, 0);
    EXPECT_TRUE(music->On());
    songs->openError = TMPlayer::kInvalidFile;  // a song that cannot play turns the music off
    songs->End();
    Deliver();
    EXPECT_FALSE(music->On());
}

// The fade-out runs from the event loop: a second "bgsound" during it starts the music afresh,
// and the fade's end leaves it playing.
TEST_F(Music, ASecondToggleDuringTheFadeOutLeavesTheMusicPlaying) {
    music->Start();
    songs->position = 2500;
    music->Toggle();  // off: fading out, and the call returned at once
    EXPECT_TRUE(music->Stopping());
    EXPECT_EQ(music->Player().Mode(), 2);
    bool stopped = false;
    music->WhenStopped([&] { stopped = true; });
    music->Toggle();  // on again before the fade ended
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(music->Stopping());
    EXPECT_EQ(songs->position, 2500);  // from the place the fade-out kept
    Pump(3000);  // longer than a whole fade
    EXPECT_TRUE(music->On());
    EXPECT_EQ(music->Player().Mode(), 2);
    // A fade-out left alone ends with the player closed.
    music->Toggle();
    ASSERT_TRUE(WaitUntil([&] { return !music->Stopping(); }, 6000));
    EXPECT_FALSE(music->Player().Opened());
}

// A length not known right after opening is no reason to give up the stored place.
TEST_F(Music, AStoredPlaceHoldsWhileTheLengthIsNotKnownYet) {
    TSettingsStore(AppTitle()).WriteInteger("BGSoundSong", 1);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundPos", 4200);
    songs->length = 0;
    music->Start();
    EXPECT_EQ(music->Player().FileName, "d:\\b.wav");
    EXPECT_EQ(songs->position, 4200);
}

TEST_F(Music, WithoutSongsTheMusicStaysOff) {
    Make({});
    EXPECT_FALSE(music->On());
    music->Toggle();
    EXPECT_FALSE(music->On());
}

TEST_F(Music, ASoundLinkInterruptsTheMusicAndGivesItBack) {
    music->Start();
    songs->position = 3000;
    sound->PlayMedia("d:\\horn.wav", "", 3);
    EXPECT_EQ(music->Player().Mode(), 0);  // stopped at once, without a fade
    EXPECT_FALSE(music->On());
    EXPECT_EQ(sound->EndAction(), 5);
    EXPECT_EQ(sound->Mode(), 2);
    clips->End();
    Deliver();
    EXPECT_TRUE(music->On());
    EXPECT_EQ(music->Player().Mode(), 2);
    EXPECT_EQ(songs->position, 3000);  // at the saved place

    sound->PlayMedia("d:\\missing.wav", "", 3);  // it cannot play: the music comes back at once
    EXPECT_TRUE(music->On());
    EXPECT_EQ(music->Player().Mode(), 2);
}

TEST_F(Music, AClipPlaysInTheAreaOfItsScreenWithItsPage) {
    EXPECT_TRUE(sound->ClipArea(0)->isHidden());
    screen = 2;
    sound->ShowClipAreas();
    EXPECT_FALSE(sound->ClipArea(0)->isHidden());
    sound->PlayMedia("d:\\clip.avi", "html\\clip.htm", 4);
    EXPECT_EQ(pages, std::vector<std::string>{"html\\clip.htm in 1"});
    EXPECT_EQ(sound->EndAction(), 4);
    clips->End();
    Deliver();
    EXPECT_EQ(sound->Mode(), 0);  // end action 4 closes the player
    screen = 0;
    sound->ShowClipAreas();
    EXPECT_TRUE(sound->ClipArea(0)->isHidden());

    clips->openError = TMPlayer::kFileNotFound;
    sound->PlayMedia("d:\\clip.avi", "", 4);
    EXPECT_EQ(installs, 0);
    clips->openError = 263;  // any other refusal: the driver is installed and the clip tried again
    sound->PlayMedia("d:\\clip.avi", "", 4);
    EXPECT_EQ(installs, 1);
}

TEST_F(Music, StepsMoveTenSecondsWithinTheClip) {
    sound->PlayMedia("d:\\horn.wav", "", 0);
    clips->length = 30000;
    clips->position = 7000;
    sound->StepBack();
    EXPECT_EQ(clips->position, 0);
    clips->position = 25000;
    sound->StepForward();
    EXPECT_EQ(clips->position, 30000);
}

TEST(VolumeFade, AWholeRampTakesAboutTwoAndAHalfSecondsAndEndsExactly) {
    std::vector<int> levels;
    TVolumeFade fade([&](int level) { levels.push_back(level); });
    EXPECT_EQ(TVolumeFade::Step(100), 3);
    EXPECT_EQ(TVolumeFade::Step(101), 7);
    EXPECT_EQ(TVolumeFade::Step(32001), 50);
    std::vector<bool> ends;
    fade.Ended = [&](bool up) { ends.push_back(up); };
    QElapsedTimer clock;
    clock.start();
    fade.Start(true);
    ASSERT_TRUE(WaitUntil([&] { return !fade.Running(); }, 6000));
    EXPECT_NEAR(double(clock.elapsed()), 2490, 300);
    EXPECT_EQ(levels.back(), TVolumeFade::kTop);
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    fade.Start(false);
    ASSERT_TRUE(WaitUntil([&] { return !fade.Running(); }, 6000));
    EXPECT_EQ(levels.back(), 0);
    EXPECT_EQ(ends, (std::vector<bool>{true, false}));
}

// A song still being read when the music stops: nothing plays and the stored place stays for the
// next start, which plays from it once its file is ready.
TEST_F(Music, AStopWhileTheSongIsStillOpeningKeepsTheStoredPlace) {
    TSettingsStore(AppTitle()).WriteInteger("BGSoundSong", 1);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundPos", 4200);
    songs->holdPrepare = true;
    music->Start();
    EXPECT_FALSE(music->Player().Opened());
    music->Stop(true);
    EXPECT_FALSE(music->Stopping());
    int32_t place = 0;
    EXPECT_TRUE(TSettingsStore(AppTitle()).ReadInteger("BGSoundPos", place));
    EXPECT_EQ(place, 4200);
    EXPECT_EQ(songs->plays, 0);
    music->Start();
    songs->Ready();
    EXPECT_EQ(songs->position, 4200);
    EXPECT_TRUE(songs->playing);
}
