#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <ctime>
#include <set>

#include <utime.h>

#include "InstanceTestUtil.h"
#include "platform/InstanceLock.h"
#include "platform/RuntimeFolder.h"

namespace {

const std::string kTitle = "\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE \xEF\xEE \xF0\xE5\xEC\xEE\xED\xF2\xF3";  // Руководство по ремонту

} // namespace

TEST(InstanceLock, AnotherLiveHolderIsRefusedUntilItReleases) {
    {
        TPeer holder({"lock", Hex(kTitle)});
        ASSERT_EQ(holder.ReadLine(), "locked");
        // However long the first instance has been running, its lock stands.
        const QByteArray path = QFile::encodeName(TInstanceLock::LockPath(kTitle));
        const utimbuf dayOld{std::time(nullptr) - 86400, std::time(nullptr) - 86400};
        ASSERT_EQ(::utime(path.constData(), &dayOld), 0);
        TInstanceLock lock;
        EXPECT_FALSE(lock.TryAcquire(kTitle));
        EXPECT_FALSE(lock.Held());
        EXPECT_TRUE(lock.TryAcquire("another title"));
    }  // the holder ends normally
    TInstanceLock lock;
    ASSERT_TRUE(lock.TryAcquire(kTitle));
    TPeer second({"lock", Hex(kTitle)});
    EXPECT_EQ(second.ReadLine(), "refused");
    TInstanceLock sameProcess;
    EXPECT_FALSE(sameProcess.TryAcquire(kTitle));
}

TEST(InstanceLock, LockOfAKilledProcessDoesNotBlockTheNextStart) {
    {
        TPeer holder({"lock", Hex(kTitle)});
        ASSERT_EQ(holder.ReadLine(), "locked");
        holder.Process().kill();  // SIGKILL: no chance to remove its file
        ASSERT_TRUE(holder.Process().waitForFinished(10000));
    }
    ASSERT_TRUE(QFile::exists(TInstanceLock::LockPath(kTitle)));
    TInstanceLock lock;
    EXPECT_TRUE(lock.TryAcquire(kTitle));
}

TEST(InstanceLock, AnyNameGetsItsOwnFileInsideTheFolder) {
    const std::string names[] = {"a/b", "a_b", "../../x", "A", "a", std::string(1000, '\xFF'),
                                 std::string("t\0\n\x01", 4), ".", "*?"};
    std::set<QString> paths;
    for (const auto& name : names) {
        const QString path = TInstanceLock::LockPath(name);
        EXPECT_EQ(QFileInfo(path).absolutePath(), RuntimeFolder());
        EXPECT_LT(QFileInfo(path).fileName().toUtf8().size(), 200);
        paths.insert(path);
        TInstanceLock lock;
        EXPECT_TRUE(lock.TryAcquire(name)) << path.toStdString();
    }
    EXPECT_EQ(paths.size(), std::size(names));  // case and "/" vs "_" still tell names apart

    TInstanceLock untitled, untitledToo;  // no name, no lock: like an unnamed semaphore
    EXPECT_TRUE(untitled.TryAcquire(""));
    EXPECT_TRUE(untitledToo.TryAcquire(""));
}
