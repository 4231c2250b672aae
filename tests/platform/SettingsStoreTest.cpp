// The registry stand-ins: the settings key, machine keys and software records, each in a fresh
// configuration folder.
#include "base/Cp1251.h"
#include "platform/MachineStore.h"
#include "platform/SettingsStore.h"
#include "platform/SoftwareRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string W(const char* utf8) {
    return Cp1251::fromUtf8(utf8);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root_.filePath("home")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root_.filePath("system")));
        qputenv("WINEPREFIX", QFile::encodeName(root_.filePath("wine")));
    }
    QString Path(const char* relative) const { return root_.filePath(QString::fromUtf8(relative)); }

    QTemporaryDir root_;
    const std::string title_ = W("Руководство Ваз");
};

TEST_F(SettingsStoreTest, ValuesKeepNamesAndTypesAcrossStores) {
    const std::string text = W("Привет, \"мир\"\n  C:\\Путь\\ 100% ; = @");
    const std::vector<uint8_t> blob{0x00, 0xff, 0x10, 0x7f};
    {
        TSettingsStore store(title_);
        EXPECT_TRUE(store.WriteBool("BGSound", true));
        EXPECT_TRUE(store.WriteBool("Clip", false));
        EXPECT_TRUE(store.WriteInteger("Background", 16777215));
        EXPECT_TRUE(store.WriteInteger("Negative", -5));
        EXPECT_TRUE(store.WriteString("FontName", text));
        EXPECT_TRUE(store.WriteString("Empty", ""));
        EXPECT_TRUE(store.WriteBinary("CheckExtensions", blob));
    }
    const QString file = Path("home/No Name/Руководство Ваз.conf");
    ASSERT_TRUE(QFile::exists(file));
    const QByteArray saved = ReadFile(file);
    EXPECT_TRUE(saved.contains("BGSound=dword:1"));
    EXPECT_TRUE(saved.contains("Background=dword:16777215"));
    EXPECT_TRUE(saved.contains("Привет"));  // UTF-8 in the file

    TSettingsStore store(title_);
    bool flag = false;
    int32_t number = 0;
    std::string str = "x";
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(store.ReadBool("BGSound", flag) && flag);
    EXPECT_TRUE(store.ReadBool("Clip", flag) && !flag);
    EXPECT_TRUE(store.ReadInteger("Background", number) && number == 16777215);
    EXPECT_TRUE(store.ReadInteger("Negative", number) && number == -5);
    EXPECT_TRUE(store.ReadString("FontName", str) && str == text);
    EXPECT_TRUE(store.ReadString("Empty", str) && str.empty());
    EXPECT_TRUE(store.ReadBinary("CheckExtensions", bytes) && bytes == blob);
}

TEST_F(SettingsStoreTest, MissingOrWrongTypeReadsFailAndLeaveTheValue) {
    TSettingsStore store(title_);
    ASSERT_TRUE(store.WriteString("Clip", "1"));
    ASSERT_TRUE(store.WriteInteger("FontSize", 8));
    ASSERT_TRUE(store.WriteBinary("Blob", {1, 2}));

    bool flag = true;
    int32_t number = 42;
    std::string str = "keep";
    std::vector<uint8_t> bytes{9};
    EXPECT_FALSE(store.ReadBool("Clip", flag));
    EXPECT_FALSE(store.ReadInteger("Clip", number));
    EXPECT_FALSE(store.ReadString("FontSize", str));
    EXPECT_FALSE(store.ReadBinary("FontSize", bytes));
    EXPECT_FALSE(store.ReadInteger("Blob", number));
    EXPECT_FALSE(store.ReadBool("Missing", flag));
    EXPECT_FALSE(store.ReadString("Missing", str));
    EXPECT_TRUE(flag);
    EXPECT_EQ(number, 42);
    EXPECT_EQ(str, "keep");
    EXPECT_EQ(bytes, std::vector<uint8_t>{9});

    // A hand-edited file with damaged values.
    WriteFile(store.FileName(), "[General]\nA=dword:12x\nB=binary:0g\nC=plain\nD=sz:a,b\n");
    TSettingsStore edited(title_);
    EXPECT_FALSE(edited.ReadInteger("A", number));
    EXPECT_FALSE(edited.ReadBinary("B", bytes));
    EXPECT_FALSE(edited.ReadString("C", str));
    EXPECT_TRUE(edited.ValueExists("C"));
    EXPECT_TRUE(edited.ReadString("D", str));
    EXPECT_EQ(str, "a,b");
}

TEST_F(SettingsStoreTest, NamesMatchCaseInsensitivelyAndKeepTheirFirstSpelling) {
    {
        TSettingsStore store(title_);
        ASSERT_TRUE(store.WriteBool("SwOne12", true));
        ASSERT_TRUE(store.WriteBool("SWONE12", false));
        ASSERT_TRUE(store.WriteString(W("Шрифт"), "a"));
        ASSERT_TRUE(store.WriteString(W("шРИФТ"), "b"));
    }
    TSettingsStore store(title_);
    bool flag = true;
    EXPECT_TRUE(store.ReadBool("swone12", flag));
    EXPECT_FALSE(flag);
    std::string str;
    EXPECT_TRUE(store.ReadString(W("ШРИФТ"), str));
    EXPECT_EQ(str, "b");
    const QByteArray saved = ReadFile(store.FileName());
    EXPECT_TRUE(saved.contains("SwOne12="));
    EXPECT_FALSE(saved.contains("SWONE12"));
}

TEST_F(SettingsStoreTest, DeletedValuesStayDeleted) {
    {
        TSettingsStore store(title_);
        ASSERT_TRUE(store.WriteString("Favorite0", "{a}b.htm"));
        ASSERT_TRUE(store.WriteString("Favorite1", "{c}d.htm"));
        EXPECT_TRUE(store.DeleteValue("FAVORITE0"));
        EXPECT_FALSE(store.DeleteValue("Favorite0"));
        EXPECT_FALSE(store.ValueExists("favorite0"));
    }
    TSettingsStore store(title_);
    EXPECT_FALSE(store.ValueExists("Favorite0"));
    EXPECT_TRUE(store.ValueExists("Favorite1"));
}

TEST_F(SettingsStoreTest, FailedWriteIsReported) {
    // A folder where the settings file should be: nothing can be saved.
    ASSERT_TRUE(QDir().mkpath(Path("home/No Name/Руководство Ваз.conf")));
    TSettingsStore store(title_);
    EXPECT_FALSE(store.WriteBool("Wav", false));
    EXPECT_FALSE(store.WriteString("FontName", "Arial"));
}

TEST_F(SettingsStoreTest, MachineKeysHoldPathNamedAndDefaultValues) {
    const std::string driverName = "C:\\WINDOWS\\SYSTEM32\\XMDRIV~1.DLL";
    {
        TMachineStore desc("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\drivers.desc");
        ASSERT_TRUE(desc.WriteString(driverName, "(MCI) XingMPEG Driver"));
        ASSERT_TRUE(desc.WriteString("l3codecp.acm", "Fraunhofer IIS MPEG Layer-3 Codec"));
        TMachineStore other("SOFTWARE\\Microsoft\\Multimedia\\ActiveMovie");
        ASSERT_TRUE(other.WriteBinary("CheckExtensions", {0, 0, 0, 0}));
        ASSERT_TRUE(other.WriteString("", "default"));
    }
    EXPECT_TRUE(QFile::exists(Path("home/No Name/machine.conf")));
    TMachineStore desc("software\\MICROSOFT\\windows nt\\currentversion\\Drivers.Desc");
    std::string str;
    EXPECT_TRUE(desc.ReadString("c:\\windows\\system32\\xmdriv~1.dll", str));
    EXPECT_EQ(str, "(MCI) XingMPEG Driver");
    EXPECT_FALSE(desc.ValueExists("CheckExtensions"));
    TMachineStore other("SOFTWARE\\Microsoft\\Multimedia\\ActiveMovie");
    EXPECT_TRUE(other.ReadString("", str));
    EXPECT_EQ(str, "default");
    EXPECT_FALSE(other.ValueExists("@"));
}

TEST_F(SettingsStoreTest, SoftwareRecordFromTheSystemFile) {
    WriteFile(Path("system/No Name/software.conf"),
              "[Atlas]\ninstdir=C:\\\\Games\\\\Atlas\\\\\nExeName=game.exe -window\n"
              "[OnlyDir]\ninstdir=D:\\\\x\n");
    std::string instdir = "stale", exename = "stale";
    EXPECT_TRUE(ReadSoftwareRecord("ATLAS", instdir, exename));
    EXPECT_EQ(instdir, "C:\\Games\\Atlas\\");
    EXPECT_EQ(exename, "game.exe -window");
    EXPECT_TRUE(ReadSoftwareRecord("onlydir", instdir, exename));
    EXPECT_EQ(exename, "");
    EXPECT_FALSE(ReadSoftwareRecord("Other", instdir, exename));
    EXPECT_EQ(instdir, "");
}

TEST_F(SettingsStoreTest, SoftwareRecordFromAWinePrefix) {
    WriteFile(Path("wine/system.reg"),
              "\xEF\xBB\xBFWINE REGISTRY Version 2\r\n"
              ";; All keys relative to \\\\Machine\r\n\r\n#arch=win64\r\n\r\n"
              "[Software\\\\Korvel\\\\Atlas] 1700000000\r\n"
              "#time=1da0a1b2c3d4e5f\r\n"
              "\"InstDir\"=\"C:\\\\\\x418\\x433\\x440\\x44b\\\\Атлас \\\"1\\\"\"\r\n"
              "\"exename\"=str(2):\"game.exe -window\"\r\n"
              "\"size\"=dword:00000010\r\n"
              "[Software\\\\Korvel\\\\Atlas\\\\Sub] 1700000000\r\n"
              "\"exename\"=\"wrong.exe\"\r\n"
              "[Software\\\\Wow6432Node\\\\Korvel\\\\Мост] 1700000000\r\n"
              "\"exename\"=\"bridge.exe\"\r\n");
    std::string instdir, exename;
    QString prefix;
    ASSERT_TRUE(ReadSoftwareRecord("atlas", instdir, exename, &prefix));
    EXPECT_EQ(instdir, W("C:\\Игры\\Атлас \"1\""));
    EXPECT_EQ(exename, "game.exe -window");
    EXPECT_EQ(prefix, Path("wine"));

    ASSERT_TRUE(ReadSoftwareRecord(W("МОСТ"), instdir, exename, &prefix));
    EXPECT_EQ(instdir, "");
    EXPECT_EQ(exename, "bridge.exe");
    EXPECT_FALSE(ReadSoftwareRecord("Missing", instdir, exename, &prefix));
    EXPECT_TRUE(prefix.isEmpty());
}

TEST_F(SettingsStoreTest, DamagedWineRegistryOnlyFailsToFind) {
    QByteArray garbage;
    for (int i = 0; i < 200000; ++i) garbage += char((i * 7919 + i / 13) & 0xff);
    garbage += "\n[Software\\\\Korvel\\\\Cut\n\"exename\"=\"a\n[Software\\\\Korvel\\\\Half] 1\n"
               "\"instdir\"=\"\\x\"\n\"exename\"=str(2):\"tail\\";
    WriteFile(Path("wine/system.reg"), garbage);
    std::string instdir, exename;
    EXPECT_FALSE(ReadSoftwareRecord("Cut", instdir, exename));
    EXPECT_TRUE(ReadSoftwareRecord("Half", instdir, exename));
    EXPECT_EQ(instdir, "x");
    EXPECT_EQ(exename, "");

    WriteFile(Path("wine/system.reg"), QByteArray("\xFF\xFE[\0S\0", 6));
    EXPECT_FALSE(ReadSoftwareRecord("Cut", instdir, exename));
}

} // namespace
