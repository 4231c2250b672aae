#include "html/engine/PageUrl.h"

#include <QByteArray>
#include <cctype>
#include <vector>

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "platform/QtText.h"
#include "platform/hostpaths/Drives.h"

namespace {

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::vector<std::string> FoldComponents(const std::string& rest) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t cut = rest.find('\\', start);
        if (cut == std::string::npos) cut = rest.size();
        const std::string part = rest.substr(start, cut - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = cut + 1;
    }
    return parts;
}

} // namespace

std::string FullPagePath(const std::string& winPath) {
    std::string path = winPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    std::string drive;
    std::string rest;
    if (HasDrive(path)) {
        drive = path.substr(0, 2);
        rest = path.substr(2);
    } else {
        const std::string& current = HostPathsService().CurrentDirectory();
        if (!HasDrive(current)) return {};
        drive = current.substr(0, 2);
        rest = (!path.empty() && path[0] == '\\') ? path : current.substr(2) + "\\" + path;
    }
    drive[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(drive[0])));
    std::string full = drive;
    const auto parts = FoldComponents(rest);
    if (parts.empty()) return full + "\\";
    for (const auto& part : parts) full += "\\" + part;
    return full;
}

QUrl PageUrl(const std::string& winPath) {
    const auto [file, anchor] = WinPath::SplitAnchor(winPath);
    const std::string full = FullPagePath(file);
    if (full.empty()) return {};
    std::string path = full.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    QUrl url;
    url.setScheme(kPageScheme);
    url.setHost(QString(QChar(full[0])));
    url.setPath(ToQt(path), QUrl::DecodedMode);
    if (!anchor.empty()) url.setFragment(ToQt(anchor), QUrl::DecodedMode);
    return url;
}

std::string PagePath(const QUrl& url) {
    if (url.scheme().compare(kPageScheme, Qt::CaseInsensitive) != 0) return {};
    const QString host = url.host();
    if (host.size() != 1 || !host[0].isLetter() || host[0].unicode() > 0x7F) return {};
    // Percent escapes are UTF-8 as the browser writes them; bytes that are not UTF-8 came from a
    // link typed in the disc's own code page and are taken as they are.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    bool utf8 = true;
    std::string path = Cp1251::fromUtf8(bytes.toStdString(), &utf8);
    if (!utf8) path = bytes.toStdString();
    return FullPagePath(host.toLower().toStdString() + ":" + (path.empty() ? "\\" : path));
}
