#pragma once
// TMachineStore: a machine-wide key (HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\..."), such as the
// codec and driver entries the program writes. A Linux user cannot write machine-wide settings,
// so the keys live per user in "No Name/machine.conf" in the configuration folder, one group per
// key path; key parts match case-insensitively. See TRegistryStore for the value rules.
#include "platform/RegistryStore.h"

#include <string>

class TMachineStore : public TRegistryStore {
public:
    explicit TMachineStore(const std::string& keyPath);  // e.g. "SOFTWARE\Microsoft\Multimedia"

    static QString FilePath();
};
