#pragma once
// Disc folders for start-up tests, written with the pack and bundle writers.
#include <map>
#include <string>

struct TestDisc {
    std::string root;        // the disc's root folder
    std::string programDir;  // root + "/run" (or the spelling asked for)
};

// A disc with a "run" folder (spelled runName) holding interface.dat and Zaz.dhl; Struct.cfs
// holds structText (CP1251). Extra bundle entries and pack files may be given; file names on
// disk can be spelled in any case through packName and bundleName.
TestDisc MakeTestDisc(const std::string& structText, const std::string& runName = "run",
                      const std::map<std::string, std::string>& packFiles = {},
                      const std::string& packName = "interface.dat", const std::string& bundleName = "Zaz.dhl",
                      const std::map<std::string, std::string>& bundleFiles = {});

// A bitmap file of one colour, as a skin picture in the bundle.
std::string SolidBitmap(int width, int height, unsigned rgb);

// A title unique to this test process, so parallel runs never share an instance lock.
std::string UniqueTitle(const std::string& stem);
