#include "app/DiscImageOption.h"

#include <QCoreApplication>
#include <QProcess>
#include <filesystem>
#include <iostream>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/BookFiles.h"
#include "packs/IsoImage.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/ImageDrive.h"

namespace fs = std::filesystem;

namespace {

std::string hostForm(const std::string& imagePath) {
    std::string out = Cp1251::toUtf8(imagePath);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

}  // namespace

TCommandLine WithImageAsDisc(TCommandLine line) {
    std::error_code ec;
    if (!line.discDir.empty() || line.bookArgs.size() != 1) return line;
    const std::string host = Cp1251::toUtf8(line.bookArgs.front());
    if (!IsDiscImageName(host) || !fs::is_regular_file(host, ec)) return line;
    line.discDir = host;
    line.bookArgs.clear();
    return line;
}

std::optional<std::string> DiscFolderOf(const std::string& discOption) {
    std::error_code ec;
    if (discOption.empty() || !fs::is_regular_file(discOption, ec)) return discOption;
    const std::string imagePath = fs::absolute(discOption, ec).lexically_normal().string();
    std::unique_ptr<TIsoImage> image;
    try {
        image = TIsoImage::Open(imagePath);
    } catch (const EFOpenError& e) {
        std::cerr << "bookshell: " << e.what() << "\n";
        return std::nullopt;
    }
    const auto program = FindProgramFolder(*image);
    if (!program) {
        std::cerr << "bookshell: the disc image \"" << imagePath << "\" holds no book (no Zaz.dhl in it)\n";
        return std::nullopt;
    }
    // The drive stands for the parent of a "run" folder, else for the program folder itself,
    // as it does for a disc folder.
    const size_t cut = program->rfind('\\');
    const std::string name = cut == std::string::npos ? *program : program->substr(cut + 1);
    const std::string base = !Cp1251::equalsNoCase(name, "run") ? *program
                             : cut == std::string::npos         ? ""
                                                                : program->substr(0, cut);
    const std::string cache = ImageCacheFolder(imagePath);
    const std::string hostRoot = base.empty() ? cache : cache + "/" + hostForm(base);
    const std::string programHost = program->empty() ? cache : cache + "/" + hostForm(*program);
    fs::create_directories(programHost, ec);
    if (ec) {
        std::cerr << "bookshell: cannot make the cache folder \"" << programHost << "\": " << ec.message() << "\n";
        return std::nullopt;
    }
    static std::unique_ptr<TImageDrive> drive;  // the disc for the rest of the run
    if (drive) HostPathsService().AttachImage(drive->HostRoot(), nullptr);
    drive = std::make_unique<TImageDrive>(std::move(image), base, hostRoot, HostPathsService());
    HostPathsService().AttachImage(hostRoot, drive.get());
    BookFiles().SetImage(drive.get());
    return programHost;
}

bool OpenDroppedImage(const std::string& hostPath) {
    std::error_code ec;
    if (!IsDiscImageName(hostPath) || !fs::is_regular_file(hostPath, ec)) return false;
    // A book of its own: another title opens beside this one, this title's second start ends.
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {"--disc", QString::fromStdString(hostPath)});
    return true;
}
