// The codec and driver installers: the files they copy from the disc's Resource folder into the
// system folder of drive c:, and the entries they write into the machine store.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/GlobalPaths.h"
#include "media/Install.h"
#include "platform/hostpaths/Drives.h"
#include "platform/MachineStore.h"

namespace {

struct Installers : ::testing::Test {
    QTemporaryDir disc, cDrive;
    void SetUp() override {
        QDir(disc.path()).mkpath("run/Resource");
        QDir(cDrive.path()).mkpath("windows/system32");
        SetupDrives(disc.filePath("run").toStdString(), 'd');  // the disc's files are read through the drives
        HostPathsService().SetDrive('c', cDrive.path().toStdString());
        SetProgramDir("d:\\run\\");
        StartState().systemDir = "c:\\windows\\system32\\";
        QFile::remove(TMachineStore::FilePath());
    }
    void Resource(const char* name, const QByteArray& text = "disc") {
        QFile file(disc.filePath(QString("run/Resource/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray System(const char* name) {
        QFile file(cDrive.filePath(QString("windows/system32/") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static std::string Value(const std::string& key, const std::string& name) {
        std::string value;
        TMachineStore(key).ReadString(name, value);
        return value;
    }
};

const std::string kNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";

}  // namespace

TEST_F(Installers, CodecsAreCopiedOnlyWhereMissingAndRegistered) {
    Resource("Ir50_32.dll", "new");
    Resource("L3codecp.acm");
    QFile old(cDrive.filePath("windows/system32/Ir50_32.dll"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    InstallIndeo();
    EXPECT_EQ(System("Ir50_32.dll"), "old");  // already there: kept
    InstallLayer3Codec();
    EXPECT_EQ(System("L3codecp.acm"), "disc");
    EXPECT_EQ(Value("SOFTWARE\\Classes\\CLSID\\{7D8EA000-731E-11d0-AC50-00AA00BF35C4}\\InProcServer32", ""),
              "c:\\windows\\system32\\l3codecp.acm");
    EXPECT_EQ(Value(kNt + "drivers.desc", "l3codecp.acm"), "Fraunhofer IIS MPEG Layer-3 Codec");
    EXPECT_EQ(Value(kNt + "Drivers32", "msacm.l3codec"), "l3codecp.acm");
}

TEST_F(Installers, TheMpegDriverIsCopiedAndRegisteredForEveryExtension) {
    for (const char* name : {"Xmdrivnt.dll", "Xmres.dll", "Xmsound.dll", "Xmvideo.dll"}) Resource(name);
    InstallMpegDriver();
    EXPECT_EQ(System("Xmdriver.dll"), "disc");
    EXPECT_EQ(Value("SOFTWARE\\Classes\\Software\\Xing\\XingMPEG Player\\XMPSound32", ""), "c:\\windows\\system32\\xmsound.dll");
    std::vector<uint8_t> check;
    ASSERT_TRUE(TMachineStore("SOFTWARE\\Microsoft\\Multimedia\\ActiveMovie").ReadBinary("CheckExtensions", check));
    EXPECT_EQ(check, std::vector<uint8_t>(4, 0));
    for (const char* extension : {"dat", "mpv", "mpg", "mpa", "mp3", "mp2", "vbs", "mpeg", "m1v", "mpe"})
        EXPECT_EQ(Value(kNt + "MCI Extensions", extension), "MpegVideo") << extension;
    EXPECT_EQ(Value(kNt + "drivers.desc", "c:\\windows\\system32\\xmdriver.dll"), "(MCI) XingMPEG Driver");
    EXPECT_EQ(Value(kNt + "MCI32", "MpegVideo"), "c:\\windows\\system32\\xmdriver.dll");
}

TEST_F(Installers, AFileThatIsNotThereGetsNoEntry) {
    InstallLayer3Codec();
    InstallMpegDriver();
    EXPECT_FALSE(TMachineStore(kNt + "drivers.desc").ValueExists("l3codecp.acm"));
    EXPECT_FALSE(TMachineStore(kNt + "MCI32").ValueExists("MpegVideo"));
    EXPECT_FALSE(TMachineStore("SOFTWARE\\Classes\\Software\\Xing\\XingMPEG Player\\XMPDriver").ValueExists(""));
}

TEST(ShortPath, LongNamesBecomeTheirEightThreeForm) {
    EXPECT_EQ(ShortPathName("c:\\windows\\system32\\xmdriver.dll"), "c:\\windows\\system32\\xmdriver.dll");
    EXPECT_EQ(ShortPathName("c:\\Program Files\\Bookshell\\drivers.longext"), "c:\\PROGRA~1\\BOOKSH~1\\DRIVER~1.LON");
}
