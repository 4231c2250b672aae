#pragma once
// The page frame with one page view on a plain window, with a host that records the printer
// messages and help topics it is asked for, and links that do nothing.
#include <QMessageBox>
#include <QWidget>
#include <memory>
#include <vector>

#include "PrintTestBook.h"
#include "html/HtmlFrame.h"
#include "support/IdleFrameHost.h"

class TRecordingHost : public TIdleFrameHost {
public:
    bool skinnedDialog = true;
    std::vector<int> messagePages;
    std::vector<std::string> topics;
    bool ShowPrinterMessagePage(int page) override {
        messagePages.push_back(page);
        return skinnedDialog;
    }
    void ShowHelpTopic(const std::string& topic) override { topics.push_back(topic); }
    std::vector<std::string> messages;
    void ShowPrintMessage(const std::string& text) override { messages.push_back(text); }
};

class TIdleLinks : public ILinkServices {
public:
    void ExecuteCommandWithoutSound(const std::string&) override {}
    std::string PathInputFolder() override { return {}; }
    bool HasArchiveBrowser() override { return false; }
    void ArchiveOpenEntry(const std::string&) override {}
    void ArchiveOpen(const std::string&, const std::string&) override {}
    bool HasSoundPlayer() override { return false; }
    void PlayLinkSound(const std::string&) override {}
    bool SoftwareRecord(const std::string&, std::string&, std::string&) override { return false; }
    bool FileExists(const std::string&) override { return false; }
    bool CopyFile(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> ChooseZipTarget(const std::string&, const std::string&, const std::string&) override { return {}; }
    void ShellOpen(const std::string&) override {}
    void StartProgram(const std::string&) override {}
    void SetCurrentFolder(const std::string&) override {}
    bool QueryPictureWindows(const std::string&) override { return false; }
    void StartPictureInstance(const std::string&) override {}
};

// The next warning box's text goes to told, and the box closes.
inline void CloseNextWarning(QString& told) {
    OnNextModal<QMessageBox>([&told](QMessageBox* box) {
        told = box->text();
        box->close();
    });
}

class PrintFrame : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpPrintBook();
        RHTML element;
        element.right = 600;
        element.bottom = 400;
        element.document = kShortPage;
        element.number = 1;
        host_.window.resize(600, 400);
        host_.window.show();
        frame_ = std::make_unique<THtmlFrame>(host_, links_, std::vector<RHTML>{element});
    }
    TRecordingHost host_;
    TIdleLinks links_;
    std::unique_ptr<THtmlFrame> frame_;
};
