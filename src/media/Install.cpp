#include "media/Install.h"

#include <vector>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileCopy.h"
#include "platform/MachineStore.h"

namespace {

const char* const kNtDrivers = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
const char* const kXing = "SOFTWARE\\Classes\\Software\\Xing\\XingMPEG Player\\";

// The system folder without its last "\", as the system names it.
std::string SystemFolder() {
    std::string folder = StartState().systemDir;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool Present(const std::string& winPath) { return HostPathsService().Find(winPath).has_value(); }

// Copies a file of the disc's Resource folder into the system folder; true when it is there after.
bool CopyResource(const std::string& from, const std::string& to, bool onlyWhenMissing) {
    const std::string target = SystemFolder() + "\\" + to;
    if (!(onlyWhenMissing && Present(target))) CopyBookFile(ProgramDir() + "Resource\\" + from, target);
    return Present(target);
}

void WriteString(const std::string& key, const std::string& name, const std::string& value) {
    TMachineStore(key).WriteString(name, value);
}

}  // namespace

std::string ShortPathName(const std::string& path) {
    std::string out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        const size_t dot = part.rfind('.');
        const std::string stem = dot == std::string::npos ? part : part.substr(0, dot);
        const std::string ext = dot == std::string::npos ? "" : part.substr(dot + 1);
        if (stem.size() > 8 || ext.size() > 3 || part.find(' ') != std::string::npos)
            part = Upper(stem.substr(0, 6)) + "~1" + (ext.empty() ? "" : "." + Upper(ext.substr(0, 3)));
        out += part;
        if (end < path.size()) out += '\\';
        start = end + 1;
    }
    return out;
}

// The registration program of the codec is not run: it would register a Windows library with a
// system that has none.
void InstallIndeo() { CopyResource("Ir50_32.dll", "Ir50_32.dll", true); }

void InstallLayer3Codec() {
    if (!CopyResource("L3codecp.acm", "L3codecp.acm", true)) return;
    WriteString("SOFTWARE\\Classes\\CLSID\\{7D8EA000-731E-11d0-AC50-00AA00BF35C4}\\InProcServer32", "",
                SystemFolder() + "\\l3codecp.acm");
    WriteString(std::string(kNtDrivers) + "drivers.desc", "l3codecp.acm", "Fraunhofer IIS MPEG Layer-3 Codec");
    WriteString(std::string(kNtDrivers) + "Drivers32", "msacm.l3codec", "l3codecp.acm");
}

void InstallMpegDriver() {
    const bool driver = CopyResource("Xmdrivnt.dll", "Xmdriver.dll", false);
    const std::pair<const char*, const char*> parts[] = {
        {"Xmres.dll", "XMPResource"}, {"Xmsound.dll", "XMPSound32"}, {"Xmvideo.dll", "XMPVideo"}};
    if (driver) WriteString(std::string(kXing) + "XMPDriver", "", SystemFolder() + "\\xmdriver.dll");
    for (const auto& [file, key] : parts)
        if (CopyResource(file, file, false))
            WriteString(std::string(kXing) + key, "", SystemFolder() + "\\" + Cp1251::asciiLower(file));
    TMachineStore("SOFTWARE\\Microsoft\\Multimedia\\ActiveMovie").WriteBinary("CheckExtensions", std::vector<uint8_t>(4, 0));
    if (!driver) return;
    TMachineStore extensions(std::string(kNtDrivers) + "MCI Extensions");
    for (const char* extension : {"dat", "mpv", "mpg", "mpa", "mp3", "mp2", "vbs", "mpeg", "m1v", "mpe"})
        extensions.WriteString(extension, "MpegVideo");
    const std::string shortDriver = ShortPathName(SystemFolder() + "\\xmdriver.dll");
    WriteString(std::string(kNtDrivers) + "drivers.desc", shortDriver, "(MCI) XingMPEG Driver");
    TMachineStore mci(std::string(kNtDrivers) + "MCI32");
    mci.WriteString("ReelMagic", shortDriver);
    mci.WriteString("MpegVideo", shortDriver);
}
