// The media player component's rules against a device the test drives: modes, pause in each
// mode, notifications and their values, one-shot overrides, the errors of a closed player, and
// opens that wait for their file to be read ahead.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "media/FakeDevice.h"
#include "media/MPlayer.h"
#include "media/ReadAhead.h"
#include "platform/hostpaths/Drives.h"
#include "support/Wait.h"

namespace {

struct Player : ::testing::Test {
    QTemporaryDir dir;
    FakeDevice* device = nullptr;
    std::unique_ptr<TMPlayer> player;
    std::vector<int> notes;
    void SetUp() override {
        QFile(dir.filePath("song.wav")).open(QIODevice::WriteOnly);
        HostPathsService().SetDrive('d', dir.path().toStdString());
        auto fake = std::make_unique<FakeDevice>();
        device = fake.get();
        player = std::make_unique<TMPlayer>(nullptr, std::move(fake));
        player->FileName = "d:\\SONG.WAV";
        player->OnNotify = [this](TMPlayer* p) { notes.push_back(p->NotifyValue()); };
    }
    // The notifications that came, once the event loop delivered them.
    std::vector<int> Notes() {
        QCoreApplication::processEvents();
        return notes;
    }
};

}  // namespace

TEST_F(Player, AClosedPlayerIsNotReadyAndRefusesCommands) {
    EXPECT_EQ(player->Mode(), 0);
    EXPECT_EQ(player->Position(), 0);
    EXPECT_THROW(player->Length(), EMCIDeviceError);
    try {
        player->Play();
        FAIL();
    } catch (const EMCIDeviceError& e) {
        EXPECT_STREQ(e.what(), "No MCI device open");
    }
    player->Close();  // nothing to close: nothing happens
    player->FileName = "d:\\none.wav";
    EXPECT_THROW(player->Open(), EMCIDeviceError);
    EXPECT_EQ(player->LastError(), TMPlayer::kFileNotFound);
    player->FileName = "d:\\song.wav";
    device->openError = TMPlayer::kInvalidFile;
    EXPECT_THROW(player->Open(), EMCIDeviceError);
    EXPECT_EQ(player->LastError(), TMPlayer::kInvalidFile);
    EXPECT_EQ(player->Mode(), 0);
}

TEST_F(Player, PauseTogglesOnlyBetweenPlayingAndPaused) {
    player->Open();
    EXPECT_EQ(player->Mode(), 1);
    player->Pause();  // stopped: nothing
    EXPECT_EQ(player->Mode(), 1);
    player->Play();
    player->Pause();
    EXPECT_EQ(player->Mode(), 5);
    EXPECT_FALSE(device->playing);
    player->Pause();
    EXPECT_EQ(player->Mode(), 2);
    EXPECT_TRUE(device->playing);
    player->Resume();  // refused by a playing device: it plays instead
    EXPECT_EQ(player->Mode(), 2);
    EXPECT_EQ(Notes(), (std::vector<int>{1, 1}));  // each new play supersedes the one before
}

TEST_F(Player, EveryEndNotifiesWithItsValue) {
    player->Open();
    player->Play();
    device->End();
    EXPECT_EQ(player->Mode(), 1);
    EXPECT_EQ(Notes(), (std::vector<int>{0}));
    player->Rewind();
    player->Play();
    player->Stop();
    player->Play();
    player->Seek(500);
    player->Play();
    device->Failed();
    player->Play();
    player->Close();
    EXPECT_EQ(Notes(), (std::vector<int>{0, 2, 2, 3, 2}));
    EXPECT_EQ(player->Mode(), 0);
}

TEST_F(Player, AnOverrideServesTheNextCommandOnly) {
    player->Open();
    player->SetNotify(false);
    player->Play();
    device->End();
    EXPECT_TRUE(Notes().empty());
    player->Rewind();
    player->Play();
    device->End();
    EXPECT_EQ(Notes(), (std::vector<int>{0}));
    player->SetNotify(true);
    player->Stop();  // asked for: a stop notifies too
    player->Stop();
    EXPECT_EQ(Notes(), (std::vector<int>{0, 0}));
    player->SetFrom(2500);
    player->Play();
    EXPECT_EQ(device->position, 2500);
}

TEST_F(Player, AStopKeepsThePlaceAndAPlayAtTheEndRewindsOnlyWhenAsked) {
    player->Open();
    device->position = 4000;
    player->Play();
    player->Stop();
    EXPECT_EQ(player->Position(), 4000);
    player->Play();
    device->End();
    EXPECT_EQ(Notes(), (std::vector<int>{2, 0}));
    const int plays = device->plays;
    player->Play();  // nothing left: done at once
    EXPECT_EQ(device->plays, plays);
    EXPECT_EQ(player->Mode(), 1);
    EXPECT_EQ(Notes(), (std::vector<int>{2, 0, 0}));
    player->AutoRewind = true;
    player->Play();
    EXPECT_EQ(device->plays, plays + 1);
    EXPECT_EQ(player->Position(), 0);
}

TEST_F(Player, ASoundWithoutAnOutputFailsToPlayAndAStalledPlayBreaksOff) {
    player->Open();
    device->canPlay = false;
    EXPECT_THROW(player->Play(), EMCIDeviceError);
    EXPECT_EQ(player->LastError(), TMPlayer::kNoAudioOutput);
    EXPECT_EQ(player->Mode(), 1);
    device->canPlay = true;
    player->Play();  // the position never moves
    EXPECT_TRUE(WaitUntil([&] { return !notes.empty(); }, 6000));
    EXPECT_EQ(notes, (std::vector<int>{3}));
    EXPECT_EQ(player->Mode(), 1);
}

// An open that waits for its file to be read ahead: nothing is open until the device is ready,
// and a close or a newer open drops the one that waits.
TEST_F(Player, AnOpenWaitingForItsFileIsDroppedByACloseOrANewerOpen) {
    device->holdPrepare = true;
    std::vector<int> done;
    player->OpenThen([&](int error) { done.push_back(error); });
    EXPECT_FALSE(player->Opened());
    EXPECT_TRUE(done.empty());
    device->Ready();
    EXPECT_EQ(done, (std::vector<int>{0}));
    EXPECT_TRUE(player->Opened());

    player->OpenThen([&](int error) { done.push_back(error); });
    std::function<void()> stale = device->pendingReady;
    player->Close();
    stale();  // a device that reports after all
    EXPECT_FALSE(player->Opened());

    player->OpenThen([&](int error) { done.push_back(error); });
    stale = device->pendingReady;
    player->FileName = "d:\\MISSING.WAV";
    player->OpenThen([&](int error) { done.push_back(error); });  // no such file: answered at once
    stale();
    EXPECT_EQ(done, (std::vector<int>{0, TMPlayer::kFileNotFound}));
    EXPECT_FALSE(player->Opened());
}

// A file on a disc that answers slowly (here a pipe nobody writes to yet) holds the reader
// thread, not the caller; ready comes once the file is read, and only for the newest read.
TEST(ReadAhead, ASlowFileHoldsTheReaderThreadAndNotTheCaller) {
    QTemporaryDir dir;
    const QString slow = dir.filePath("slow.avi");
    ASSERT_EQ(::mkfifo(QFile::encodeName(slow).constData(), 0600), 0);
    QFile(dir.filePath("quick.avi")).open(QIODevice::WriteOnly);
    TReadAhead ahead;
    std::vector<std::string> ready;
    QElapsedTimer clock;
    clock.start();
    ahead.Start(slow.toStdString(), [&] { ready.push_back("slow"); });
    EXPECT_LT(clock.elapsed(), 100);
    Pump(200);
    EXPECT_TRUE(ready.empty());
    ahead.Start(dir.filePath("quick.avi").toStdString(), [&] { ready.push_back("quick"); });
    EXPECT_TRUE(WaitUntil([&] { return !ready.empty(); }, 3000));
    const int writer = ::open(QFile::encodeName(slow).constData(), O_RDWR);  // the disc answers at last
    ASSERT_GE(writer, 0);
    QThreadPool::globalInstance()->waitForDone(3000);
    ::close(writer);
    Pump(50);
    EXPECT_EQ(ready, (std::vector<std::string>{"quick"}));
}
