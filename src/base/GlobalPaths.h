#pragma once
// Process-wide start-up state, in Windows form (for example "d:\" and "d:\run\"). Start-up sets
// it once; every other part reads it. The description-file parsers expand "<cd>" with CdRoot
// and relative paths against ProgramDir.
#include <string>

struct TStartState {
    std::string cdRoot;      // drive of the program folder, lower-case, with "\": "d:\"
    std::string programDir;  // the program folder with "\": "d:\run\"
    std::string packPrefix;  // programDir without its first "run\": the pack's root prefix
    std::string systemDir;   // "c:\windows\system32\"
    std::string windowsDir;  // "c:\windows\"
    std::string tempDir;     // the host's temporary folder in Windows form, with "\"
    std::string appTitle;    // the book's title: window caption, settings key, instance name
    bool restrictedRun = false;      // started with arguments, or a second instance
    bool duplicateInstance = false;  // another instance of the same title runs
};

TStartState& StartState();

const std::string& CdRoot();
const std::string& ProgramDir();
const std::string& AppTitle();
void SetCdRoot(std::string value);
void SetProgramDir(std::string value);
