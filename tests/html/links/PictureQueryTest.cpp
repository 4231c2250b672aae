// The enlarged-picture query against picture windows in other processes.
#include "html/PictureQuery.h"

#include "platform/ChannelWindow.h"
#include "support/PeerProcess.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A picture window in another process: it answers queries, or stays silent.
class TPicturePeer : public TPeerProcess {
public:
    explicit TPicturePeer(const QStringList& args) : TPeerProcess(QStringLiteral(PICTURE_PEER), args) {}
};

QByteArray Hex(const std::string& bytes) { return QByteArray::fromStdString(bytes).toHex(); }

TEST(PictureQuery, AsksEachPictureWindowUntilOneShowsThePicture) {
    const std::string shown = "d:\\run\\\xF0\xE8\xF1\\big.jpg";  // рис
    const std::string other = "d:\\run\\other.jpg";
    // Started last, the silent window is on top and is asked first.
    TPicturePeer showing({"answer", QString::fromLatin1(Hex(shown))});
    ASSERT_TRUE(showing.ReadLine().startsWith("ready "));
    TPicturePeer silent({"silent"});
    ASSERT_TRUE(silent.ReadLine().startsWith("ready "));

    TChannelWindow self;
    self.SetCaption("main");
    self.SetVisible(true);
    TPictureQuery query(self);

    // Nobody shows another picture: both are asked, none comes to the front.
    EXPECT_FALSE(query.Query(other));
    EXPECT_EQ(silent.ReadLine(), "query " + Hex(other));
    EXPECT_EQ(showing.ReadLine(), "query " + Hex(other));

    // The silent one is waited for, then the one that shows the picture is raised.
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(query.Query(shown));
    EXPECT_GE(clock.elapsed(), TPictureQuery::kWaitSteps * TPictureQuery::kWaitStepMs - 20);
    EXPECT_EQ(silent.ReadLine(), "query " + Hex(shown));
    EXPECT_EQ(showing.ReadLine(), "query " + Hex(shown));
    EXPECT_EQ(showing.ReadLine(), "activated");
    EXPECT_EQ(silent.ReadLine(500), "");
}

} // namespace
