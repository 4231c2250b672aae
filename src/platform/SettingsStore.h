#pragma once
// TSettingsStore: the program's settings key, HKEY_CURRENT_USER "SOFTWARE\No Name\" + title, kept
// in "No Name/<title>.conf" in the user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
// Open one for each access; see TRegistryStore for the value rules.
#include "platform/RegistryStore.h"

#include <string>

class TSettingsStore : public TRegistryStore {
public:
    explicit TSettingsStore(const std::string& appTitle);  // the title in CP1251

    // The host path of the settings file of a title.
    static QString FilePath(const std::string& appTitle);
};
