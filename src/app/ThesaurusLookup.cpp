#include "app/ThesaurusLookup.h"

#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "packs/PackFile.h"
#include "packs/StringUtils.h"
#include "platform/BookWindows.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceData.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "search/TesaurusFind.h"

void LookUpThesaurus(const std::string& word, THandle sender, const std::function<void(const std::string&)>& warn) {
    TMakeTesaurusFind find(warn);
    find.SetThesaurusFolder(ProgramDir());
    std::string page;
    if (!find.FindTerm(TrimControls(word), page)) return;
    ShowInSecondWindow(BookWindows::kThesaurus, ProgramDir() + page, sender, "/t");
}

void ShowInSecondWindow(const char* caption, const std::string& path, THandle sender, const char* flag) {
    TInstanceChannel& channel = TInstanceChannel::Instance();
    THandle window = 0;
    if (channel.FindVisibleWindow(caption, window)) {
        channel.PostActivate(window);
        RInstanceData record;
        record.kind = RInstanceData::kShowPage;
        record.count = 1;
        record.strings[0] = path;
        channel.SendCopyData(window, sender, record);
        return;
    }
    if (!PackFileExists(path.substr(0, path.find('#')))) return;
    const QString disc = QString::fromStdString(HostPathsService().ToHost(ProgramDir()).value_or(""));
    const QString drive = CdRoot().empty() ? QString("d") : QString(QChar(CdRoot()[0]));
    StartNewInstance({"--disc", disc, "--drive", drive, ToQt(path), flag});
}

std::string HelpTopicPage(std::string helpFile, const std::string& topic) {
    if (helpFile.find(':') == std::string::npos) helpFile = ProgramDir() + helpFile;
    const std::string page = WinPath::Folder(helpFile) + topic + ".htm";
    return PackFileExists(page) ? page : helpFile + "#" + topic;
}
