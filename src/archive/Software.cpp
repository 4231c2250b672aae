#include "archive/Software.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <optional>
#include <cstdio>
#include <tuple>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "packs/BookFiles.h"
#include "platform/BusyCursor.h"
#include "platform/hostpaths/Drives.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "platform/SoftwareRecord.h"

namespace fs = std::filesystem;

namespace {

// Walks the parts of a path below a host folder, each matched without regard to case; parts that
// do not exist are taken as written.
std::string Below(const fs::path& root, const std::string& rest) {
    fs::path at = root;
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        const std::string part = Cp1251::toUtf8(rest.substr(start, end - start));
        fs::path next = at / part;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(at, error))
            if (QString::fromStdString(entry.path().filename().string()).compare(QString::fromStdString(part), Qt::CaseInsensitive) == 0)
                next = entry.path();
        if (!part.empty()) at = next;
        start = end + 1;
    }
    return at.string();
}

bool HasLinkOnTheWay(const fs::path& path) {
    fs::path at;
    for (const fs::path& part : path) {
        at /= part;
        struct stat st {};
        if (::lstat(at.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return true;
    }
    return false;
}

// Whether inner is outer or lies below it.
bool Within(const fs::path& inner, const fs::path& outer) {
    const fs::path a = inner.lexically_normal(), b = outer.lexically_normal();
    auto ia = a.begin();
    for (auto ib = b.begin(); ib != b.end(); ++ib, ++ia) {
        if (ib->empty()) continue;  // a trailing separator
        if (ia == a.end() || *ia != *ib) return false;
    }
    return true;
}

std::string Record(const std::string& key, std::string& instdir, QString& prefix) {
    std::string exename;
    ReadSoftwareRecord(key, instdir, exename, &prefix);
    return exename;
}

}  // namespace

std::pair<std::string, std::string> SplitProgram(const std::string& command) {
    const size_t exe = Cp1251::asciiLower(command).find(".exe");
    if (exe == std::string::npos) return {command, {}};
    return {command.substr(0, exe + 4), command.substr(exe + 4)};
}

std::string SoftwareHostPath(const std::string& winPath, const QString& winePrefix) {
    if (winePrefix.isEmpty()) return HostPathsService().Find(winPath).value_or(HostPathsService().ToHost(winPath).value_or(""));
    if (winPath.size() < 3 || winPath[1] != ':') return {};
    const char drive = char(std::tolower(static_cast<unsigned char>(winPath[0])));
    const fs::path root = drive == 'c' ? fs::path(winePrefix.toStdString()) / "drive_c"
                                       : fs::weakly_canonical(fs::path(winePrefix.toStdString()) / "dosdevices" / (std::string(1, drive) + ":"));
    return Below(root, winPath.substr(3));
}

bool RunGame(const std::string& setup, const std::string& key) {
    std::string instdir;
    QString prefix;
    const auto [exe, parameters] = SplitProgram(Record(key, instdir, prefix));
    std::string program = WinPath::WithBackslash(instdir) + exe, args = parameters;
    if (exe.empty()) {
        std::tie(program, args) = SplitProgram(setup);
        prefix.clear();  // the setup is a file of the disc
    }
    const QString host = QString::fromStdString(SoftwareHostPath(program, prefix));
    if (host.isEmpty()) return false;
    return LaunchProgram(host, SplitParameters(ToQt(args)), QFileInfo(host).absolutePath());
}

bool SafeToClean(const fs::path& folder, const fs::path& installed) {
    std::error_code error;
    if (folder.empty() || !folder.is_absolute() || HasLinkOnTheWay(folder) || !fs::is_directory(fs::symlink_status(folder, error)))
        return false;
    const fs::path normal = folder.lexically_normal();
    const fs::path home = fs::path(QDir::homePath().toStdString()).lexically_normal();
    if (normal == normal.root_path() || Within(home, normal)) return false;
    for (const char drive : {'c', 'd', 'z'})
        if (const auto root = HostPathsService().DriveRoot(drive); root && Within(fs::path(*root), normal)) return false;
    if (const auto disc = HostPathsService().Find(CdRoot(), true); disc && Within(fs::path(*disc), normal)) return false;
    return Within(normal, installed);
}

void CleanFolder(const fs::path& folder) {
    std::error_code error;
    fs::remove_all(folder, error);  // removes links themselves, never what they point to
}

namespace {

// Nothing is left in the folder but the uninstaller's log and empty folders.
bool OnlyTheLogLeft(const fs::path& folder) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (fs::is_directory(status)) continue;
        if (!fs::is_regular_file(status) || Cp1251::asciiLower(it->path().filename().string()) != "uninst.isu") return false;
    }
    return !error;
}

// The folder of the uninstaller's log goes after the install folder when it is that folder's
// parent (never further up) and nothing of the program is left in it but the log.
void CleanLogFolder(const fs::path& logFolder, const fs::path& installed) {
    const fs::path log = logFolder.lexically_normal(), parent = installed.lexically_normal().parent_path();
    if (log != parent || !SafeToClean(log, log) || !OnlyTheLogLeft(log)) return;
    CleanFolder(log);
}

} // namespace

bool RemoveGame(const std::string& key) {
    std::string instdir;
    QString prefix;
    Record(key, instdir, prefix);
    while (!instdir.empty() && instdir.back() == '\\') instdir.pop_back();
    std::string folder = instdir;
    while (!folder.empty() && !fs::exists(SoftwareHostPath(folder + "\\Uninst.isu", prefix)))
        folder = folder.find('\\') == std::string::npos ? std::string() : folder.substr(0, folder.rfind('\\'));
    if (folder.empty()) return false;
    const std::string windows = prefix.isEmpty() ? StartState().windowsDir : std::string("c:\\windows\\");
    const QString uninstaller = QString::fromStdString(SoftwareHostPath(windows + "IsUninst.exe", prefix));
    SetBusyCursor(true);
    RunAndWaitWithEvents(uninstaller, SplitParameters(ToQt(" -f\"" + folder + "\\Uninst.isu")));
    SetBusyCursor(false);
    std::string left;
    Record(key, left, prefix);
    const fs::path installed = SoftwareHostPath(instdir, prefix);
    if (!left.empty() || !SafeToClean(installed, installed)) return true;
    CleanFolder(installed);
    if (folder != instdir) CleanLogFolder(SoftwareHostPath(folder, prefix), installed);
    return true;
}

namespace {

// A font of the book goes into the font folder under its own name, or under a numbered one
// beside a different font of that name: a file already there is never replaced or removed. The
// path it is at, or nothing when it could not be written (full is set for a full disk).
std::optional<fs::path> PlaceFont(const fs::path& folder, const std::string& name, std::string_view bytes, bool& full) {
    const auto target = Contained::Join(folder, name);
    if (!target || !Contained::IsPlainName(name)) return std::nullopt;
    const std::string stem = target->stem().string(), ext = target->extension().string();
    for (int n = 0; n < 100; ++n) {
        const fs::path candidate = n == 0 ? *target : folder / (stem + "-" + std::to_string(n) + ext);
        QFile existing(QString::fromStdString(candidate.string()));
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == QByteArray(bytes.data(), qsizetype(bytes.size())))
                return candidate;  // installed before
            continue;
        }
        if (Contained::WriteNew(candidate, bytes)) return candidate;
        full = errno == ENOSPC || errno == EDQUOT;
        if (!existing.exists()) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

int InstallFonts(const std::string& folder) {
    const fs::path target = (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/fonts").toStdString();
    std::error_code error;
    fs::create_directories(target, error);
    int installed = 0;
    SetBusyCursor(true);
    for (const std::string& entry : BookFiles().List(folder)) {
        if (entry.find('\\') != std::string::npos || Cp1251::asciiLower(WinPath::Extension(entry)) != ".ttf") continue;
        TMemoryStream font;
        try {
            BookFiles().Read(WinPath::WithBackslash(folder) + entry, font);
        } catch (const std::exception&) {
            continue;
        }
        bool full = false;
        const auto placed = PlaceFont(target, entry, font.View(), full);
        if (full) break;
        if (placed && QFontDatabase::addApplicationFont(QString::fromStdString(placed->string())) >= 0) ++installed;
    }
    if (installed > 0) QProcess::startDetached("fc-cache", {QString::fromStdString(target.string())});
    SetBusyCursor(false);
    return installed;
}
