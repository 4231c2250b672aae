#include "app/ThesaurusLookup.h"

#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "packs/StringUtils.h"
#include "platform/Drives.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceData.h"
#include "platform/Launch.h"
#include "platform/QtText.h"
#include "search/TesaurusFind.h"

namespace {

const char* const kThesaurusCaption = "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1";  // Тезаурус

}  // namespace

void LookUpThesaurus(const std::string& word, THandle sender, const std::function<void(const std::string&)>& warn) {
    TMakeTesaurusFind find(warn);
    find.SetThesaurusFolder(ProgramDir());
    std::string page;
    if (!find.FindTerm(TrimControls(word), page)) return;
    const std::string path = ProgramDir() + page;
    TInstanceChannel& channel = TInstanceChannel::Instance();
    THandle window = 0;
    if (channel.FindVisibleWindow(kThesaurusCaption, window)) {
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
    StartNewInstance({"--disc", disc, "--drive", drive, ToQt(path), "/t"});
}
