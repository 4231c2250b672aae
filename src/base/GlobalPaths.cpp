#include "base/GlobalPaths.h"

namespace {
std::string gCdRoot;
std::string gProgramDir;
} // namespace

const std::string& CdRoot() { return gCdRoot; }
const std::string& ProgramDir() { return gProgramDir; }
void SetCdRoot(std::string value) { gCdRoot = std::move(value); }
void SetProgramDir(std::string value) { gProgramDir = std::move(value); }
