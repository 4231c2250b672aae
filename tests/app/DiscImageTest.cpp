// The sample disc as an ISO image: the program opens it in place and shows the reading screen;
// what must be a real file comes from the per-user cache and is reused on the next start;
// Cyrillic Joliet names resolve in any case; bad images stop the start with one line; and
// nothing is ever written beside the image.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/DiscImageOption.h"
#include "base/Cp1251.h"
#include "packs/BookFiles.h"
#include "packs/IsoTestUtil.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "packs/ReadBin.h"
#include "platform/hostpaths/Drives.h"

namespace fs = std::filesystem;

namespace {

// A copy of the sample image in a folder of its own, so that the folder can be watched.
std::string imageCopy(const std::string& name) {
    const std::string dir = MakeTempDir() + "/images";
    fs::create_directories(dir);
    fs::copy_file(SAMPLE_ISO, dir + "/" + name);
    return dir + "/" + name;
}

struct RRun {
    int code = -1;
    QString err;
};

RRun runBookshell(const QStringList& args, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PULSE_SERVER", "unix:" + home + "/no-such-server");
    for (const char* folder : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        QDir(home).mkpath(folder);
        env.insert(folder, home + "/" + folder);
    }
    QFile::setPermissions(home + "/XDG_RUNTIME_DIR", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(BOOKSHELL_EXE, args);
    if (!program.waitForFinished(90000)) program.kill();
    program.waitForFinished(5000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardError())};
}

long long modified(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec : -1;
}

}  // namespace

TEST(DiscImage, TheProgramStartsFromTheImageAndReusesItsCacheOnTheNextStart) {
    const std::string iso = imageCopy("Книга.iso");
    const QString home = QString::fromStdString(MakeTempDir());
    const QString shot = home + "/reading.png";
    const QStringList args{"--disc", QString::fromStdString(iso), "--command", "2", "--screenshot", shot};
    const RRun first = runBookshell(args, home);
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_GT(QFileInfo(shot).size(), 10000);

    // The start clip went to the player as a real file: a copy in the image's cache folder.
    const fs::path images = (home + "/XDG_CACHE_HOME/bookshell/images").toStdString();
    ASSERT_TRUE(fs::is_directory(images));
    const fs::path cache = fs::directory_iterator(images)->path();
    const fs::path clip = cache / "run" / "intro.avi";
    ASSERT_TRUE(fs::is_regular_file(clip));
    EXPECT_EQ(fs::file_size(clip), fs::file_size(fs::path(SAMPLE_RUN) / "intro.avi"));
    const long long stamp = modified(clip);

    const RRun second = runBookshell(args, home);
    ASSERT_EQ(second.code, 0) << second.err.toStdString();
    EXPECT_EQ(modified(clip), stamp) << "the second start reuses the copy";
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(iso).parent_path()), fs::directory_iterator{}), 1);
}

TEST(DiscImage, BadImagesStopTheStartWithOneLine) {
    const std::string dir = MakeTempDir();
    WriteFileBytes(dir + "/audio.iso", std::string(300000, '\0'));
    std::string head(40000, '\0');
    std::ifstream(SAMPLE_ISO, std::ios::binary).read(head.data(), static_cast<std::streamsize>(head.size()));
    WriteFileBytes(dir + "/short.iso", head);
    fs::create_directories(dir + "/nobook");
    WriteFileBytes(dir + "/nobook/page.htm", "<p>");
    ASSERT_EQ(
        std::system(("xorriso -as mkisofs -quiet -J -o '" + dir + "/nobook.iso' '" + dir + "/nobook' >/dev/null 2>&1").c_str()),
        0);
    for (const char* name : {"audio.iso", "short.iso", "nobook.iso"}) {
        const RRun run =
            runBookshell({"--disc", QString::fromStdString(dir + "/" + name)}, QString::fromStdString(MakeTempDir()));
        EXPECT_EQ(run.code, 1) << name;
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(name)) << run.err.toStdString();
    }
}

TEST(DiscImage, BookFilesAndRealFilesComeFromTheImage) {
    const std::string iso = imageCopy("sample.iso");
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(MakeTempDir()));
    const auto folder = DiscFolderOf(iso);
    ASSERT_TRUE(folder.has_value());
    const RDriveLayout layout = SetupDrives(*folder, 'd');
    EXPECT_EQ(layout.programDir, "d:\\run\\");

    // Pages and pictures are read in place; a Joliet name with Cyrillic letters in any case.
    TMemoryStream page;
    BookFiles().Read(Cp1251::fromUtf8("d:\\ОБРАЗЕЦ.htm"), page);
    EXPECT_NE(std::string(page.View()).find("Joliet"), std::string::npos);
    OpenPack(layout.programDir + "interface.dat");
    EXPECT_FALSE(ListPackFiles().empty());
    // The bundle's entries are read in place, each as the disc folder's bundle holds it.
    TReadBin bundle, folderBundle;
    bundle.OpenBundle(layout.programDir + "ZAZ.DHL");
    folderBundle.OpenBundle(std::string(SAMPLE_RUN) + "/Zaz.dhl");
    ASSERT_EQ(bundle.Directory().size(), folderBundle.Directory().size());
    for (const RBin& entry : folderBundle.Directory()) {
        std::vector<uint8_t> inImage, inFolder;
        EXPECT_EQ(bundle.ReadBundleEntry(entry.name, inImage), folderBundle.ReadBundleEntry(entry.name, inFolder));
        EXPECT_TRUE(inImage == inFolder) << entry.name;
    }
    EXPECT_FALSE(fs::exists(fs::path(*folder) / "Zaz.dhl")) << "read from the image, not copied out";
    const auto listed = HostPathsService().List("d:\\RUN\\");
    ASSERT_TRUE(listed.has_value());
    EXPECT_TRUE(std::any_of(listed->begin(), listed->end(), [](const RFolderEntry& e) { return e.name == "click.wav"; }));
    EXPECT_FALSE(fs::exists(fs::path(*folder) / "interface.dat")) << "read from the image, not copied out";

    // A sound for the player and a program to start are copied out, the program executable.
    const auto sound = HostPathsService().Find("d:\\RUN\\CLICK.WAV");
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(ReadBytes(*sound), ReadBytes(std::string(SAMPLE_RUN) + "/click.wav"));
    const auto program = HostPathsService().Find("d:\\run\\SETUP\\demo.exe");
    ASSERT_TRUE(program.has_value());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(*program)).isExecutable());
    EXPECT_FALSE(HostPathsService().Find("d:\\run\\no-such.wav").has_value());
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(iso).parent_path()), fs::directory_iterator{}), 1);
    ClosePack();
}

TEST(DiscImage, AnImageAsTheOnlyArgumentOpensAsTheDisc) {
    const std::string iso = imageCopy("Книга.ISO");
    const TCommandLine opened = WithImageAsDisc(ParseCommandLine({iso}));
    EXPECT_EQ(opened.discDir, iso);
    EXPECT_TRUE(opened.bookArgs.empty());
    // A page for the standard window, an image beside --disc, or a missing image stay arguments.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{fs::path(iso).replace_extension(".htm").string()},
          std::vector<std::string>{"--disc", "/x", iso}, std::vector<std::string>{iso + ".iso"}}) {
        const TCommandLine line = WithImageAsDisc(ParseCommandLine(args));
        EXPECT_EQ(line.bookArgs.size(), 1u) << args.back();
    }
    EXPECT_FALSE(OpenDroppedImage(fs::path(iso).replace_extension(".htm").string()));
}
