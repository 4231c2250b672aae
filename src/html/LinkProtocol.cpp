#include "html/LinkProtocol.h"

#include "base/Cp1251.h"
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
bool ContainsNoCase(const std::string& text, const char* part) { return Contains(Cp1251::asciiLower(text), part); }

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

bool PageLike(const std::string& extension) {
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
    host_.SoftwareRecord(name, instdir, exename);
    if (remove) return instdir.empty() ? kNotInstalled : kRemoveGame;
    return exename.empty() ? kInstallGame : kRunGame;
}

std::string TLinkProtocol::StatusText(const std::string& url, const std::string& target) {
    if (url.empty() || host_.InArchiveMode()) return {};
    std::string text;
    const std::string scheme = Scheme(url);
    if (url[0] == '#') {
        text = host_.CurrentFile() + url;
    } else if (scheme.empty() || scheme == "file") {
        text = host_.ExpandLink(url);
    } else if (scheme == "copy") {
        const std::string file = host_.ExpandLink(Argument(url, 5));
        const std::string folder = host_.PathInputFolder();
        text = folder.empty() ? file : kCopyingFile + ("\"" + file + "\"") + kToFolder + "\"" + folder + "\"";
    } else if ((scheme == "rungame" || scheme == "delgame") && url.size() > 7) {
        text = GameStatus(url, scheme == "delgame");
    } else {
        text = url;
    }
    return target.empty() ? text : "Url: " + text + "  Target: " + target;
}

void TLinkProtocol::MarkVisited(const std::string& path) {
    host_.AddVisited(path);
    host_.RefreshVisited();
}

bool TLinkProtocol::LinkClick(const std::string& url, const std::string& target) {
    const std::string linkPath = Cp1251::asciiLower(host_.ExpandLink(url));
    const std::string extension = WinPath::Extension(linkPath);
    const bool anchor = !url.empty() && url[0] == '#';

    // An enlarged picture: brought to the front where a picture window already shows it.
    if (Cp1251::asciiEqualsNoCase(target, "_blank")) {
        MarkVisited(linkPath);
        if (!host_.FileExists(linkPath.substr(0, linkPath.find('#')))) return true;
        if (!host_.QueryPictureWindows(linkPath)) host_.StartPictureInstance(linkPath);
        return true;
    }
    if (ContainsNoCase(url, "http:") || ContainsNoCase(url, "https:") || ContainsNoCase(url, "mailto:")) {
        MarkVisited(linkPath);
        host_.ShellOpen(url);
        return true;
    }
    if (const size_t at = url.find("printhtml:"); at != std::string::npos) {
        std::string rest = url;
        rest.erase(at, 10);
        const std::string page = host_.ExpandLink(rest);
        MarkVisited(page);
        host_.PrintPage(page);
        return true;
    }
    if (Contains(url, "copy:")) {
        MarkVisited(linkPath);
        const std::string folder = host_.PathInputFolder();
        if (folder.empty()) return true;
        // Only the file's name goes into the chosen folder, so a link never writes elsewhere.
        const std::string file = Cp1251::asciiLower(host_.ExpandLink(Argument(url, 5)));
        const std::string name = WinPath::FileName(file);
        if (name.empty() || name == "." || name == "..") return true;
        host_.CopyFile(file, WinPath::WithBackslash(folder) + name);
        return true;
    }
    if (Contains(url, "copylist:")) {
        MarkVisited(linkPath);
        host_.CopyListSelection(url.substr(9));
        return true;
    }
    if (Contains(url, "rungame:") || Contains(url, "delgame:")) {
        MarkVisited(linkPath);
        std::string command = url;
        command.erase(7, 1);
        host_.ExecuteCommandWithoutSound(command);
        return true;
    }

    const bool archiveMode = host_.InArchiveMode();
    // An entry of the archive listed in the view: the browser extracts it.
    if (archiveMode && !anchor && !host_.FileExists(linkPath) && host_.HasArchiveBrowser())
        host_.ArchiveOpenEntry(linkPath);

    // Pages and pictures are the engine's, except entries of an archive listing.
    if (anchor || PageLike(extension)) {
        if (archiveMode) {
            if (anchor || Contains(WinPath::FileName(linkPath), "as_")) return false;
            host_.OpenInCurrentView(linkPath);
            return true;
        }
        if (extension.rfind(".htm", 0) == 0) host_.SyncTreeToPage(linkPath);
        return false;
    }

    MarkVisited(linkPath);
    const std::string path = archiveMode ? linkPath : OntoProgramDrive(linkPath);
    if (Contains(extension, ".zip")) {
        const auto chosen = host_.ChooseZipTarget(ZipFolder(), WinPath::FileName(path), kZipFilter);
        if (!chosen || chosen->empty()) return true;
        ZipFolder() = WinPath::Folder(*chosen);
        host_.CopyFile(path, *chosen);
    } else if (Contains(extension, ".rar")) {
        if (host_.HasArchiveBrowser()) host_.ArchiveOpen(path, host_.CurrentFile());
    } else if (Contains(extension, ".wav")) {
        if (host_.HasSoundPlayer()) host_.PlayLinkSound(path);
    } else {
        host_.SetCurrentFolder(WinPath::Folder(path));
        if (Contains(extension, ".exe") || Contains(extension, ".com")) host_.StartProgram(path);
        else host_.ShellOpen(path);
    }
    return true;
}
