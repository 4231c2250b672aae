#pragma once
// The shipped software of the disc: "rungame" starts an installed program (its record's
// "exename" in its "instdir") or else its setup, "delgame" runs the uninstaller of an installed
// one and removes what it leaves; and the fonts beside the pages ("installfonts"). Records of
// software installed with Wine name paths of the Wine prefix, which are found through its drives.
// Window thread only.
#include <QString>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

// "game.exe -window" → {"game.exe", " -window"}: everything after ".exe" (any case) is the
// parameters, as stored; a command without ".exe" is all program.
std::pair<std::string, std::string> SplitProgram(const std::string& command);

// The host path of a Windows path of a software record: through the Wine prefix's drives for a
// record of Wine (drive_c, dosdevices), else through the book's drives. Empty when unmapped.
std::string SoftwareHostPath(const std::string& winPath, const QString& winePrefix);

// Starts the installed program of key, or setup when it is not installed; false when nothing
// could be started.
bool RunGame(const std::string& setup, const std::string& key);

// Runs the uninstaller of key and waits for it (the window keeps answering meanwhile); when it
// removed the record, deletes what is left in the software's folder. False, with nothing done,
// when no uninstall log is found ("Игра не установлена.").
bool RemoveGame(const std::string& key);

// Whether a folder may be emptied after an uninstaller: a real folder (no link on the way), not a
// drive or file-system root, not the home folder or a folder above it, not the disc, and not
// above the folder the software was installed in.
bool SafeToClean(const std::filesystem::path& folder, const std::filesystem::path& installed);
// Deletes everything below folder and folder itself; links are removed, never followed.
void CleanFolder(const std::filesystem::path& folder);

// Copies the "*.ttf" files of a folder of the book (pack or disc) into the user's font folder and
// makes them known; stops at a full disk, leaving no partial file. The number installed.
int InstallFonts(const std::string& folder);
