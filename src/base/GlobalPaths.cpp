#include "base/GlobalPaths.h"

TStartState& StartState() {
    static TStartState state;
    return state;
}

const std::string& CdRoot() { return StartState().cdRoot; }
const std::string& ProgramDir() { return StartState().programDir; }
const std::string& AppTitle() { return StartState().appTitle; }
void SetCdRoot(std::string value) { StartState().cdRoot = std::move(value); }
void SetProgramDir(std::string value) { StartState().programDir = std::move(value); }
