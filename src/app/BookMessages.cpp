#include "app/BookMessages.h"

#include <QFile>
#include <QWidget>

#include <algorithm>

#include "html/PageFrameApi.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "platform/BookWindows.h"
#include "platform/ChannelWindow.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceChannel.h"
#include "html/engine/PageScheme.h"

using namespace BookWindows;

TBookMessages::TBookMessages(IBookMessagesHost& window, TChannelWindow& channel)
    : QObject(&window.MessagesWindow()), window_(window), channel_(channel) {
    connect(&channel, &TChannelWindow::CopyDataReceived, this, &TBookMessages::OnCopyData);
    connect(&channel, &TChannelWindow::MessageReceived, this, [this](quint32 message, quint64, quint64) { OnMessage(message); });
}

void TBookMessages::OnCopyData(quint64 sender, const RInstanceData& record) {
    IPageFrame* frame = window_.PageFrame();
    if (!frame) return;
    if (record.kind == RInstanceData::kShowPage) {
        ShowPage(sender, record.strings[0]);
    } else if (record.kind == RInstanceData::kPrintPicture) {
        frame->SetPicturePrint(true);
        int width = -1, height = -1;
        for (int i = 0; i < record.count && i < 3; ++i) {
            if (record.codes[i] == 0) pendingPrintFile_ = record.strings[i];
            else if (record.codes[i] == 1) width = std::atoi(record.strings[i].c_str());
            else if (record.codes[i] == 2) height = std::atoi(record.strings[i].c_str());
        }
        frame->SetPicturePrintSize(width, height);
        TInstanceChannel::Instance().PostMessage(channel_.Handle(), kMsgPrintPending, 0, 0);
    } else if (record.kind == RInstanceData::kQueryShownFile) {
        frame->SetPicturePrint(true);
        const bool yes = record.codes[0] == 0 && window_.ShownFile() == record.strings[0];
        TInstanceChannel::Instance().PostMessage(sender, kMsgAnswer, yes ? 1 : 0, 0);
    }
}

void TBookMessages::ShowPage(quint64 sender, const std::string& page) {
    IPageFrame* frame = window_.PageFrame();
    if (window_.InThesaurusWindow() || window_.HelpOnly()) return frame->OpenInCurrentView(page);
    if (window_.CurrentScreen() == 0) window_.RunCommand("screen2=" + ProgramDir() + page);
    else if (!Cp1251::equalsNoCase(WinPath::FileName(frame->CurrentFile()), WinPath::FileName(page)))
        frame->OpenInCurrentView(ProgramDir() + page);
    window_.SyncTrees();
    TInstanceChannel::Instance().PostMessage(sender, kMsgPageShown, channel_.Handle(), 0);
}

namespace {

// A picture handed over for printing is a temporary file of its sender's; anything else named
// in a record is never deleted, so no other process can make the book delete a file.
bool InTemporaryFolder(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    const std::string& temp = StartState().tempDir;
    return !temp.empty() && path.find("..") == std::string::npos && path.size() > temp.size() &&
           Cp1251::equalsNoCase(path.substr(0, temp.size()), temp);
}

} // namespace

void TBookMessages::OnMessage(quint32 message) {
    IPageFrame* frame = window_.PageFrame();
    if (message != kMsgPrintPending || !frame || pendingPrintFile_.empty()) return;
    const std::string file = std::exchange(pendingPrintFile_, {});
    AdmitForeign(file);  // the picture another process hands over is shown for its print alone
    if (!frame->PrintFile(file) || !InTemporaryFolder(file)) return;
    if (const auto host = HostPathsService().Find(file)) QFile::remove(QString::fromStdString(*host));
}
