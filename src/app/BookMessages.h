#pragma once
// TBookMessages: how the main window answers the book's other processes. A record asking for a
// page shows it (on the start screen the reading screen opens on it) and is answered; a picture
// to print is printed once the window's own message comes back; a question about the file shown
// is answered no, since only the standard window shows a file. The printed file is deleted only
// when it lies in the temporary folder. Window thread only.
#include <QObject>

#include <string>

class IPageFrame;
class QWidget;
class TChannelWindow;
struct RInstanceData;

// What the messages need of the window: the page frame they show pages in, which face it has
// (thesaurus or help window, the file of the standard window), the screen, and its commands.
class IBookMessagesHost {
public:
    virtual ~IBookMessagesHost() = default;
    virtual QWidget& MessagesWindow() = 0;
    virtual IPageFrame* PageFrame() const = 0;  // null without page views
    virtual bool InThesaurusWindow() const = 0;
    virtual bool HelpOnly() const = 0;
    virtual const std::string& ShownFile() const = 0;
    virtual int CurrentScreen() const = 0;
    virtual void RunCommand(const std::string& command) = 0;
    virtual void SyncTrees() = 0;
};

class TBookMessages : public QObject {
public:
    TBookMessages(IBookMessagesHost& window, TChannelWindow& channel);

private:
    void OnCopyData(quint64 sender, const RInstanceData& record);
    void ShowPage(quint64 sender, const std::string& page);
    void OnMessage(quint32 message);

    IBookMessagesHost& window_;
    TChannelWindow& channel_;
    std::string pendingPrintFile_;
};
