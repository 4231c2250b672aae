// Link clicks and link status texts against a host that records what it is asked to do.
#include "rules/LinkProtocol.h"

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

std::string W(const char* utf8) { return Cp1251::fromUtf8(utf8); }

struct TFakeHost : ILinkView, ILinkServices {
    // Set-up.
    bool archiveMode = false;
    bool archiveBrowser = true;
    bool soundPlayer = true;
    bool pictureShown = false;
    std::string current = "d:\\run\\html\\a.htm";
    std::string pathInput;
    std::set<std::string> files;
    std::map<std::string, std::pair<std::string, std::string>> software;  // name -> instdir, exename
    std::optional<std::string> zipChoice;

    // What it was asked to do, in order.
    std::vector<std::string> log;
    std::string Log() const {
        std::string all;
        for (const auto& entry : log) all += (all.empty() ? "" : " | ") + entry;
        return all;
    }
    void Say(const std::string& what, const std::string& arg) { log.push_back(what + " " + arg); }

    // Relative links resolve against a mixed-case folder, so lower-casing shows.
    std::string ExpandLink(const std::string& url) override {
        if (url.find(":\\") != std::string::npos) return url;
        if (!url.empty() && url[0] == '#') return current + url;
        return "D:\\Run\\Html\\" + url;
    }
    std::string CurrentFile() override { return current; }
    bool InArchiveMode() override { return archiveMode; }
    void AddVisited(const std::string& path) override { Say("visit", path); }
    void RefreshVisited() override { log.push_back("refresh"); }
    void OpenInCurrentView(const std::string& path) override { Say("open", path); }
    void PrintPage(const std::string& path) override { Say("print", path); }
    void CopyListSelection(const std::string& name) override { Say("copylist", name); }
    void SyncTreeToPage(const std::string& path) override { Say("sync", path); }
    void ExecuteCommandWithoutSound(const std::string& command) override { Say("run", command); }
    std::string PathInputFolder() override { return pathInput; }
    bool HasArchiveBrowser() override { return archiveBrowser; }
    void ArchiveOpenEntry(const std::string& path) override { Say("entry", path); }
    void ArchiveOpen(const std::string& archive, const std::string& from) override { Say("archive", archive + " from " + from); }
    bool HasSoundPlayer() override { return soundPlayer; }
    void PlayLinkSound(const std::string& path) override { Say("play", path); }
    bool SoftwareRecord(const std::string& name, std::string& instdir, std::string& exename) override {
        const auto it = software.find(name);
        if (it == software.end()) return false;
        instdir = it->second.first;
        exename = it->second.second;
        return true;
    }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool CopyFile(const std::string& from, const std::string& to) override {
        Say("copy", from + " -> " + to);
        return true;
    }
    std::optional<std::string> ChooseZipTarget(const std::string& folder, const std::string& name,
                                               const std::string& filter) override {
        Say("choose", folder + " " + name + (filter == TLinkProtocol::kZipFilter ? "" : " (wrong filter)"));
        return zipChoice;
    }
    void ShellOpen(const std::string& what) override { Say("shell", what); }
    void StartProgram(const std::string& path) override { Say("start", path); }
    void SetCurrentFolder(const std::string& folder) override { Say("cd", folder); }
    bool QueryPictureWindows(const std::string& path) override {
        Say("query", path);
        return pictureShown;
    }
    void StartPictureInstance(const std::string& path) override { Say("instance", path); }
};

struct RClickCase {
    const char* name;
    std::string url;
    std::string target;
    void (*setUp)(TFakeHost&);
    std::string expected;
    bool handled;
};

void Plain(TFakeHost&) {}
void Archive(TFakeHost& h) { h.archiveMode = true; }

class LinkProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCdRoot("d:\\");
        SetProgramDir("d:\\run\\");
    }
};

// Each link form known by its prefix or target, and what the click asks of the view and the
// services in order.
std::vector<RClickCase> PrefixCases() {
    const std::string pic = "d:\\run\\html\\pic\\big.jpg";
    return {
        // Enlarged pictures come first, whatever the URL holds.
        {"new picture window", "Pic\\Big.JPG#z", "_BLANK", [](TFakeHost& h) { h.files = {"d:\\run\\html\\pic\\big.jpg"}; },
         "visit " + pic + "#z | refresh | query " + pic + "#z | instance " + pic + "#z", true},
        {"picture already shown", "Pic\\Big.JPG", "_blank",
         [](TFakeHost& h) { h.files = {"d:\\run\\html\\pic\\big.jpg"}, h.pictureShown = true; },
         "visit " + pic + " | refresh | query " + pic, true},
        {"missing picture", "http://x.ru/a.jpg", "_blank", Plain, "visit d:\\run\\html\\http://x.ru/a.jpg | refresh", true},
        // Addresses go to the desktop; one inside a page link is part of that page link.
        {"http inside a page link", "notes\\HTTP:info.htm", "", Plain, "sync d:\\run\\html\\notes\\http:info.htm", false},
        {"http", "HTTP://x.ru/", "", Plain, "visit d:\\run\\html\\http://x.ru/ | refresh | shell HTTP://x.ru/", true},
        {"https", "https://x.ru/", "", Plain, "visit d:\\run\\html\\https://x.ru/ | refresh | shell https://x.ru/", true},
        {"mailto", "mailto:a@b.ru", "", Plain, "visit d:\\run\\html\\mailto:a@b.ru | refresh | shell mailto:a@b.ru", true},
        // Printing keeps the spelling of the path and wins over a copy.
        {"printhtml", "printhtml:copy:Doc\\P.htm", "", Plain,
         "visit D:\\Run\\Html\\copy:Doc\\P.htm | refresh | print D:\\Run\\Html\\copy:Doc\\P.htm", true},
        // Copies go into the path input's folder under the file's own name only.
        {"copy", "copy:Files\\Serial.TXT", "", [](TFakeHost& h) { h.pathInput = "c:\\out"; },
         "visit d:\\run\\html\\copy:files\\serial.txt | refresh | copy d:\\run\\html\\files\\serial.txt -> c:\\out\\serial.txt",
         true},
        {"copy with a climbing path", "copy:..\\..\\..\\etc\\Passwd", "", [](TFakeHost& h) { h.pathInput = "c:\\out\\"; },
         "visit d:\\run\\html\\copy:..\\..\\..\\etc\\passwd | refresh | copy d:\\run\\html\\..\\..\\..\\etc\\passwd -> "
         "c:\\out\\passwd",
         true},
        {"copy of no file name", "copy:..\\..", "", [](TFakeHost& h) { h.pathInput = "c:\\out\\"; },
         "visit d:\\run\\html\\copy:..\\.. | refresh", true},
        {"copy of a folder", "copy:sub\\", "", [](TFakeHost& h) { h.pathInput = "c:\\out\\"; },
         "visit d:\\run\\html\\copy:sub\\ | refresh", true},
        {"copy without a path input", "copy:a.txt", "", Plain, "visit d:\\run\\html\\copy:a.txt | refresh", true},
        {"copylist", "copylist:Serials", "", Plain, "visit d:\\run\\html\\copylist:serials | refresh | copylist Serials", true},
        // Software commands run without a sound, reading "rungame=…".
        {"rungame", "rungame:=<cd>setup\\Setup.exe=Game", "", Plain,
         "visit d:\\run\\html\\rungame:=<cd>setup\\setup.exe=game | refresh | run rungame=<cd>setup\\Setup.exe=Game", true},
        {"delgame", "delgame:=Game", "", Plain, "visit d:\\run\\html\\delgame:=game | refresh | run delgame=Game", true},
        {"rungame in capitals", "RunGame:=x.exe=G", "", Plain, "visit d:\\run\\html\\rungame:=x.exe=g | refresh | run rungame=x.exe=G", true},
        // A link form inside another link is no such link: this one is a page.
        {"rungame inside a page link", "notes\\rungame:=z:\\bin\\sh=x.htm", "", Plain,
         "sync notes\\rungame:=z:\\bin\\sh=x.htm", false},
        {"copy inside a page link", "notes\\copy:info.htm", "", [](TFakeHost& h) { h.pathInput = "c:\\out"; },
         "sync d:\\run\\html\\notes\\copy:info.htm", false},
    };
}

// Links known by their file: archive listings, pages, and everything else by extension.
std::vector<RClickCase> FileCases() {
    return {
        // Archive listings: missing entries are extracted, then the engine opens them in the
        // listing's frame, as it does the listing's own pages.
        {"archive entry page", "c:\\Temp\\As_12\\Docs\\Readme.htm", "", Archive,
         "entry c:\\temp\\as_12\\docs\\readme.htm", false},
        {"archive entry without a browser", "x.txt", "", [](TFakeHost& h) { h.archiveMode = true, h.archiveBrowser = false; },
         "", false},
        {"archive listing page", "c:\\Temp\\As_12\\as_bar.htm", "",
         [](TFakeHost& h) { h.archiveMode = true, h.files = {"c:\\temp\\as_12\\as_bar.htm"}; },
         "", false},
        {"archive anchor", "#top", "", Archive, "", false},
        {"archive other file", "c:\\tmp\\as_1\\X.exe", "", [](TFakeHost& h) { h.archiveMode = true, h.files = {"c:\\tmp\\as_1\\x.exe"}; },
         "visit c:\\tmp\\as_1\\x.exe | refresh | cd c:\\tmp\\as_1\\ | start c:\\tmp\\as_1\\x.exe", true},
        // Pages: the trees follow, the engine loads.
        {"page", "Chapter\\B.HTML#s", "", Plain, "sync d:\\run\\html\\chapter\\b.html#s", false},
        {"anchor", "#top", "", Plain, "sync d:\\run\\html\\a.htm#top", false},
        {"picture", "pic.gif", "", Plain, "", false},
        // Every other file: visited, moved onto the program's drive, then by extension.
        {"program on another drive", "e:\\Tools\\Run.EXE", "", Plain,
         "visit e:\\tools\\run.exe | refresh | cd d:\\tools\\ | start d:\\tools\\run.exe", true},
        {"com program", "t.com", "", Plain, "visit d:\\run\\html\\t.com | refresh | cd d:\\run\\html\\ | start d:\\run\\html\\t.com", true},
        {"document", "Manual.pdf", "", Plain,
         "visit d:\\run\\html\\manual.pdf | refresh | cd d:\\run\\html\\ | shell d:\\run\\html\\manual.pdf", true},
        {"archive", "Soft.RAR", "", Plain,
         "visit d:\\run\\html\\soft.rar | refresh | archive d:\\run\\html\\soft.rar from d:\\run\\html\\a.htm", true},
        {"archive without a browser", "soft.rar", "", [](TFakeHost& h) { h.archiveBrowser = false; },
         "visit d:\\run\\html\\soft.rar | refresh", true},
        {"sound", "Horn.wav", "", Plain, "visit d:\\run\\html\\horn.wav | refresh | play d:\\run\\html\\horn.wav", true},
        {"sound without a player", "horn.wav", "", [](TFakeHost& h) { h.soundPlayer = false; },
         "visit d:\\run\\html\\horn.wav | refresh", true},
    };
}

TEST_F(LinkProtocolTest, ClickStepsInOrder) {
    std::vector<RClickCase> cases = PrefixCases();
    for (RClickCase& c : FileCases()) cases.push_back(std::move(c));
    for (const auto& c : cases) {
        TFakeHost host;
        c.setUp(host);
        TLinkProtocol links(host, host);
        EXPECT_EQ(links.LinkClick(c.url, c.target, true), c.handled) << c.name;
        EXPECT_EQ(host.Log(), c.expected) << c.name;
    }
}

// What a page does by itself (a script's click, its own navigation, a foreign page's link) is a
// page link at most: nothing is started, copied, printed, opened, played or unpacked.
TEST_F(LinkProtocolTest, LinksNoReaderClickedAreOnlyPageLinks) {
    const struct {
        const char* url;
        const char* target;
        void (*setUp)(TFakeHost&);
        std::string expected;
        bool handled;
    } kCases[] = {
        {"rungame:=z:\\bin\\sh=x", "", Plain, "", true},
        {"delgame:=Game", "", Plain, "", true},
        {"copy:a.txt", "", [](TFakeHost& h) { h.pathInput = "c:\\out"; }, "", true},
        {"copylist:Serials", "", Plain, "", true},
        {"printhtml:a.htm", "", Plain, "", true},
        {"http://x.ru/", "", Plain, "", true},
        {"Pic\\Big.JPG", "_blank", [](TFakeHost& h) { h.files = {"d:\\run\\html\\pic\\big.jpg"}; }, "", false},
        {"z:\\bin\\sh.exe", "", Plain, "", true},
        {"soft.rar", "", Plain, "", true},
        {"horn.wav", "", Plain, "", true},
        {"c:\\Temp\\As_12\\Docs\\Readme.htm", "", Archive, "", false},
        {"Chapter\\B.htm", "", Plain, "sync d:\\run\\html\\chapter\\b.htm", false},
    };
    for (const auto& c : kCases) {
        TFakeHost host;
        c.setUp(host);
        TLinkProtocol links(host, host);
        EXPECT_EQ(links.LinkClick(c.url, c.target, false), c.handled) << c.url;
        EXPECT_EQ(host.Log(), c.expected) << c.url;
    }
}

TEST_F(LinkProtocolTest, ZipCopiesOnlyToTheChosenFileAndRemembersItsFolder) {
    TFakeHost host;
    TLinkProtocol links(host, host);
    const std::string before = TLinkProtocol::LastZipFolder();

    host.zipChoice = "c:\\save\\My.zip";
    EXPECT_TRUE(links.LinkClick("e:\\Soft\\Pack.ZIP", "", true));
    EXPECT_EQ(host.Log(), "visit e:\\soft\\pack.zip | refresh | choose " + before +
                              " pack.zip | copy d:\\soft\\pack.zip -> c:\\save\\My.zip");
    EXPECT_EQ(TLinkProtocol::LastZipFolder(), "c:\\save\\");

    // Cancelled: nothing copied, the folder stays for the next dialog.
    host.log.clear();
    host.zipChoice.reset();
    EXPECT_TRUE(links.LinkClick("b.zip", "", true));
    EXPECT_EQ(host.Log(), "visit d:\\run\\html\\b.zip | refresh | choose c:\\save\\ b.zip");
    EXPECT_EQ(TLinkProtocol::LastZipFolder(), "c:\\save\\");
}

TEST_F(LinkProtocolTest, StatusTexts) {
    TFakeHost host;
    host.software = {{"Installed", {"c:\\games\\x\\", "x.exe"}}, {"Unpacked", {"c:\\games\\y\\", ""}}};
    TLinkProtocol links(host, host);
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"#top", "d:\\run\\html\\a.htm#top"},
        {"b.htm", "D:\\Run\\Html\\b.htm"},
        {"file:b.htm", "D:\\Run\\Html\\file:b.htm"},
        {"copy:Files\\S.txt", "D:\\Run\\Html\\Files\\S.txt"},
        {"copy://S.txt", "D:\\Run\\Html\\S.txt"},
        {"rungame:=setup.exe=Installed", W("Запустить игру")},
        {"rungame:=setup.exe=Unpacked", W("Установить игру")},
        {"rungame://=setup.exe=Unknown", W("Установить игру")},
        {"delgame:=Unpacked", W("Удалить игру")},
        {"delgame:=Unknown", W("Игра не установлена")},
        {"http://x.ru/", "http://x.ru/"},
        {"mailto:a@b.ru", "mailto:a@b.ru"},
    };
    for (const auto& [url, text] : cases) EXPECT_EQ(links.StatusText(url, ""), text) << url;

    EXPECT_EQ(links.StatusText("b.htm", "main"), "Url: D:\\Run\\Html\\b.htm  Target: main");
    host.pathInput = "c:\\out\\";
    EXPECT_EQ(links.StatusText("copy:S.txt", ""), W("Копирование файла \"") + "D:\\Run\\Html\\S.txt" +
                                                      W("\" в каталог \"c:\\out\\\""));
    host.archiveMode = true;
    EXPECT_EQ(links.StatusText("b.htm", "main"), "");
}

} // namespace
