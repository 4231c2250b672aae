#pragma once
// Where an archive entry lands below a destination folder, and writing it there without ever
// leaving that folder: names that are absolute, carry a drive or climb with ".." are refused, and
// every folder on the way is opened without following symbolic links, so a link inside the
// destination (planted there or by an earlier entry) is never passed through.
#include <ctime>
#include <string>
#include <vector>

// The host path components (UTF-8) of a CP1251 entry name with "\" or "/" between folders; "."
// and empty components drop out. False for a name that is absolute, holds a ":" (a drive or a
// stream), climbs with "..", or names nothing. The rule is Contained::Components, the one every
// name joined to a host folder follows.
bool RarSafeComponents(const std::string& cp1251Name, std::vector<std::string>& components);

// One file being written: into a hidden temporary file beside its target, which takes the
// target's place only when all of it was written, so a failed entry leaves an earlier file alone.
class TRarOutput {
public:
    TRarOutput() = default;
    ~TRarOutput();
    TRarOutput(const TRarOutput&) = delete;
    TRarOutput& operator=(const TRarOutput&) = delete;

    // Creates destPath and the folders of the name below it and opens the file. ERAR_ECREATE for
    // a refused name, a symbolic link on the way or at the target, or a folder that cannot be made.
    int Open(const std::string& destPath, const std::string& cp1251Name);
    // ERAR_EWRITE when the bytes cannot be written.
    int Write(const char* data, size_t size);
    // Gives the file its modification time (when hasTime) and its name.
    int Commit(bool hasTime, time_t mtime);

private:
    void Discard();

    int folder_ = -1;
    int file_ = -1;
    std::string name_;
    std::string temp_;
};

// Creates destPath and the folder a directory entry names below it, on the same terms.
int RarMakeFolder(const std::string& destPath, const std::string& cp1251Name);

// Writes a copy of the file an earlier entry wrote (fromName below fromDest, as given to its
// Open) as the entry cp1251Name below destPath, both on the same terms: the file is read through
// folders opened without following links and must still be a regular file. ERAR_ECREATE when it
// is not there (or either name is refused), ERAR_EREAD or ERAR_EWRITE when the copying fails.
int RarCopyFile(const std::string& fromDest, const std::string& fromName, const std::string& destPath,
                const std::string& cp1251Name, bool hasTime, time_t mtime);
