#pragma once
// The main window on the sample book for the window tests: a page frame that records what it is
// asked, the window with the commands that reach the trees and pages recorded, and a fixture.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "html/PageFrameApi.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"

// A page frame that only records what it is asked.
class FakePageFrame : public IPageFrame {
public:
    std::vector<std::string> calls;
    void OpenInCurrentView(const std::string& f) override { calls.push_back("open " + f); }
    void OpenInElement(const std::string& f, int n) override { calls.push_back("open " + f + " in " + std::to_string(n)); }
    std::string current;
    std::string CurrentFile() const override { return current; }
    bool shown = true;
    bool CurrentViewShown() const override { return shown; }
    void ShowForScreen(int s) override { calls.push_back("screen " + std::to_string(s)); }
    void GoBack() override {}
    void GoForward() override {}
    void CopyPage() override {}
    void PrintPage() override {}
    void ScrollToTop() override {}
    void NextChapter() override { calls.push_back("next chapter"); }
    void PrevChapter() override { calls.push_back("prev chapter"); }
    void SelectAll() override {}
    void SetPicturePrint(bool) override {}
    void SetPicturePrintSize(int, int) override {}
    bool printed = false;
    std::vector<std::string> printedFiles;
    bool PrintFile(const std::string& f) override {
        printedFiles.push_back(f);
        return printed;
    }
};

// The book's page commands, with those that reach the trees and the page top recorded ("tree N"
// also shows the tree).
class PageRecorder : public TBookPages {
public:
    using TBookPages::TBookPages;
    std::vector<std::string> commands;
    void SetTreesOn(bool on) override { commands.push_back(on ? "ontree" : "offtree"); }
    void ShowTree(int f) override {
        commands.push_back("tree " + std::to_string(f));
        TBookPages::ShowTree(f);
    }
    void TopHtml() override { commands.push_back("tophtml"); }
};

// The main window with the commands that reach the trees and pages recorded.
class Window : public TMainForm {
public:
    Window(const std::string& folder, TInstanceLock& lock) : TMainForm(folder, TCommandLine{}, lock), pages(*this) {
        SetPageCommands(pages);
    }
    PageRecorder pages;
    std::vector<std::string>& commands = pages.commands;
    std::string pathInput;  // the path input's folder, in Windows form
    std::string PathInputFolder() override { return pathInput; }
};


template <typename T>
QPoint InsideOf(const T& e) { return QPoint(e.left + 1, e.top + 1); }

inline const RBtn& ButtonWithCommand(const TMainForm& w, const std::string& command) {
    for (const auto& b : w.Elements().ScreenButtons[size_t(w.CurrentScreen())])
        if (b.command == command) return b;
    throw std::runtime_error("no button " + command);
}

class SampleBook : public ::testing::Test {
protected:
    void SetUp() override { window_ = std::make_unique<Window>(SAMPLE_RUN, lock_); }
    void TearDown() override {
        window_.reset();
        ClosePack();
        StartState() = TStartState{};
    }
    TInstanceLock lock_;
    std::unique_ptr<Window> window_;
};

