#include "rules/LinkProtocol.h"

#include "base/Cp1251.h"
#include "base/Diagnostics.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "packs/StringUtils.h"

#include <cctype>

namespace {

const char kCopyingFile[] = "\xCA\xEE\xEF\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 \xF4\xE0\xE9\xEB\xE0 ";  // Копирование файла
const char kToFolder[] = " \xE2 \xEA\xE0\xF2\xE0\xEB\xEE\xE3 ";                                    // в каталог
const char kRunGame[] = "\xC7\xE0\xEF\xF3\xF1\xF2\xE8\xF2\xFC \xE8\xE3\xF0\xF3";                     // Запустить игру
const char kInstallGame[] = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC \xE8\xE3\xF0\xF3";            // Установить игру
const char kRemoveGame[] = "\xD3\xE4\xE0\xEB\xE8\xF2\xFC \xE8\xE3\xF0\xF3";                         // Удалить игру
const char kNotInstalled[] = "\xC8\xE3\xF0\xE0 \xED\xE5 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE0";  // Игра не установлена

std::string& ZipFolder() {
    static std::string folder;
    return folder;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }
// A link form is the link's beginning, in any letter case.
bool StartsWithNoCase(const std::string& text, const char* prefix) { return Cp1251::asciiLower(text).rfind(prefix, 0) == 0; }

// The scheme of a URL in lower case: the text before "://", else before a first ":" that follows
// at least two letters (so "d:\" is a drive, not a scheme); empty when there is none.
std::string Scheme(const std::string& url) {
    const size_t slashes = url.find("://");
    if (slashes != std::string::npos) return Cp1251::asciiLower(url.substr(0, slashes));
    const size_t colon = url.find(':');
    if (colon == std::string::npos || colon < 2) return {};
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (!(std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.')))) return {};
    }
    return Cp1251::asciiLower(url.substr(0, colon));
}

// The text after a link prefix of the given length, without the "//" of a "scheme://" form.
std::string Argument(const std::string& url, size_t prefixLength) {
    if (url.size() <= prefixLength) return {};
    const size_t start = url.find_first_not_of('/', prefixLength);
    return start == std::string::npos ? std::string() : url.substr(start);
}

// A link of the book's own forms, which acts rather than shows a page.
bool IsLinkForm(const std::string& url) {
    for (const char* form : {"http:", "https:", "mailto:", "printhtml:", "copy:", "copylist:", "rungame:", "delgame:"})
        if (StartsWithNoCase(url, form)) return true;
    return false;
}

bool IsPageLike(const std::string& extension) {
    for (const char* page : {".htm", ".txt", ".inf", ".diz", ".bmp", ".gif", ".jpg", ".jpeg"})
        if (Contains(extension, page)) return true;
    return false;
}

// A path on another drive than the program's moves onto the program's drive.
std::string OntoProgramDrive(const std::string& path) {
    const std::string& root = CdRoot();
    const bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    if (!drivePath || root.empty() || Cp1251::asciiEqualsNoCase(path.substr(0, 1), root.substr(0, 1))) return path;
    return root + path.substr(3);
}

} // namespace

const char* const TLinkProtocol::kZipFilter =
    "Zip \xF4\xE0\xE9\xEB\xFB (*.zip)|*.zip|\xC2\xF1\xE5 \xF4\xE0\xE9\xEB\xFB (*.*)|*.*";  // Zip файлы … Все файлы …

const std::string& TLinkProtocol::LastZipFolder() { return ZipFolder(); }

std::string TLinkProtocol::GameStatus(const std::string& url, bool remove) {
    std::string command = url;
    command.erase(7, 1);  // "rungame:=…" reads "rungame=…"
    const std::string name = remove ? ValueAfterFirstEquals(command) : ValueAfterLastEquals(command);
    std::string instdir, exename;
    services_.SoftwareRecord(name, instdir, exename);
    if (remove) return instdir.empty() ? kNotInstalled : kRemoveGame;
    return exename.empty() ? kInstallGame : kRunGame;
}

std::string TLinkProtocol::StatusText(const std::string& url, const std::string& target) {
    if (url.empty() || view_.InArchiveMode()) return {};
    std::string text;
    const std::string scheme = Scheme(url);
    if (url[0] == '#') {
        text = view_.CurrentFile() + url;
    } else if (scheme.empty() || scheme == "file") {
        text = view_.ExpandLink(url);
    } else if (scheme == "copy") {
        const std::string file = view_.ExpandLink(Argument(url, 5));
        const std::string folder = services_.PathInputFolder();
        text = folder.empty() ? file : kCopyingFile + ("\"" + file + "\"") + kToFolder + "\"" + folder + "\"";
    } else if ((scheme == "rungame" || scheme == "delgame") && url.size() > 7) {
        text = GameStatus(url, scheme == "delgame");
    } else {
        text = url;
    }
    return target.empty() ? text : "Url: " + text + "  Target: " + target;
}

void TLinkProtocol::MarkVisited(const std::string& path) {
    view_.AddVisited(path);
    view_.RefreshVisited();
}

// What every step of a click reads: the link expanded to a full, lower-cased path, its
// extension, and whether the view shows an archive listing.
struct TLinkProtocol::RClick {
    const std::string& url;
    const std::string& target;
    std::string linkPath;
    std::string extension;
    bool anchor = false;
    bool archiveMode = false;
};

bool TLinkProtocol::LinkClick(const std::string& url, const std::string& target, bool byReader) {
    RClick click{url, target, Cp1251::asciiLower(view_.ExpandLink(url)), {}, !url.empty() && url[0] == '#',
                 view_.InArchiveMode()};
    click.extension = WinPath::Extension(click.linkPath);
    if (!byReader) {
        if (!IsLinkForm(url))
            if (const std::optional<bool> handled = PageLike(click)) return *handled;
        Diagnose(TDiagnosticLayer::Rules, "a link no reader clicked is left alone: " + url);
        return true;
    }
    // The first step that knows the link decides.
    static constexpr TStep kSteps[] = {&TLinkProtocol::EnlargedPicture, &TLinkProtocol::WebOrMail, &TLinkProtocol::Print,
                                       &TLinkProtocol::Copy,            &TLinkProtocol::CopyList,  &TLinkProtocol::Software,
                                       &TLinkProtocol::ArchiveEntry,    &TLinkProtocol::PageLike,  &TLinkProtocol::OtherFile};
    for (const TStep step : kSteps)
        if (const std::optional<bool> handled = (this->*step)(click)) return *handled;
    return false;
}

// An enlarged picture: brought to the front where a picture window already shows it.
std::optional<bool> TLinkProtocol::EnlargedPicture(const RClick& c) {
    if (!Cp1251::asciiEqualsNoCase(c.target, "_blank")) return std::nullopt;
    MarkVisited(c.linkPath);
    if (!services_.FileExists(WinPath::WithoutAnchor(c.linkPath))) return true;
    if (!services_.QueryPictureWindows(c.linkPath)) services_.StartPictureInstance(c.linkPath);
    return true;
}

std::optional<bool> TLinkProtocol::WebOrMail(const RClick& c) {
    if (!StartsWithNoCase(c.url, "http:") && !StartsWithNoCase(c.url, "https:") && !StartsWithNoCase(c.url, "mailto:"))
        return std::nullopt;
    MarkVisited(c.linkPath);
    services_.ShellOpen(c.url);
    return true;
}

std::optional<bool> TLinkProtocol::Print(const RClick& c) {
    if (!StartsWithNoCase(c.url, "printhtml:")) return std::nullopt;
    const std::string page = view_.ExpandLink(c.url.substr(10));
    MarkVisited(page);
    view_.PrintPage(page);
    return true;
}

std::optional<bool> TLinkProtocol::Copy(const RClick& c) {
    if (!StartsWithNoCase(c.url, "copy:")) return std::nullopt;
    MarkVisited(c.linkPath);
    const std::string folder = services_.PathInputFolder();
    if (folder.empty()) return true;
    // Only the file's name goes into the chosen folder, so a link never writes elsewhere.
    const std::string file = Cp1251::asciiLower(view_.ExpandLink(Argument(c.url, 5)));
    const std::string name = WinPath::FileName(file);
    if (name.empty() || name == "." || name == "..") return true;
    services_.CopyFile(file, WinPath::WithBackslash(folder) + name);
    return true;
}

std::optional<bool> TLinkProtocol::CopyList(const RClick& c) {
    if (!StartsWithNoCase(c.url, "copylist:")) return std::nullopt;
    MarkVisited(c.linkPath);
    view_.CopyListSelection(c.url.substr(9));
    return true;
}

std::optional<bool> TLinkProtocol::Software(const RClick& c) {
    if (!StartsWithNoCase(c.url, "rungame:") && !StartsWithNoCase(c.url, "delgame:")) return std::nullopt;
    MarkVisited(c.linkPath);
    std::string command = Cp1251::asciiLower(c.url.substr(0, 7)) + c.url.substr(8);
    services_.ExecuteCommandWithoutSound(command);
    return true;
}

// An entry of the archive listed in the view: the browser extracts it, and the steps go on.
std::optional<bool> TLinkProtocol::ArchiveEntry(const RClick& c) {
    if (c.archiveMode && !c.anchor && !services_.FileExists(c.linkPath) && services_.HasArchiveBrowser())
        services_.ArchiveOpenEntry(c.linkPath);
    return std::nullopt;
}

// Pages and pictures are the engine's. An archive listing's entries, unpacked by now, open in
// the listing's content frame, where the link is: the listing stays around them.
std::optional<bool> TLinkProtocol::PageLike(const RClick& c) {
    if (!c.anchor && !IsPageLike(c.extension)) return std::nullopt;
    if (c.archiveMode) return false;
    if (c.extension.rfind(".htm", 0) == 0) view_.SyncTreeToPage(c.linkPath);
    return false;
}

std::optional<bool> TLinkProtocol::OtherFile(const RClick& c) {
    MarkVisited(c.linkPath);
    const std::string path = c.archiveMode ? c.linkPath : OntoProgramDrive(c.linkPath);
    if (Contains(c.extension, ".zip")) {
        const auto chosen = services_.ChooseZipTarget(ZipFolder(), WinPath::FileName(path), kZipFilter);
        if (!chosen || chosen->empty()) return true;
        ZipFolder() = WinPath::Folder(*chosen);
        services_.CopyFile(path, *chosen);
    } else if (Contains(c.extension, ".rar")) {
        if (services_.HasArchiveBrowser()) services_.ArchiveOpen(path, view_.CurrentFile());
    } else if (Contains(c.extension, ".wav")) {
        if (services_.HasSoundPlayer()) services_.PlayLinkSound(path);
    } else {
        services_.SetCurrentFolder(WinPath::Folder(path));
        if (Contains(c.extension, ".exe") || Contains(c.extension, ".com")) services_.StartProgram(path);
        else services_.ShellOpen(path);
    }
    return true;
}
