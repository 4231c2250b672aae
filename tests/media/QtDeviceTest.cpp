// The media player component on the real backend, through the sound server the test command
// starts: sounds end with their notification, videos report their size and deliver frames to
// the display, and files that cannot play give their errors.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

#include "media/ButtonSound.h"
#include "media/MPlayer.h"
#include "media/QtMediaDevice.h"
#include "platform/hostpaths/Drives.h"
#include "support/Wait.h"

namespace {

struct RealPlayer : ::testing::Test {
    TMPlayer player;
    std::vector<int> notes;
    void SetUp() override {
        ASSERT_TRUE(TQtMediaDevice::HasAudioOutput()) << "no audio output: is the sound server running?";
        HostPathsService().SetDrive('d', SAMPLE_RUN);
        player.OnNotify = [this](TMPlayer* p) { notes.push_back(p->NotifyValue()); };
    }
};

}  // namespace

TEST_F(RealPlayer, ASoundPlaysToItsEndAndNotifies) {
    for (const char* file : {"d:\\sounds\\HORN.wav", "d:\\click2.wav"}) {  // PCM, then IMA ADPCM
        notes.clear();
        player.FileName = file;
        player.Open();
        EXPECT_FALSE(player.HasVideo());
        const int64_t length = player.Length();
        EXPECT_GT(length, 200);
        player.Play();
        EXPECT_EQ(player.Mode(), 2);
        ASSERT_TRUE(WaitUntil([&] { return !notes.empty(); }, int(length) + 3000)) << file;
        EXPECT_EQ(notes, (std::vector<int>{0}));
        EXPECT_EQ(player.Mode(), 1);
        EXPECT_EQ(player.Position(), length);
    }
}

TEST_F(RealPlayer, AStopKeepsThePlaceAndAPlayGoesOnFromIt) {
    player.FileName = "d:\\music\\song1.wav";
    player.Open();
    player.Play();
    ASSERT_TRUE(WaitUntil([&] { return player.Position() > 300; }, 3000));
    player.Stop();
    const int64_t at = player.Position();
    player.Play();
    Pump(300);
    EXPECT_GE(player.Position(), at);
    player.Close();
    EXPECT_TRUE(WaitUntil([&] { return notes.size() == 2; }, 1000));
    EXPECT_EQ(notes, (std::vector<int>{2, 2}));  // the stop and the close abort their plays
}

TEST_F(RealPlayer, AVideoShowsItsFramesInTheDisplay) {
    QWidget display;
    display.resize(400, 300);
    player.FileName = "d:\\video\\engine.avi";
    player.SetDisplay(&display);
    player.Open();
    ASSERT_TRUE(player.HasVideo());
    EXPECT_EQ(player.VideoSize(), QSize(240, 160));
    EXPECT_EQ(player.GetDisplayRect(), QRect(0, 0, 240, 160));
    player.SetDisplayRect(QRect(10, 20, 0, 0));
    EXPECT_EQ(player.GetDisplayRect(), QRect(10, 20, 240, 160));
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return !player.CurrentFrame().isNull(); }, 3000));
    EXPECT_EQ(player.CurrentFrame().size(), QSize(240, 160));
    player.PauseOnly();
    EXPECT_EQ(player.Mode(), 5);
}

TEST_F(RealPlayer, FilesThatCannotPlayGiveTheirErrors) {
    QTemporaryDir dir;
    QFile garbage(dir.filePath("noise.wav"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4000, '\x5a'));
    garbage.close();
    HostPathsService().SetDrive('e', dir.path().toStdString());
    const std::pair<const char*, int> cases[] = {{"e:\\missing.wav", TMPlayer::kFileNotFound}, {"e:\\noise.wav", TMPlayer::kInvalidFile}};
    for (const auto& [file, error] : cases) {
        player.FileName = file;
        EXPECT_THROW(player.Open(), EMCIDeviceError) << file;
        EXPECT_EQ(player.LastError(), error) << file;
        EXPECT_EQ(player.Mode(), 0);
    }
    // The same answers for an open that reads its file ahead.
    for (const auto& [file, error] : cases) {
        player.FileName = file;
        std::optional<int> answer;
        player.OpenThen([&](int e) { answer = e; });
        ASSERT_TRUE(WaitUntil([&] { return answer.has_value(); }, 5000)) << file;
        EXPECT_EQ(*answer, error) << file;
        EXPECT_EQ(player.Mode(), 0);
    }
}

// An open that reads its file ahead returns before the file is open; once it is, the player
// knows the video and plays it.
TEST_F(RealPlayer, AnOpenReadsItsFileAheadAndAnswersFromTheEventLoop) {
    player.FileName = "d:\\video\\engine.avi";
    std::optional<int> answer;
    player.OpenThen([&](int e) { answer = e; });
    EXPECT_FALSE(answer.has_value());
    EXPECT_FALSE(player.Opened());
    ASSERT_TRUE(WaitUntil([&] { return answer.has_value(); }, 5000));
    EXPECT_EQ(*answer, 0);
    EXPECT_TRUE(player.HasVideo());
    EXPECT_EQ(player.VideoSize(), QSize(240, 160));
    EXPECT_EQ(player.Play(), 0);
    EXPECT_EQ(player.Mode(), 2);
}

TEST_F(RealPlayer, AButtonSoundPlaysOnceAtATimeAndTheExitSoundIsWaitedFor) {
    HostPathsService().SetDrive('d', SAMPLE_RUN);
    // The first play decodes in the background: the call runs no events and returns at once.
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true; });
    PlayButtonSound("d:\\click2.wav");  // 250 ms of IMA ADPCM
    EXPECT_FALSE(eventsRan);
    EXPECT_TRUE(WaitUntil([] { return ButtonSoundPlaying(); }, 2000));
    EXPECT_TRUE(WaitUntil([] { return !ButtonSoundPlaying(); }, 2000));
    QElapsedTimer clock;
    clock.start();
    PlaySoundToEnd("d:\\click2.wav");
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(ButtonSoundPlaying());
    PlayButtonSound("d:\\missing.wav");  // nothing to play: nothing plays
    EXPECT_FALSE(ButtonSoundPlaying());
}
