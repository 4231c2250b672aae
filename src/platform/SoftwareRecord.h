#pragma once
// The record of installed shipped software, HKEY_LOCAL_MACHINE "SOFTWARE\Korvel\" + name, with the
// string values "instdir" and "exename". It is looked up, read-only, in the system-wide file
// "No Name/software.conf" of the configuration folders ($XDG_CONFIG_DIRS, else /etc/xdg), one
// group per name holding instdir= and exename= (QSettings INI syntax: a backslash is written
// twice), and then, when a Wine prefix exists ($WINEPREFIX, else ~/.wine), in its system.reg, so
// software installed with Wine is recognised. There the 32-bit view "Wow6432Node" counts too.
#include <QString>

#include <string>

// name, instdir and exename are CP1251. A missing value reads as empty. False when the key is in
// neither place. When winePrefix is given it receives the prefix folder if the record came from
// Wine (its paths are then Windows paths of that prefix), and is cleared otherwise.
bool ReadSoftwareRecord(const std::string& name, std::string& instdir, std::string& exename,
                        QString* winePrefix = nullptr);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine; empty when that folder does not exist.
QString WinePrefixFolder();
