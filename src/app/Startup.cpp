#include "app/Startup.h"

#include <filesystem>

#include "app/StartPaths.h"
#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "packs/CfsCodec.h"
#include "packs/PackFile.h"
#include "platform/Drives.h"
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

TStartResult RunStartup(const std::string& programFolderHost, const TCommandLine& line, const TWarningSink& warn,
                        TInstanceLock& lock) {
    TStartState& state = StartState();
    const RDriveLayout layout = SetupDrives(programFolderHost, line.drive);
    state.programDir = layout.programDir;
    state.cdRoot = CdRootOf(layout.programDir);

    // The pack is opened without a prior test; a missing or damaged one ends the start with
    // a message rather than leaving a process without a window.
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

    state.restrictedRun = !line.bookArgs.empty();
    switch (ChooseStartMode(line)) {
    case TStartMode::Thesaurus: {
        TStartResult r;
        r.outcome = TStartOutcome::Thesaurus;
        return r;
    }
    case TStartMode::Standard: {
        TStartResult r;
        r.outcome = TStartOutcome::Standard;
        return r;
    }
    case TStartMode::Shell:
        break;
    }

    if (ConfigGuard(state.programDir, warn)) return terminate(1, "plain configuration sources lie beside the book; it will not start");
    const std::string bundlePath = state.programDir + "Zaz.dhl";
    if (!HostPathsService().FindFile(bundlePath)) return terminate(1, "the book's Zaz.dhl is missing in " + programFolderHost);

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
    state.appTitle = result.keys.title;

    if (!lock.TryAcquire(state.appTitle)) {
        state.duplicateInstance = true;
        state.restrictedRun = true;
        return terminate(0, "\"" + Cp1251::toUtf8(state.appTitle) + "\" is already open");
    }
    result.outcome = TStartOutcome::Shell;
    return result;
}
