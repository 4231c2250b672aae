#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSaveFile>

#include <random>

#include <unistd.h>

#include "InstanceTestUtil.h"
#include "platform/ChannelFrame.h"
#include "platform/ChannelWindow.h"
#include "platform/InstanceChannel.h"

namespace {

const std::string kPicture = "\xD3\xE2\xE5\xEB\xE8\xF7\xE5\xED\xED\xE0\xFF \xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0";  // Увеличенная картинка
const std::string kPictureUpper = "\xD3\xC2\xC5\xCB\xC8\xD7\xC5\xCD\xCD\xC0\xDF \xCA\xC0\xD0\xD2\xC8\xCD\xCA\xC0";
const std::string kThesaurus = "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1";  // Тезаурус

TInstanceChannel& Channel() { return TInstanceChannel::Instance(); }

std::unique_ptr<TChannelWindow> Window(const std::string& caption, bool visible = true) {
    auto window = std::make_unique<TChannelWindow>();
    window->SetCaption(caption);
    window->SetVisible(visible);
    return window;
}

THandle Find(const std::string& title) {
    THandle handle = 0;
    return Channel().FindVisibleWindow(title, handle) ? handle : 0;
}

QString EntryPath(THandle handle) { return Channel().EntryFolder() + '/' + RWindowEntry::FileName(handle); }

void WriteEntry(const RWindowEntry& entry) {
    QSaveFile file(EntryPath(entry.handle));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(entry.Serialize());
    ASSERT_TRUE(file.commit());
}

// Counts what a window receives.
struct RReceived {
    explicit RReceived(TChannelWindow& window) {
        QObject::connect(&window, &TChannelWindow::CopyDataReceived, [this](quint64 from, const RInstanceData& data) {
            ++copies;
            lastFrom = from;
            lastData = data;
        });
        QObject::connect(&window, &TChannelWindow::MessageReceived, [this](quint32 message, quint64 w, quint64) {
            ++messages;
            lastMessage = message;
            lastW = w;
        });
        QObject::connect(&window, &TChannelWindow::CloseRequested, [this] { ++closes; });
    }
    int copies = 0, messages = 0, closes = 0;
    quint64 lastFrom = 0, lastW = 0;
    quint32 lastMessage = 0;
    RInstanceData lastData;
};

RInstanceData Query(const std::string& file, int32_t code = 0) {
    RInstanceData query;
    query.kind = RInstanceData::kQueryShownFile;
    query.count = 1;
    query.codes[0] = code;
    query.strings[0] = file;
    return query;
}

} // namespace

TEST(InstanceChannel, FindsCaptionsCaseInsensitivelyTopmostFirst) {
    auto hidden = Window(kPicture, false);
    auto lower = Window(kPicture);
    auto upper = Window(kPictureUpper);
    auto untitled = Window("");
    EXPECT_EQ(Find(kPicture), upper->Handle());  // shown last, so on top
    EXPECT_EQ(Find(kPictureUpper), upper->Handle());
    EXPECT_EQ(Channel().FindVisibleWindows(kPicture), (std::vector<THandle>{upper->Handle(), lower->Handle()}));
    lower->MarkRaised();
    EXPECT_EQ(Find(kPicture), lower->Handle());
    lower->SetVisible(false);
    EXPECT_EQ(Find(kPicture), upper->Handle());
    EXPECT_EQ(Find(kPicture.substr(0, 11)), 0u);  // the whole caption must match
    EXPECT_EQ(Find(""), 0u);                     // an empty caption never matches
}

TEST(InstanceChannel, ComparesTheFirst128CharactersOfACaption) {
    const std::string longCaption = std::string(128, '\xE6') + " tail";
    auto window = Window(longCaption);
    EXPECT_EQ(Find(std::string(128, '\xC6')), window->Handle());
    EXPECT_EQ(Find(longCaption), 0u);
}

TEST(InstanceChannel, EntriesOfDeadProcessesAndSilentWindowsAreDropped) {
    QProcess gone;
    gone.start(QStringLiteral(INSTANCE_PEER), {});
    ASSERT_TRUE(gone.waitForStarted(10000));
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished(10000));

    auto real = Window(kThesaurus);
    // The dead entry points at a socket that answers: only its process tells it is gone.
    RWindowEntry dead{(static_cast<THandle>(deadPid) << 32) | 7, deadPid, real->Entry().server, true, ~0ull, kThesaurus};
    RWindowEntry silent{(static_cast<THandle>(::getppid()) << 32) | 9, ::getppid(), Channel().EntryFolder() + "/none.sock",
                        true, ~0ull - 1, kThesaurus};
    WriteEntry(dead);
    WriteEntry(silent);
    EXPECT_EQ(Find(kThesaurus), real->Handle());
    EXPECT_FALSE(QFile::exists(EntryPath(dead.handle)));
    EXPECT_FALSE(QFile::exists(EntryPath(silent.handle)));

    WriteEntry(dead);
    EXPECT_FALSE(Channel().PostMessage(dead.handle, 1, 2, 3));
    EXPECT_FALSE(QFile::exists(EntryPath(dead.handle)));
    const THandle realHandle = real->Handle();
    real.reset();  // a closed window withdraws its own entry
    EXPECT_EQ(Find(kThesaurus), 0u);
    EXPECT_FALSE(QFile::exists(EntryPath(realHandle)));
}

TEST(InstanceChannel, WindowsOfThisProcessAreSentToAtOnceAndPostedToLater) {
    auto window = Window("self");
    RReceived got(*window);
    RInstanceData page;
    page.strings[0] = "page.htm";
    ASSERT_TRUE(Channel().SendCopyData(window->Handle(), 42, page));
    EXPECT_EQ(got.copies, 1);  // handled inside the call
    EXPECT_EQ(got.lastFrom, 42u);
    EXPECT_EQ(got.lastData.strings[0], "page.htm");
    ASSERT_TRUE(Channel().PostMessage(window->Handle(), 0x04C8, 5, 6));
    EXPECT_EQ(got.messages, 0);  // only from the event loop
    EXPECT_TRUE(WaitUntil([&] { return got.messages == 1; }));
    EXPECT_EQ(got.lastMessage, 0x04C8u);
    EXPECT_TRUE(Channel().SendClose(window->Handle()));
    EXPECT_EQ(got.closes, 1);
    const THandle handle = window->Handle();
    window.reset();
    EXPECT_FALSE(Channel().SendClose(handle));
    EXPECT_FALSE(Channel().IsWindow(handle));
    EXPECT_FALSE(Channel().PostMessage(0, 1, 0, 0));
}

TEST(InstanceChannel, MalformedStreamsAreDroppedWithoutEffect) {
    auto window = Window("target");
    RReceived got(*window);
    const QString server = window->Entry().server;
    auto sendRaw = [&](const QByteArray& bytes, bool oneByteAtATime = false) {
        QLocalSocket socket;
        socket.connectToServer(server);
        ASSERT_TRUE(socket.waitForConnected(5000));
        for (qsizetype i = 0; i < bytes.size(); i += oneByteAtATime ? 1 : bytes.size()) {
            socket.write(bytes.mid(i, oneByteAtATime ? 1 : bytes.size()));
            socket.waitForBytesWritten(5000);
            QCoreApplication::processEvents();
        }
        socket.disconnectFromServer();
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    QByteArray message;
    AppendLe32(message, 0x04C9);
    AppendLe64(message, 1);
    AppendLe64(message, 2);
    const QByteArray valid = EncodeFrame(EFrameType::Message, message);

    std::mt19937 random(1234);
    for (int round = 0; round < 30; ++round) {
        QByteArray noise(static_cast<qsizetype>(random() % 2000), '\0');
        for (auto& c : noise) c = static_cast<char>(random());
        sendRaw(noise);
    }
    QByteArray badMagic = valid, badType = valid, badLength = valid, hugeLength = valid, reserved = valid;
    badMagic[0] = 'X';
    badType[4] = 9;
    badLength[8] = 21;
    hugeLength[8] = hugeLength[9] = hugeLength[10] = hugeLength[11] = '\xFF';
    reserved[7] = 1;
    for (const QByteArray& bad : {badMagic, badType, badLength, hugeLength, reserved})
        sendRaw(bad + valid);  // nothing after a broken header counts either
    sendRaw(valid.left(7));    // cut short in the header
    sendRaw(valid.left(20));   // or in the payload
    EXPECT_EQ(got.messages + got.copies + got.closes, 0);

    sendRaw(valid, true);
    sendRaw(valid + EncodeFrame(EFrameType::Close));
    EXPECT_TRUE(WaitUntil([&] { return got.messages == 2 && got.closes == 1; }));
    EXPECT_EQ(got.lastW, 1u);
    EXPECT_EQ(Find("target"), window->Handle());  // and the window still answers
}

TEST(InstanceChannel, TwoProcessesQueryAndShowPages) {
    const std::string shown = "d:\\run\\\xF0\xE8\xF1\\1.jpg";  // рис
    TPeer peer({"window", Hex(kPicture), Hex(shown)});
    const QByteArray ready = peer.ReadLine();
    ASSERT_TRUE(ready.startsWith("ready ")) << ready.toStdString();
    const THandle peerHandle = ready.mid(6).toULongLong();

    auto self = Window("main");
    RReceived got(*self);
    ASSERT_EQ(Find(kPictureUpper), peerHandle);

    // The picture window says whether it shows this very file.
    const std::pair<RInstanceData, quint64> queries[] = {
        {Query(shown), 1}, {Query(shown + "x"), 0}, {Query(shown, 1), 0}};
    for (const auto& [query, answer] : queries) {
        const int before = got.messages;
        ASSERT_TRUE(Channel().SendCopyData(peerHandle, self->Handle(), query));
        ASSERT_TRUE(WaitUntil([&] { return got.messages == before + 1; }));
        EXPECT_EQ(got.lastMessage, 0x04C9u);
        EXPECT_EQ(got.lastW, answer);
    }

    RInstanceData page;
    page.kind = RInstanceData::kShowPage;
    page.count = 2;
    page.strings[0] = std::string(270, '\xDF') + "\\a.htm#x";  // cut to 273 on the way
    page.strings[1] = kThesaurus;
    ASSERT_TRUE(Channel().SendCopyData(peerHandle, self->Handle(), page));
    EXPECT_EQ(peer.ReadLine(), "page 2 " + QByteArray::fromStdString(page.strings[0].substr(0, 273)).toHex() + ' ' +
                                   QByteArray::fromStdString(kThesaurus).toHex());
    ASSERT_TRUE(WaitUntil([&] { return got.lastMessage == 0x069A; }));
    EXPECT_EQ(got.lastW, peerHandle);

    // A close request is handled, window gone, before the call returns.
    ASSERT_TRUE(Channel().SendClose(peerHandle));
    EXPECT_EQ(Find(kPicture), 0u);
    EXPECT_EQ(peer.ReadLine(), "closed");
    EXPECT_TRUE(peer.Process().waitForFinished(10000));
    EXPECT_FALSE(Channel().SendCopyData(peerHandle, self->Handle(), page));
}

TEST(InstanceChannel, AKilledPeerIsForgotten) {
    TPeer peer({"window", Hex(kThesaurus), Hex("")});
    const QByteArray ready = peer.ReadLine();
    ASSERT_TRUE(ready.startsWith("ready "));
    const THandle peerHandle = ready.mid(6).toULongLong();
    ASSERT_EQ(Find(kThesaurus), peerHandle);
    peer.Process().kill();
    ASSERT_TRUE(peer.Process().waitForFinished(10000));
    EXPECT_FALSE(Channel().SendCopyData(peerHandle, 0, Query("x")));
    EXPECT_EQ(Find(kThesaurus), 0u);
    EXPECT_TRUE(QDir(Channel().EntryFolder()).entryList({"*.win"}, QDir::Files).isEmpty());
}
