#pragma once
// TRegistryStore: the typed values of one registry key, kept in a QSettings file. Each value is a
// tagged string ("dword:5", "sz:text", "binary:00ff"), so types survive; booleans are dwords 0/1.
// Value names keep the spelling of their first write and are found case-insensitively, as registry
// value names are. Names and strings are CP1251 here and UTF-8 in the file. A read of a missing
// value or of a value of another type fails and leaves the output untouched, so the caller applies
// its default. Every write is saved at once; a failed write returns false.
// The file is read when the store is created; create a store for each access, as a key is opened.
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QSettings;

class TRegistryStore {
public:
    // file: the host path of the settings file; keyPath: the key below the file's root, its parts
    // separated by "\" (empty for the root). Missing folders are made on the first write.
    TRegistryStore(const QString& file, const std::string& keyPath);
    ~TRegistryStore();
    TRegistryStore(const TRegistryStore&) = delete;
    TRegistryStore& operator=(const TRegistryStore&) = delete;

    bool ReadBool(const std::string& name, bool& value) const;  // a dword; nonzero is true
    bool ReadInteger(const std::string& name, int32_t& value) const;
    bool ReadString(const std::string& name, std::string& value) const;
    bool ReadBinary(const std::string& name, std::vector<uint8_t>& value) const;

    bool WriteBool(const std::string& name, bool value);
    bool WriteInteger(const std::string& name, int32_t value);
    bool WriteString(const std::string& name, const std::string& value);
    bool WriteBinary(const std::string& name, const std::vector<uint8_t>& value);

    bool DeleteValue(const std::string& name);  // false when there was no such value
    bool ValueExists(const std::string& name) const;

    QString FileName() const;

private:
    QString StoredKey(const std::string& name) const;  // empty when missing
    bool ReadTagged(const std::string& name, const char* tag, QString& payload) const;
    bool Write(const std::string& name, const QString& tagged);

    std::unique_ptr<QSettings> settings_;
};
