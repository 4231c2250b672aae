#include "archive/UnRar.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "archive/listing/ArchiveListing.h"
#include "archive/rar/RarLibrary.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "platform/BusyCursor.h"
#include "platform/hostpaths/Drives.h"

namespace fs = std::filesystem;

namespace {

std::string Cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

std::string Host(const std::string& winPath) { return HostPathsService().ToHost(winPath).value_or(""); }

bool ContainsNoCase(const TDynamicStringArray& list, const std::string& item) {
    for (const std::string& entry : list)
        if (Cp1251::equalsNoCase(entry, item)) return true;
    return false;
}

// A folder only this user reaches: an existing one must be a real folder of this user's and
// nobody else's, else another is made under a fresh name.
std::string PrivateFolder(const std::string& temp, const std::string& stem) {
    const std::string win = temp + stem + "\\";
    const std::string host = Host(win);
    struct stat st {};
    if (!host.empty() && (::mkdir(host.c_str(), 0700) == 0 || errno == EEXIST) && ::lstat(host.c_str(), &st) == 0 &&
        S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0)
        return win;
    std::string pattern = Host(temp) + "/" + stem + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) return win;
    return HostPathsService().ToWindows(pattern) + "\\";
}

// The generated pages of a listing folder, which an extraction into it must not replace.
bool GeneratedPage(const std::string& name) {
    const std::string lower = Cp1251::asciiLower(name);
    return lower.find('\\') == std::string::npos && lower.rfind("as_", 0) == 0 && WinPath::Extension(lower) == ".htm";
}

}  // namespace

TUnRar::TUnRar(IArchiveHost& host, const std::string& title) : host_(host) {
    char stem[64];
    std::snprintf(stem, sizeof stem, "bookshell-%u-%08zx", unsigned(::getuid()), std::hash<std::string>()(title) & 0xFFFFFFFF);
    root_ = PrivateFolder(StartState().tempDir, stem);
    CleanListings();
}

TUnRar::~TUnRar() { CleanListings(); }

// The listing folders of earlier archives and runs go; links inside them are removed, never
// followed.
void TUnRar::CleanListings() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Host(root_), error)) {
        if (entry.path().filename().string().rfind("as_", 0) != 0) continue;
        if (entry.is_symlink(error) || !entry.is_directory(error)) fs::remove(entry.path(), error);
        else fs::remove_all(entry.path(), error);
    }
}

void TUnRar::ShowArchive(const std::string& archive, const std::string& currentPage) {
    archive_ = archive;
    listingFolder_ = root_ + "as_" + MangledName(archive) + "\\";
    const std::string frameset = listingFolder_ + "as_" + WinPath::FileName(archive) + ".htm";
    if (!HostPathsService().Find(frameset)) {
        std::error_code error;
        fs::create_directories(Host(listingFolder_), error);
        if (!ContainsNoCase(listingPages_, frameset)) listingPages_.push_back(frameset);
        if (!host_.ArchiveMode() && !ContainsNoCase(referringPages_, currentPage)) referringPages_.push_back(currentPage);
        if (!ListArchive(frameset)) return;
    }
    host_.OpenInCurrentView(frameset);
}

bool TUnRar::ListArchive(const std::string& frameset) {
    RAROpenArchiveData open{HostPathsService().Find(archive_).value_or(Host(archive_)), RAR_OM_LIST, 0};
    TRarHandle handle = RAROpenArchive(open);
    if (!handle) {
        ShowOpenError(open.OpenResult);
        return false;
    }
    RARSetChangeVolProc(handle, [this](const std::string& volume, int mode) { return VolumeCallback(volume, mode); });
    std::vector<RListDir> dirs{{"", "", 0}};
    std::vector<RListFile> files;
    RARHeaderData header;
    int result = ERAR_SUCCESS;
    while ((result = RARReadHeader(handle, header)) == ERAR_SUCCESS) {
        if ((header.Flags & RHDF_DIRECTORY) == RHDF_DIRECTORY) dirs.push_back({header.FileName, "", header.FileTime});
        else files.push_back({header.FileName, header.UnpSize, header.FileTime});
        const int processed = RARProcessFile(handle, RAR_SKIP, "");
        if (processed >= ERAR_BAD_DATA && processed <= ERAR_EWRITE) {
            ShowProcessError(processed, header.FileName);
            break;
        }
    }
    if (result == ERAR_BAD_DATA) host_.ShowMessage(Cp("У файла: ") + header.FileName + Cp(" испорчен заголовок."));
    RARCloseArchive(handle);
    CompleteDirectories(dirs, files);
    const auto pages = BuildListingPages(dirs, files, DosTime(std::time(nullptr)));
    std::ofstream(Host(frameset), std::ios::binary) << FramesetPageText(archive_, pages.front().page);
    std::ofstream(Host(listingFolder_ + "as_bar.htm"), std::ios::binary) << BarPageText();
    for (const RInfoFiles& page : pages)
        std::ofstream(Host(listingFolder_ + page.page), std::ios::binary) << DirectoryPageText(archive_, page);
    return true;
}

void TUnRar::ShowOpenError(int code) {
    switch (code) {
    case ERAR_NO_MEMORY: return host_.ShowMessage("Not enough memory to initialize data structures");
    case ERAR_BAD_DATA: return host_.ShowMessage(archive_ + ": archive header broken");
    case ERAR_BAD_ARCHIVE: return host_.ShowMessage(Cp("Файл ") + archive_ + Cp(" не является RAR архивом."));
    case ERAR_UNKNOWN_FORMAT: return host_.ShowMessage("Unknown archive format");
    case ERAR_MISSING_PASSWORD: return host_.ShowMessage(Cp("Архив ") + archive_ + Cp(" зашифрован: его нельзя открыть."));
    default: return host_.ShowMessage("Cannot open " + archive_);
    }
}

void TUnRar::ShowProcessError(int code, const std::string& name) {
    switch (code) {
    case ERAR_BAD_DATA: return host_.ShowMessage(Cp("У файла ") + name + Cp(" ошика контрольной суммы."));
    case ERAR_BAD_ARCHIVE: return host_.ShowMessage("Volume is not valid RAR archive");
    case ERAR_UNKNOWN_FORMAT: return host_.ShowMessage("Unknown archive format");
    case ERAR_ECREATE: return host_.ShowMessage("File " + name + " create error");
    case ERAR_ECLOSE: return host_.ShowMessage("File " + name + " close error");
    case ERAR_EREAD: return host_.ShowMessage("Read error");
    case ERAR_EWRITE: return host_.ShowMessage("Write error");
    case ERAR_MISSING_PASSWORD: return host_.ShowMessage(Cp("Файл ") + name + Cp(" зашифрован и не распакован."));
    default: return;  // an open error of a further volume: the volume message has said it
    }
}

int TUnRar::VolumeCallback(const std::string& hostVolume, int mode) {
    if (mode != RAR_VOL_ASK) return 1;
    host_.ShowMessage(Cp("Том ") + HostPathsService().ToWindows(hostVolume) + Cp(" не найден."));
    return 0;
}

// The archive's own folder beside earlier extractions: file.rar, then file1.rar, file2.rar …
std::string TUnRar::TargetFolder(const std::string& destination) const {
    const std::string name = WinPath::FileName(archive_);
    std::string target = name;
    for (int n = 1; HostPathsService().Find(destination + target, true); ++n)
        target = WinPath::WithoutExtension(name) + std::to_string(n) + WinPath::Extension(name);
    return target;
}

void TUnRar::ExtractArchive(bool toPathInput, bool intoListingFolder) {
    const std::optional<std::string> input = toPathInput ? host_.UnpackFolder() : listingFolder_;
    if (!input) return;
    if (intoListingFolder) {
        if (ContainsNoCase(unpackedListings_, listingFolder_)) return;
        unpackedListings_.push_back(listingFolder_);
    }
    const std::string destination = WinPath::WithBackslash(*input);
    RAROpenArchiveData open{HostPathsService().Find(archive_).value_or(Host(archive_)), RAR_OM_EXTRACT, 0};
    TRarHandle handle = RAROpenArchive(open);
    if (!handle) return ShowOpenError(open.OpenResult);
    const std::string target = intoListingFolder ? destination : destination + TargetFolder(destination);
    std::error_code error;
    fs::create_directories(Host(target), error);
    const std::string hostTarget = Host(target);
    SetBusyCursor(true);
    RARSetChangeVolProc(handle, [this](const std::string& volume, int mode) { return VolumeCallback(volume, mode); });
    RARHeaderData header;
    int result = ERAR_SUCCESS;
    std::vector<std::pair<int, std::string>> leftOut;  // entries refused or encrypted, with their code
    while ((result = RARReadHeader(handle, header)) == ERAR_SUCCESS) {
        const bool skip = intoListingFolder && GeneratedPage(header.FileName);
        const int processed = RARProcessFile(handle, skip ? RAR_SKIP : RAR_EXTRACT, hostTarget);
        if (processed == ERAR_ECREATE || processed == ERAR_MISSING_PASSWORD) {
            leftOut.emplace_back(processed, header.FileName);  // that entry is left out; the others go on
        } else if (processed >= ERAR_BAD_DATA && processed <= ERAR_EWRITE) {
            ShowProcessError(processed, header.FileName);
            break;
        }
    }
    RARCloseArchive(handle);
    SetBusyCursor(false);
    ShowLeftOut(leftOut);
    if (result == ERAR_BAD_DATA) host_.ShowMessage(Cp("У файла: ") + header.FileName + Cp(" испорчен заголовок."));
}

// One entry left out says why in its own words; several are named in one message, the first ten
// of them, so a crafted archive never asks for one answer per entry.
void TUnRar::ShowLeftOut(const std::vector<std::pair<int, std::string>>& leftOut) {
    if (leftOut.size() == 1) return ShowProcessError(leftOut.front().first, leftOut.front().second);
    if (leftOut.empty()) return;
    constexpr size_t kNamed = 10;
    std::string text = Cp("Не распакованы файлы: ");
    for (size_t i = 0; i < leftOut.size() && i < kNamed; ++i) text += (i ? ", " : "") + leftOut[i].second;
    if (leftOut.size() > kNamed) text += Cp(" и ещё ") + std::to_string(leftOut.size() - kNamed);
    host_.ShowMessage(text + ".");
}

void TUnRar::UpdateArchiveMode(const std::string& address) {
    if (host_.ArchiveMode()) {
        if (ContainsNoCase(referringPages_, address)) host_.SetArchiveMode(false);
    } else if (ContainsNoCase(listingPages_, address)) {
        host_.SetArchiveMode(true);
    }
}
