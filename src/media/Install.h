#pragma once
// The codec and driver installers of old discs: the Indeo 5 video codec and the MPEG Layer-3
// audio codec at start, when the description's "codec" key asks for them, and the MPEG driver of
// the media players when a clip cannot be opened. Each copies its files from the program
// folder's "Resource" folder into the system folder of drive c: and writes the registry entries a
// Windows NT system keeps for them into the machine store (HKEY_CLASSES_ROOT as its
// "SOFTWARE\Classes" key), so a Wine prefix made from them finds them. The player here decodes
// these formats itself and needs none of it. Failures are silent; an entry is written only for a
// file that is there.
#include <string>

void InstallIndeo();
void InstallLayer3Codec();
void InstallMpegDriver();

// The short (8.3) form of a Windows path: components that fit 8.3 stay, longer ones become their
// first six characters and "~1", upper-cased.
std::string ShortPathName(const std::string& path);
