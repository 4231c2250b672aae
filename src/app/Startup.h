#pragma once
// The first half of the main window's creation: global paths, the pack, the start mode, the
// configuration guard, the bundle and the interface description's window keys, and the
// single-instance test. The element pass and the window itself follow in the main window.
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/ConfigGuard.h"
#include "base/DynamicStringArray.h"
#include "packs/ReadBin.h"
#include "rules/WindowKeys.h"

class TInstanceLock;

enum class TStartOutcome { Shell, Thesaurus, Standard, Terminate };

struct TStartResult {
    TStartOutcome outcome = TStartOutcome::Terminate;
    int exitCode = 0;            // for Terminate
    std::string message;         // one line for stderr (UTF-8), for Terminate
    std::unique_ptr<TReadBin> bundle;
    TDynamicStringArray structLines;  // Struct.cfs, lower-cased
    RWindowKeys keys;
    RBookArguments arguments;  // the file of the standard or thesaurus window
};

// Runs the start-up on the program folder (a host path). Fills StartState(); installs the
// host paths as the file access; keeps the single-instance lock in lock. The standard and
// thesaurus windows read the same bundle and Struct.cfs's title, so that the book's settings are
// theirs too; a second thesaurus window ends silently.
TStartResult RunStartup(const std::string& programFolderHost, const TCommandLine& line, const TWarningSink& warn,
                        TInstanceLock& lock);

// The book's title as its description gives it, read without the rest of the start-up; empty
// when the folder holds no readable book. RunStartup sets up paths and pack again afterwards.
std::string ReadBookTitle(const std::string& programFolderHost, const TCommandLine& line);
