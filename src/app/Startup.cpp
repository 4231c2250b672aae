#include "app/Startup.h"

#include <filesystem>
#include <optional>

#include "app/StartPaths.h"
#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "packs/CfsCodec.h"
#include "packs/PackFile.h"
#include "platform/BookWindows.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceLock.h"

namespace {
TStartResult terminate(int code, std::string message) {
    TStartResult r;
    r.outcome = TStartOutcome::Terminate;
    r.exitCode = code;
    r.message = std::move(message);
    return r;
}
} // namespace

namespace {

// The global paths, the pack and its prefix; a missing or damaged pack ends the start with a
// message rather than leaving a process without a window.
std::optional<TStartResult> OpenPaths(const std::string& programFolderHost, const TCommandLine& line) {
    TStartState& state = StartState();
    const RDriveLayout layout = SetupDrives(programFolderHost, line.drive);
    state.programDir = layout.programDir;
    state.cdRoot = CdRootOf(layout.programDir);
    try {
        OpenPack(state.programDir + "interface.dat");
    } catch (const EFOpenError& e) {
        return terminate(1, "cannot open the book's interface.dat in " + programFolderHost + ": " + Cp1251::toUtf8(e.what()));
    }
    state.packPrefix = PackPrefixOf(state.programDir);
    SetPackRootPrefix(state.packPrefix);
    state.windowsDir = "c:\\windows\\";
    state.systemDir = "c:\\windows\\system32\\";
    state.tempDir = WinPath::WithBackslash(HostPathsService().ToWindows(std::filesystem::temp_directory_path().string()));
    // The Russian keyboard layout is not switched: on this desktop the user's own layouts stay.
    return std::nullopt;
}

// The bundle, Struct.cfs in lines and the window keys read from them.
TStartResult ReadDescription(const std::string& programFolderHost) {
    const std::string bundlePath = StartState().programDir + "Zaz.dhl";
    // On a disc image the bundle is read in place: asking for its host path would copy it out.
    const IBookFiles* image = BookFiles().Image();
    if (!(image && image->Has(bundlePath)) && !HostPathsService().FindFile(bundlePath))
        return terminate(1, "the book's Zaz.dhl is missing in " + programFolderHost);
    TStartResult result;
    result.bundle = std::make_unique<TReadBin>();
    try {
        result.bundle->OpenBundle(bundlePath);
    } catch (const EInOutError& e) {
        return terminate(1, "cannot read the book's Zaz.dhl: " + Cp1251::toUtf8(e.what()));
    }
    std::vector<uint8_t> structBytes;
    if (result.bundle->ReadBundleEntry("Struct.cfs", structBytes) < 0)
        return terminate(1, "the book's Zaz.dhl holds no readable Struct.cfs");
    DecodeCfsLines(structBytes.data(), structBytes.size(), result.structLines, true);
    result.keys = ReadWindowKeys(result.structLines);
    result.outcome = TStartOutcome::Shell;
    return result;
}

// The standard and thesaurus windows: the bundle and the title ("Тезаурус", "Помощь" for a help
// window, else the book's); the thesaurus window runs once, by the lock of its caption.
TStartResult SecondaryWindow(const std::string& programFolderHost, const TCommandLine& line, TStartMode mode,
                             TInstanceLock& lock) {
    TStartResult result = ReadDescription(programFolderHost);
    if (result.outcome == TStartOutcome::Terminate) return result;
    result.arguments = ReadBookArguments(line);
    StartState().appTitle = mode == TStartMode::Thesaurus ? BookWindows::kThesaurus
                            : result.arguments.helpOnly   ? BookWindows::kHelp
                                                          : result.keys.title;
    result.outcome = mode == TStartMode::Thesaurus ? TStartOutcome::Thesaurus : TStartOutcome::Standard;
    if (mode == TStartMode::Thesaurus && !lock.TryAcquire(BookWindows::kThesaurus)) {
        StartState().restrictedRun = true;
        return terminate(0, {});
    }
    return result;
}

} // namespace

TStartResult RunStartup(const std::string& programFolderHost, const TCommandLine& line, const TWarningSink& warn,
                        TInstanceLock& lock) {
    if (auto failed = OpenPaths(programFolderHost, line)) return std::move(*failed);
    TStartState& state = StartState();
    state.restrictedRun = !line.bookArgs.empty();
    const TStartMode mode = ChooseStartMode(line);
    if (mode != TStartMode::Shell) return SecondaryWindow(programFolderHost, line, mode, lock);
    if (ConfigGuard(state.programDir, warn)) return terminate(1, "plain configuration sources lie beside the book; it will not start");
    TStartResult result = ReadDescription(programFolderHost);
    if (result.outcome == TStartOutcome::Terminate) return result;
    state.appTitle = result.keys.title;
    if (!lock.TryAcquire(state.appTitle)) {
        state.duplicateInstance = true;
        state.restrictedRun = true;
        return terminate(0, "\"" + Cp1251::toUtf8(state.appTitle) + "\" is already open");
    }
    return result;
}

std::string ReadBookTitle(const std::string& programFolderHost, const TCommandLine& line) {
    if (OpenPaths(programFolderHost, line)) return {};
    const TStartResult result = ReadDescription(programFolderHost);
    return result.outcome == TStartOutcome::Terminate ? std::string() : result.keys.title;
}
