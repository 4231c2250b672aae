#include "archive/listing/ArchiveListing.h"

#include <cstdio>
#include <ctime>
#include <functional>

#include "base/ContainedPath.h"
#include "base/Cp1251.h"

namespace {

// The templates of the pages, line by line.
const char* const kFrameset =
    "<html> <head> <title>archivename</title> </head> <frameset rows=\"50,*\" frameborder=0> <frame src=\"as_bar.htm\" "
    "name=\"Top\"> <frame src=\"filename\" name=\"Bot\"> </frameset> </head> </html>";
const char* const kPageHead =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"> "
    "<title>archivename</title> </head> <body bgcolor=\"#FFFFFF\" text=\"#000000\"> <table border=\"0\" "
    "cellpadding=3 width=\"100%\" cols=\"3\">";
const char* const kColumnsUtf8 =
    "<table border cellpadding=3 width=\"100%\" cols=\"3\" bordercolor=\"#37ffcd\"> <tr> <th align=\"left\" "
    "width=\"50%\" nowrap>Имя</th> <th align=\"right\" width=\"25%\" nowrap>Размер</th> <th align=\"left\" "
    "width=\"25%\" nowrap>Дата</th> </tr>";
const char* const kRowStart = "<tr> <td width=\"50%\"><a href=\"";
const char* const kRowName = "</a></td>";
const char* const kRowEnd = "</td> </tr>";
const char* const kPageEnd = "</table> </body> </html>";
const char* const kEol = "\r\n";
constexpr size_t kMaxFolderName = 200;  // bytes; the file system allows 255

std::string Cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

std::string Lower(const std::string& text) { return Cp1251::lower(text); }

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LastPart(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// A name extraction refuses (absolute, with a drive, climbing with ".."); the root's "" is not one.
bool Refused(const std::string& name) { return !name.empty() && !Contained::Components(name); }

// A refused file's name as shown: its last part after "\" or "/" (all of it when that is empty)
// and the mark that it is not extracted.
std::string RefusedName(const std::string& name) {
    std::string last = name.substr(name.find_last_of("\\/") + 1);
    if (last.empty()) last = name;
    return last + Cp(" (не распаковывается)");
}

// The folder whose page lists a file: a refused one is listed on the root page.
std::string FolderOf(const RListFile& file) { return Refused(file.name) ? std::string() : ParentOf(file.name); }

std::vector<RListDir> WithoutRefused(const std::vector<RListDir>& dirs) {
    std::vector<RListDir> kept;
    for (const RListDir& dir : dirs)
        if (!Refused(dir.name)) kept.push_back(dir);
    return kept;
}

// Text as HTML shows it: the markup characters as entities.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

// A link target: the characters that would end or change it percent-encoded.
std::string Target(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        if (c == '%' || c == '#' || c == '?' || c == '"' || c == '<' || c == '>' || c == '&' ||
            static_cast<unsigned char>(c) < 0x20) {
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

bool Listed(const std::vector<RListDir>& dirs, const std::string& name) {
    const std::string lower = Lower(name);
    for (const RListDir& d : dirs)
        if (Lower(d.name) == lower) return true;
    return false;
}

std::string Cells(const std::string& size, const std::string& date) {
    return "<td align=\"right\" width=\"25%\">" + size + "</td> <td width=\"25%\">" + date + kRowEnd;
}

std::string Row(const std::string& target, const std::string& name, const std::string& size, const std::string& date) {
    return kRowStart + Target(target) + "\">" + Escaped(name) + kRowName + Cells(size, date);
}

// A row whose name links nowhere: plain text in the name cell.
std::string PlainRow(const std::string& name, const std::string& size, const std::string& date) {
    return "<tr> <td width=\"50%\">" + Escaped(name) + "</td>" + Cells(size, date);
}

std::string Head(const std::string& archivePath) {
    std::string head = kPageHead;
    head.replace(head.find("archivename"), 11, Escaped(Cp("Содержимое архива: ") + archivePath));
    return head;
}

}  // namespace

void CompleteDirectories(std::vector<RListDir>& dirs, const std::vector<RListFile>& files) {
    dirs = WithoutRefused(dirs);
    for (const RListFile& file : files) {
        const std::string folder = FolderOf(file);
        if (!Listed(dirs, folder)) dirs.push_back({folder, "", file.time});
    }
    for (size_t i = 0; i < dirs.size(); ++i) {  // the list grows while it is walked
        if (dirs[i].name.empty()) continue;
        const std::string parent = ParentOf(dirs[i].name);
        if (!Listed(dirs, parent)) dirs.push_back({parent, "", dirs[i].time});
    }
}

std::vector<RInfoFiles> BuildListingPages(const std::vector<RListDir>& listed, const std::vector<RListFile>& files,
                                          uint32_t stamp) {
    const std::vector<RListDir> dirs = WithoutRefused(listed);
    std::vector<RInfoFiles> pages;
    for (size_t n = 0; n < dirs.size(); ++n) {
        RInfoFiles info{dirs[n].name, "as_" + std::to_string(n) + std::to_string(stamp) + ".htm", {}, {}};
        for (const RListFile& file : files)
            if (Lower(FolderOf(file)) == Lower(info.name)) info.files.push_back(file);
        pages.push_back(std::move(info));
    }
    for (RInfoFiles& info : pages) {
        if (!info.name.empty()) {
            const std::string parent = Lower(ParentOf(info.name));
            for (const RInfoFiles& other : pages)
                if (Lower(other.name) == parent) info.dirs.push_back({"..", other.page, 0});
        }
        for (size_t l = 0; l < dirs.size(); ++l)
            if (!dirs[l].name.empty() && Lower(dirs[l].name) != Lower(info.name) &&
                Lower(ParentOf(dirs[l].name)) == Lower(info.name))
                info.dirs.push_back({LastPart(dirs[l].name), pages[l].page, dirs[l].time});
    }
    return pages;
}

std::string SizeText(uint64_t size) {
    if (size <= 999) return std::to_string(size) + Cp(" байт");
    uint64_t thousands = size / 1000;
    const uint64_t rest = size % 1000;
    if (rest > 500 || (rest == 500 && thousands % 2 == 1)) ++thousands;
    std::string digits = std::to_string(thousands);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), "\xA0");
    return digits + Cp(" Кбайт");
}

std::string DateText(uint32_t dos) {
    if (dos == 0) return {};
    static const char* const kMonths[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                          "июл", "авг", "сен", "окт", "ноя", "дек"};
    const unsigned month = (dos >> 21) & 15;
    char text[32];
    std::snprintf(text, sizeof text, "%02u %s %02u %02u:%02u", (dos >> 16) & 31,
                  month >= 1 && month <= 12 ? Cp(kMonths[month - 1]).c_str() : "???", (1980 + (dos >> 25)) % 100,
                  (dos >> 11) & 31, (dos >> 5) & 63);
    return text;
}

uint32_t DosTime(int64_t unixSeconds) {
    const std::time_t seconds = std::time_t(unixSeconds);
    std::tm local{};
    if (!localtime_r(&seconds, &local) || local.tm_year < 80) return 0;
    return uint32_t(local.tm_year - 80) << 25 | uint32_t(local.tm_mon + 1) << 21 | uint32_t(local.tm_mday) << 16 |
           uint32_t(local.tm_hour) << 11 | uint32_t(local.tm_min) << 5 | uint32_t(local.tm_sec / 2);
}

std::string MangledName(const std::string& archivePath) {
    std::string name = archivePath;
    const size_t last = name.find_last_of("\\:.");
    if (last != std::string::npos) name[last] = '_';
    for (char& c : name)
        if (c == '\\' || c == ':') c = '_';
    if (name.size() <= kMaxFolderName) return name;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>()(name));
    return name.substr(0, kMaxFolderName - 17) + "_" + hash;
}

std::string FramesetPageText(const std::string& archivePath, const std::string& rootPage) {
    std::string page = kFrameset;
    page.replace(page.find("archivename"), 11, Escaped(Cp("Содержимое архива: ") + archivePath));
    page.replace(page.find("filename"), 8, Target(rootPage));
    return page + kEol;
}

std::string BarPageText() { return std::string(kPageHead) + kEol + Cp(kColumnsUtf8) + kEol + kPageEnd + kEol; }

std::string DirectoryPageText(const std::string& archivePath, const RInfoFiles& info) {
    std::string page = Head(archivePath) + kEol;
    for (const RListDir& dir : info.dirs) page += Row(dir.page, dir.name, "", dir.time > 0 ? DateText(dir.time) : "") + kEol;
    for (const RListFile& file : info.files)
        page += (Refused(file.name) ? PlainRow(RefusedName(file.name), SizeText(file.size), DateText(file.time))
                                    : Row(file.name, LastPart(file.name), SizeText(file.size), DateText(file.time))) +
                kEol;
    return page + kPageEnd + kEol;
}
