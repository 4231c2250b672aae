#pragma once
// The listing of an archive as pages: its directories (each file's folder and each folder's
// parent completed where the archive does not name them), a page for each directory listing its
// subdirectories (".." first, except on the root) and files with size and date, the page with
// the column header bar, and the two-frame page that holds them. Pages are CP1251 text in the
// book's fixed templates; names are escaped for HTML and link targets percent-encoded where
// they hold characters that would break them, so any name shows as it is. A name extraction
// refuses (absolute, with a drive, climbing with "..") makes no folder: such a file is listed on
// the root page under its last part, marked as not extracted and linking nowhere, and such a
// directory gets no page. Qt-free.
#include <cstdint>
#include <string>
#include <vector>

struct RListFile {
    std::string name;  // the path inside the archive, "\" between folders
    uint64_t size = 0;
    uint32_t time = 0;  // DOS date-time, 0 for none
};

struct RListDir {
    std::string name;  // the directory's path ("" the root); in a page's list ".." or its last part
    std::string page;  // the file name of its page
    uint32_t time = 0;
};

struct RInfoFiles {
    std::string name;
    std::string page;
    std::vector<RListDir> dirs;
    std::vector<RListFile> files;
};

// Drops the directories whose names extraction refuses, then adds the folder of every file (the
// root for a refused one) and the parent of every folder that are not listed yet (names compared
// without regard to case), with the time of the entry that needs them.
void CompleteDirectories(std::vector<RListDir>& dirs, const std::vector<RListFile>& files);

// One page per directory whose name is not refused, in the order of dirs: "as_" + n + stamp + ".htm".
std::vector<RInfoFiles> BuildListingPages(const std::vector<RListDir>& dirs, const std::vector<RListFile>& files,
                                          uint32_t stamp);

// "999 байт", "1 Кбайт", "1 235 Кбайт" (thousands are rounded, halves to even, and grouped by a
// no-break space).
std::string SizeText(uint64_t size);
// "dd mmm yy hh:nn" with the short Russian month names; empty for 0.
std::string DateText(uint32_t dosTime);
// A DOS date-time (local time) of a moment given in seconds since 1970.
uint32_t DosTime(int64_t unixSeconds);

// The archive path as a folder name: the last of "\", ":", "." becomes "_", then every other "\"
// and ":"; a name longer than the file system allows keeps its start and ends with a hash.
std::string MangledName(const std::string& archivePath);

// The pages' texts (lines ending CR LF).
std::string FramesetPageText(const std::string& archivePath, const std::string& rootPage);
std::string BarPageText();
std::string DirectoryPageText(const std::string& archivePath, const RInfoFiles& info);
