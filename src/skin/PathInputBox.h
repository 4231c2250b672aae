#pragma once
// TPathInputBox: the "_path" elements, borderless edit fields on the main window that hold the
// folder copies and installations go to. Each remembers its text between runs as the string value
// "PathInstall" + its declaration index; an empty or unreadable value gives the element's
// "pathdef". Texts are Windows paths inside the program; the user sees and types the host form,
// which the mapping given turns back into a Windows path (one on no drive stays as typed). The
// texts are written when the box is destroyed. Window thread only.
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

#include "rules/Elements.h"

class QWidget;

struct RPathHost {
    QWidget* window = nullptr;  // the edits' parent
    std::string appTitle;       // the settings key (CP1251)
    std::function<std::string(const std::string& winPath)> toHost;     // empty: shown as stored
    std::function<std::string(const std::string& hostPath)> toWindows;  // empty: kept as typed
    std::function<void()> pointerOver;  // the pointer moves over an edit
};

class TPathInputBox {
public:
    TPathInputBox(const std::vector<RPathInput>& inputs, RPathHost host);
    ~TPathInputBox();
    TPathInputBox(const TPathInputBox&) = delete;
    TPathInputBox& operator=(const TPathInputBox&) = delete;

    // Shows the edits of screen, hides those of the screen shown before.
    void ShowPaths(int screen);
    // Hides (true) or shows again (false) the edits of the current screen.
    void HidePaths(bool hidden);
    // The Windows folder of the first edit of the current screen with a trailing "\"; empty when
    // the screen has none or its edit is empty.
    std::string CurrentPath() const;

    int Count() const { return int(edits_.size()); }
    QLineEdit* Edit(int i) const { return edits_[size_t(i)].edit; }
    // The Windows form of edit i's text.
    std::string WindowsText(int i) const;
    // Writes every text as "PathInstall" + index (edits already freed are skipped).
    void Save() const;

private:
    struct Input {
        QPointer<QLineEdit> edit;  // the window may free it first
        int screen = 0;
    };
    QLineEdit* MakeEdit(const RPathInput& input, const std::string& text) const;

    RPathHost host_;
    std::vector<Input> edits_;
    int current_ = -1;
    int lastShown_ = -1;
};
