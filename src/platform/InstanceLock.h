#pragma once
// TInstanceLock: the named lock behind "one running instance per title". A name (CP1251, any
// bytes) maps to a lock file in the runtime folder; the process that holds it keeps it until the
// object is destroyed or the process ends. A lock left behind by a process that died is taken
// over at once: only the owner's PID decides, never the file's age.
#include <QString>

#include <memory>
#include <string>

class QLockFile;

class TInstanceLock {
public:
    TInstanceLock();
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when this process now holds the lock of name; false when another live holder has it
    // (another process, or another TInstanceLock of this one) or the runtime folder is unusable.
    // An empty name names no lock and always succeeds. A held lock of another name is released
    // first; asking again for the held name succeeds.
    bool TryAcquire(const std::string& name);
    bool Held() const;  // a lock file is held (never for the empty name)

    // The lock file of name: a readable part made safe for a file name plus a hash of the exact
    // bytes, so names differing in any byte (case included) never share a file.
    static QString LockPath(const std::string& name);

private:
    std::unique_ptr<QLockFile> lock_;
    std::string name_;
};
