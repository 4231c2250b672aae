// MIDI songs through the player's own device, FluidSynth and the sound server the test command
// starts: hand-made songs and real ones from Debian's packages (scripts/fetch-realmedia.sh) open
// with their tempo map's length, sound, keep their place through seeks and pauses, end with their
// notification, and play one after another as background music.
#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "base/GlobalPaths.h"
#include "media/BackgroundMusic.h"
#include "media/MidiDevice.h"
#include "media/QtMediaDevice.h"
#include "media/Smf.h"
#include "platform/hostpaths/Drives.h"
#include "platform/SettingsStore.h"
#include "support/Wait.h"

namespace {

void Write(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

struct MidiPlay : ::testing::Test {
    QTemporaryDir dir;
    TMPlayer player;
    std::vector<int> notes;
    void SetUp() override {
        ASSERT_TRUE(TQtMediaDevice::HasAudioOutput()) << "no audio output: is the sound server running?";
        HostPathsService().SetDrive('e', dir.path().toStdString());
        player.OnNotify = [this](TMPlayer* p) { notes.push_back(p->NotifyValue()); };
    }
};

// Real songs: three of the MIDI music set of a Debian game package.
struct RealMidi : MidiPlay {
    void SetUp() override {
        MidiPlay::SetUp();
        const QString folder = qEnvironmentVariable("BOOKSHELL_REAL_MEDIA");
        if (folder.isEmpty() || !QDir(folder).exists("train_filled_with_cash.mid"))
            GTEST_SKIP() << "BOOKSHELL_REAL_MEDIA names no folder of fetched files (scripts/fetch-realmedia.sh)";
        HostPathsService().SetDrive('r', folder.toStdString());
        host = folder.toStdString() + "/";
    }
    std::string host;
};

// When FluidSynth's own MIDI file player is done with a song, rendered without a sound font as
// fast as it goes. With nothing sounding it waits a fixed 2 s after the last event for the
// reverb to die away.
int64_t FluidPlayerMs(const std::string& path) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* fluidPlayer = new_fluid_player(synth);
    fluid_player_add(fluidPlayer, path.c_str());
    fluid_player_play(fluidPlayer);
    int64_t frames = 0;
    float left[64], right[64];
    while (fluid_player_get_status(fluidPlayer) == FLUID_PLAYER_PLAYING) {
        fluid_synth_write_float(synth, 64, left, 0, 1, right, 0, 1);
        frames += 64;
    }
    delete_fluid_player(fluidPlayer);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return frames * 1000 / 44100;
}

}  // namespace

TEST_F(MidiPlay, MidiFilesAreKnownByTheirBytesAndPlayToTheirEnd) {
    const std::string song = smf::TwoSeconds();
    Write(dir.filePath("two.mid"), song);
    Write(dir.filePath("two.rmi"), smf::Rmid(song));
    Write(dir.filePath("two.dat"), song);  // a song by its bytes alone
    for (const char* file : {"e:\\two.rmi", "e:\\two.dat", "e:\\two.mid"}) {
        player.FileName = file;
        ASSERT_NO_THROW(player.Open()) << file;
        EXPECT_EQ(player.Length(), 2000) << file;
    }
    player.Play();
    EXPECT_EQ(player.Mode(), 2);
    ASSERT_TRUE(WaitUntil([&] { return !notes.empty(); }, 5000));
    EXPECT_EQ(notes, std::vector<int>{0});
    EXPECT_EQ(player.Position(), 2000);
}

TEST_F(MidiPlay, TheSampleBooksSongPlaysWithTheLengthItWasWrittenWith) {
    HostPathsService().SetDrive('d', SAMPLE_RUN);
    player.FileName = "d:\\music\\tune.mid";
    player.Open();
    EXPECT_EQ(player.Length(), 17450);  // seven bars at 120 a minute, then slowing down
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 300; }, 3000));
    player.Stop();
}

TEST_F(MidiPlay, FilesNamedAsSongsThatAreNoneGoElsewhereOrAreRefused) {
    QFile::copy(QString(SAMPLE_RUN) + "/sounds/horn.wav", dir.filePath("horn.mid"));
    player.FileName = "e:\\horn.mid";  // a wave file under a song's name plays as a wave file
    ASSERT_NO_THROW(player.Open());
    EXPECT_GT(player.Length(), 200);
    const std::string song = smf::TwoSeconds();
    Write(dir.filePath("cut.mid"), song.substr(0, song.size() - 3));
    const std::pair<const char*, int> cases[] = {{"e:\\cut.mid", TMPlayer::kInvalidFile},
                                                 {"e:\\gone.mid", TMPlayer::kFileNotFound}};
    for (const auto& [file, error] : cases) {
        player.FileName = file;
        EXPECT_THROW(player.Open(), EMCIDeviceError) << file;
        EXPECT_EQ(player.LastError(), error) << file;
    }
}

TEST_F(MidiPlay, WithoutItsSoundFontASongIsRefusedAndThatIsSaidOnce) {
    Write(dir.filePath("two.mid"), smf::TwoSeconds());
    static int told = 0;
    QLoggingCategory::setFilterRules("bookshell.media.info=true");
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (qstrcmp(context.category, "bookshell.media") == 0 && text.contains("/nowhere/GM.sf2")) ++told;
        });
    for (int i = 0; i < 2; ++i) {
        TMidiDevice device("/nowhere/GM.sf2");
        EXPECT_EQ(device.Open(dir.filePath("two.mid").toStdString()), TMPlayer::kInvalidFile);
        EXPECT_FALSE(device.Play());
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules("");
    EXPECT_EQ(told, 1);
}

TEST_F(RealMidi, RealSongsLastAsFluidSynthsOwnPlayerTimesThem) {
    for (const char* name : {"train_filled_with_cash.mid", "coconut_run2.mid", "tttheme2.mid"}) {
        TMidiDevice device;
        ASSERT_EQ(device.Open(host + name), 0) << name;
        EXPECT_GT(device.Length(), 60000) << name;
        EXPECT_NEAR(double(device.Length()), double(FluidPlayerMs(host + name) - 2000), 10) << name;
    }
}

TEST_F(RealMidi, ARealSongSoundsAndKeepsItsPlaceThroughSeeksAndPauses) {
    TMidiSynth synth;
    ASSERT_TRUE(synth.Ready());
    QFile file(QString::fromStdString(host + "train_filled_with_cash.mid"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    synth.SetSong(*TMidiSong::Parse(file.readAll().toStdString()));
    std::vector<int16_t> pcm(2 * TMidiSynth::kRate * 5);  // five seconds
    synth.Render(pcm.data(), TMidiSynth::kRate * 5);
    double sum = 0;
    for (int16_t s : pcm) sum += double(s) * s;
    EXPECT_GT(std::sqrt(sum / double(pcm.size())), 300.0);

    player.FileName = "r:\\train_filled_with_cash.mid";
    player.Open();
    player.Seek(20000);
    EXPECT_EQ(player.Position(), 20000);
    player.Play();  // heard from there on, once the sound server has started the stream
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 20300; }, 3000));
    EXPECT_LT(player.Position(), 23000);
    player.PauseOnly();
    const int64_t paused = player.Position();
    Pump(300);
    EXPECT_EQ(player.Position(), paused);
    player.Resume();
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > paused + 300; }, 3000));
    EXPECT_LT(player.Position(), paused + 2000);
    notes.clear();
    player.Seek(player.Length() - 800);  // aborts the resumed play
    player.Play();
    ASSERT_TRUE(WaitUntil([&] { return notes.size() == 2; }, 4000));
    EXPECT_EQ(notes, (std::vector<int>{2, 0}));
    EXPECT_EQ(player.Position(), player.Length());
}

TEST_F(RealMidi, BackgroundMusicOfMidiSongsGoesFromOneToTheNext) {
    SetProgramDir("r:\\");
    StartState().appTitle = "MIDI music test";
    player.FileName = "r:\\coconut_run2.mid";
    player.Open();
    TSettingsStore(AppTitle()).WriteInteger("BGSoundSong", 0);
    TSettingsStore(AppTitle()).WriteInteger("BGSoundPos", int32_t(player.Length() - 1500));
    player.Close();
    TBackgroundMusic music(nullptr, {"coconut_run2.mid", "train_filled_with_cash.mid"}, true);
    music.Start();  // the song is read ahead, then plays
    ASSERT_TRUE(WaitUntil([&] { return music.Player().Mode() == 2; }, 3000));
    EXPECT_GE(music.Player().Position(), music.Player().Length() - 1500);
    ASSERT_TRUE(WaitUntil([&] { return music.Song() == 1; }, 5000));
    EXPECT_EQ(music.Player().FileName, "r:\\train_filled_with_cash.mid");
    EXPECT_TRUE(WaitUntil([&] { return music.Player().Mode() == 2; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return music.Player().Position() > 300; }, 3000));
    EXPECT_TRUE(music.On());
    music.Stop(false);
    TSettingsStore(AppTitle()).DeleteValue("BGSoundSong");
    TSettingsStore(AppTitle()).DeleteValue("BGSoundPos");
}
