#pragma once
// TBookMessages: how the main window answers the book's other processes. A record asking for a
// page shows it (on the start screen the reading screen opens on it) and is answered; a picture
// to print is printed once the window's own message comes back; a question about the file shown
// is answered no, since only the standard window shows a file. The printed file is deleted only
// when it lies in the temporary folder. Window thread only.
#include <QObject>

#include <string>

class TChannelWindow;
class TMainForm;
struct RInstanceData;

class TBookMessages : public QObject {
public:
    TBookMessages(TMainForm& window, TChannelWindow& channel);

private:
    void OnCopyData(quint64 sender, const RInstanceData& record);
    void ShowPage(quint64 sender, const std::string& page);
    void OnMessage(quint32 message);

    TMainForm& window_;
    TChannelWindow& channel_;
    std::string pendingPrintFile_;
};
