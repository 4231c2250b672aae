#include <gtest/gtest.h>

#include <filesystem>

#include "app/CommandLine.h"
#include "app/StartPaths.h"
#include "app/Startup.h"
#include "app/TestDisc.h"
#include "base/GlobalPaths.h"
#include "packs/ComprStream.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "platform/BookWindows.h"
#include "platform/InstanceLock.h"
#include "platform/BookWindows.h"
#include "platform/InstanceLock.h"
#include "rules/WindowKeys.h"

TEST(StartPaths, DerivesDriveAndPackPrefix) {
    EXPECT_EQ(CdRootOf("d:\\run\\"), "d:\\");
    EXPECT_EQ(PackPrefixOf("d:\\run\\"), "d:\\");
    EXPECT_EQ(CdRootOf("D:\\"), "d:\\");
    EXPECT_EQ(PackPrefixOf("d:\\"), "d:\\");                     // no run\: the prefix is the folder
    EXPECT_EQ(PackPrefixOf("c:\\run\\x\\run\\"), "c:\\x\\run\\");  // only the first run\ goes
    EXPECT_EQ(PackPrefixOf("d:\\RUN\\"), "d:\\");
}

TEST(CommandLine, OwnOptionsAreRemovedBeforeTheBookReadsItsArguments) {
    auto line = ParseCommandLine({"--disc", "/media/cd", "page.htm", "--drive=E:", "/t"});
    EXPECT_EQ(line.discDir, "/media/cd");
    EXPECT_EQ(line.drive, 'e');
    EXPECT_EQ(line.bookArgs, (std::vector<std::string>{"page.htm", "/t"}));
    EXPECT_EQ(ChooseStartMode(line), TStartMode::Thesaurus);
    EXPECT_EQ(ChooseStartMode(ParseCommandLine({"pic.bmp", "/h"})), TStartMode::Standard);
    EXPECT_EQ(ChooseStartMode(ParseCommandLine({"--disc=/x"})), TStartMode::Shell);
    EXPECT_EQ(ChooseStartMode(ParseCommandLine({"a/T"})), TStartMode::Standard);  // "/t" is case-sensitive
    EXPECT_EQ(ChooseStartMode(ParseCommandLine({"/tmp/pic.bmp"})), TStartMode::Standard);  // a host path
    EXPECT_EQ(ChooseStartMode(ParseCommandLine({"/t"})), TStartMode::Thesaurus);
    EXPECT_FALSE(ParseCommandLine({"--disc"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--drive", "12"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--frobnicate"}).error.empty());
    EXPECT_EQ(ParseCommandLine({"файл.htm"}).bookArgs.front(), "\xF4\xE0\xE9\xEB.htm");
}

TEST(CommandLine, TheWindowsReadOneFileWithoutQuotesAndTheirWords) {
    RBookArguments a = ReadBookArguments(ParseCommandLine({"\"d:\\run\\help\\x.htm\"", "/h"}));
    EXPECT_EQ(a.file, "d:\\run\\help\\x.htm");
    EXPECT_TRUE(a.helpOnly);
    EXPECT_FALSE(a.thesaurus);
    a = ReadBookArguments(ParseCommandLine({"  /tmp/my pic.bmp  "}));
    EXPECT_EQ(a.file, "/tmp/my pic.bmp");
    EXPECT_FALSE(a.helpOnly || a.thesaurus);
    a = ReadBookArguments(ParseCommandLine({"/t", "page.htm#term", "/h"}));
    EXPECT_EQ(a.file, "page.htm#term");
    EXPECT_TRUE(a.helpOnly && a.thesaurus);
}

TEST(WindowKeys, FirstPassReadsEveryKeyAndTheLastLineWins) {
    SetProgramDir("d:\\run\\");
    const TDynamicStringArray lines = {
        "title=\xF0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE",  // руководство
        "rolic=intro.avi; codec=indeo5",
        "helpwin vw=600 vh=400 fn=help\\index.htm",
        "icon=book.ico",
        "bgsounddef=[a.mp3;",
        "b.mp3]",
        "vertexmain=[0,0;10,0;10,10]",
        "minimize vx=5 vy=6 fn1=m1.bmp; fn2=m2.bmp; fn3=m3.bmp; hint=min; wav=no",
        "close vx=7 vy=8 fn1=c1.bmp; fn2=c2.bmp; fn3=c3.bmp; hint=x; wav=click.wav",
        "1button vx=1 vy=1 hint=close the book",  // "close" inside a hint: read as the close button
    };
    const RWindowKeys keys = ReadWindowKeys(lines);
    EXPECT_EQ(keys.title, "\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE");  // Руководство
    EXPECT_EQ(keys.rolic, "intro.avi");
    EXPECT_EQ(keys.codec, "indeo5");
    EXPECT_EQ(keys.helpFile, "d:\\run\\help\\index.htm");
    EXPECT_EQ(keys.helpWidth, 600);
    EXPECT_EQ(keys.icon, "book.ico");
    // The list went on after "a.mp3;" at the line's end, which makes an empty item.
    EXPECT_EQ(keys.bgSoundDef, (TDynamicStringArray{"d:\\run\\a.mp3", "", "d:\\run\\b.mp3"}));
    EXPECT_EQ(keys.vertexMain.size(), 3u);
    EXPECT_EQ(keys.minimize.left, 5);
    EXPECT_EQ(keys.minimize.picture3, "m3.bmp");
    EXPECT_EQ(keys.minimize.command, "minimize");
    EXPECT_EQ(keys.close.left, 1);
    EXPECT_EQ(keys.close.hint, "close the book");
    EXPECT_EQ(keys.close.command, "exit");

    const RWindowKeys bad = ReadWindowKeys({"vertexmain=[0,0;x,1]"});
    EXPECT_TRUE(bad.vertexMainMalformed);
    EXPECT_TRUE(bad.vertexMain.empty());
}

TEST(ConfigGuard, WarnsInOrderAndStopsTheStart) {
    const TestDisc disc = MakeTestDisc("title=t\r\n");
    WriteFileBytes(disc.programDir + "/CODER.EXE", "");
    WriteFileBytes(disc.programDir + "/struct.txt", "");
    std::vector<std::string> warnings;
    TInstanceLock lock;
    const TStartResult r = RunStartup(disc.programDir, TCommandLine{}, [&](const std::string& w) { warnings.push_back(w); }, lock);
    EXPECT_EQ(r.outcome, TStartOutcome::Terminate);
    EXPECT_NE(r.exitCode, 0);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "\xD4\xE0\xE9\xEB Struct.txt \xED\xE5 \xF3\xE4\xE0\xEB\xE5\xED");
    EXPECT_EQ(warnings[1], "\xC0 \xE7\xE0\xF7\xE5\xEC \xF2\xF3\xF2 \xEA\xEE\xE4\xE5\xF0 \xEB\xE5\xE6\xE8\xF2?");
    EXPECT_TRUE(std::filesystem::exists(disc.programDir + "/CODER.EXE"));  // nothing is deleted
}

namespace {
TStartResult Start(const std::string& folder, TInstanceLock& lock, std::vector<std::string> args = {}) {
    std::vector<std::string> warnings;
    TCommandLine line;
    line.bookArgs = std::move(args);
    TStartResult r = RunStartup(folder, line, [&](const std::string& w) { warnings.push_back(w); }, lock);
    EXPECT_TRUE(warnings.empty());
    return r;
}
} // namespace

TEST(Startup, OpensADiscWhoseNamesDifferInCase) {
    const std::string title = UniqueTitle("\xEA\xED\xE8\xE3\xE0");  // книга
    const TestDisc disc = MakeTestDisc("title=" + title + "\r\nicon=x.ico\r\n", "Run", {{"HTML\\A.HTM", "packed"}},
                                       "INTERFACE.DAT", "zaz.DHL");
    TInstanceLock lock;
    const TStartResult r = Start(disc.programDir, lock);
    ASSERT_EQ(r.outcome, TStartOutcome::Shell) << r.message;
    const TStartState& s = StartState();
    EXPECT_EQ(s.cdRoot, "d:\\");
    EXPECT_EQ(s.programDir, "d:\\Run\\");
    EXPECT_EQ(s.packPrefix, "d:\\");
    EXPECT_EQ(s.systemDir, "c:\\windows\\system32\\");
    EXPECT_EQ(s.tempDir.substr(0, 3), "z:\\");
    EXPECT_EQ(s.appTitle, "\xCA" + title.substr(1));  // Книга ...
    EXPECT_FALSE(s.restrictedRun);
    // The book's own paths reach the pack and, failing that, the disc.
    EXPECT_EQ(TComprStream("d:\\html\\a.htm").View(), "packed");
    EXPECT_EQ(TComprStream(s.programDir + "zaz.dhl").Size() > 0, true);

    // A second start of the same title while the first holds its lock ends quietly.
    TInstanceLock second;
    const TStartResult again = Start(disc.programDir, second);
    EXPECT_EQ(again.outcome, TStartOutcome::Terminate);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(StartState().duplicateInstance);
    StartState() = TStartState{};
}

TEST(Startup, ArgumentsChooseTheOtherWindowsWithoutTheBooksInstanceTest) {
    const TestDisc disc = MakeTestDisc("title=x\r\n");
    {
        TInstanceLock lock;
        EXPECT_EQ(Start(disc.programDir, lock, {"pic.bmp"}).outcome, TStartOutcome::Standard);
        EXPECT_TRUE(StartState().restrictedRun);
        EXPECT_FALSE(lock.Held());
        EXPECT_EQ(AppTitle(), "X");
        EXPECT_EQ(Start(disc.programDir, lock, {"help\\a.htm", "/h"}).outcome, TStartOutcome::Standard);
        EXPECT_EQ(AppTitle(), BookWindows::kHelp);
    }
    // The thesaurus window runs once: its own lock, and a second one ends without a word.
    TInstanceLock first, second;
    EXPECT_EQ(Start(disc.programDir, first, {"page.htm", "/t"}).outcome, TStartOutcome::Thesaurus);
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(AppTitle(), BookWindows::kThesaurus);
    const TStartResult again = Start(disc.programDir, second, {"page.htm", "/t"});
    EXPECT_EQ(again.outcome, TStartOutcome::Terminate);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.message.empty());
    EXPECT_TRUE(StartState().restrictedRun);
    StartState() = TStartState{};
}

TEST(Startup, MissingOrDamagedFilesEndTheStartWithAnError) {
    TInstanceLock lock;
    TestDisc noPack = MakeTestDisc("title=x\r\n");
    std::filesystem::remove(noPack.programDir + "/interface.dat");
    TStartResult r = Start(noPack.programDir, lock);
    EXPECT_EQ(r.outcome, TStartOutcome::Terminate);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.message.find("interface.dat"), std::string::npos);

    TestDisc noBundle = MakeTestDisc("title=x\r\n");
    std::filesystem::remove(noBundle.programDir + "/Zaz.dhl");
    r = Start(noBundle.programDir, lock);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.message.find("Zaz.dhl"), std::string::npos);

    TestDisc damaged = MakeTestDisc("title=x\r\n");
    WriteFileBytes(damaged.programDir + "/Zaz.dhl", std::string("\x01\x00\x05\x00\x00\x00Struct", 12));
    r = Start(damaged.programDir, lock);
    EXPECT_EQ(r.exitCode, 1);

    TestDisc damagedPack = MakeTestDisc("title=x\r\n");
    WriteFileBytes(damagedPack.programDir + "/interface.dat", "garbage!garbage!");
    r = Start(damagedPack.programDir, lock);
    EXPECT_EQ(r.exitCode, 1);
    ClosePack();
    StartState() = TStartState{};
}
