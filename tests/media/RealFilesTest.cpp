// Real files of old discs, from Debian's packages (scripts/fetch-realmedia.sh, which the test
// command runs): a Win3.x-style 8-bit WAV with extra chunks, an MS-ADPCM WAV and an MPEG-2.5 MP3
// play to their end, also as button sounds, and a Cinepak AVI shows its frames.
#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include <vector>

#include "media/ButtonSound.h"
#include "media/MPlayer.h"
#include "media/QtMediaDevice.h"
#include "platform/hostpaths/Drives.h"
#include "support/Wait.h"

namespace {

struct RealFiles : ::testing::Test {
    void SetUp() override {
        const QString folder = qEnvironmentVariable("BOOKSHELL_REAL_MEDIA");
        if (folder.isEmpty() || !QDir(folder).exists("tree.avi"))
            GTEST_SKIP() << "BOOKSHELL_REAL_MEDIA names no folder of fetched files (scripts/fetch-realmedia.sh)";
        ASSERT_TRUE(TQtMediaDevice::HasAudioOutput()) << "no audio output: is the sound server running?";
        HostPathsService().SetDrive('r', folder.toStdString());
    }
};

}  // namespace

TEST_F(RealFiles, OldSoundsPlayToTheirEnd) {
    for (const char* file : {"r:\\punch.wav", "r:\\secosmic_lo.wav", "r:\\house_lo.mp3"}) {
        TMPlayer player;
        std::vector<int> notes;
        player.OnNotify = [&](TMPlayer* p) { notes.push_back(p->NotifyValue()); };
        player.FileName = file;
        ASSERT_NO_THROW(player.Open()) << file;
        EXPECT_GT(player.Length(), 100) << file;
        player.Play();
        ASSERT_TRUE(WaitUntil([&] { return !notes.empty(); }, int(player.Length()) + 4000)) << file;
        EXPECT_EQ(notes, std::vector<int>{0}) << file;
    }
}

TEST_F(RealFiles, OldSoundsPlayAsButtonSounds) {
    for (const char* file : {"r:\\punch.wav", "r:\\secosmic_lo.wav"}) {
        ASSERT_TRUE(WaitUntil([] { return !ButtonSoundPlaying(); }, 5000));
        PlayButtonSound(file);
        EXPECT_TRUE(WaitUntil([] { return ButtonSoundPlaying(); }, 3000)) << file;
    }
}

TEST_F(RealFiles, ACinepakClipShowsItsFrames) {
    QWidget display;
    TMPlayer player;
    player.FileName = "r:\\tree.avi";
    player.SetDisplay(&display);
    player.Open();
    ASSERT_TRUE(player.HasVideo());
    EXPECT_EQ(player.VideoSize(), QSize(320, 240));
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 500 && !player.CurrentFrame().isNull(); }, 5000));
    EXPECT_EQ(player.CurrentFrame().size(), QSize(320, 240));
    player.Stop();
}
