#pragma once
// Process-wide start-up state in Windows form (for example "d:\" and "d:\run\"). Start-up sets
// it once; the configuration parsers read CdRoot and ProgramDir to expand "<cd>" and relative
// paths.
#include <string>

const std::string& CdRoot();
const std::string& ProgramDir();
void SetCdRoot(std::string value);
void SetProgramDir(std::string value);
