#pragma once
// TMainForm: the program's skinned window. Its creation runs the start-up; the element pass and
// the skin are built on top of what start-up read.
#include <QWidget>
#include <memory>

#include "app/Startup.h"

class TChannelWindow;
class TInstanceLock;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    TMainForm(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock);
    ~TMainForm() override;

    // After construction: whether the program goes on, and the exit code when it does not.
    bool Terminating() const { return start_.outcome == TStartOutcome::Terminate; }
    int ExitCode() const { return start_.exitCode; }
    const std::string& ExitMessage() const { return start_.message; }
    TStartOutcome Outcome() const { return start_.outcome; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock);

    TStartResult start_;
    TChannelWindow* channel_ = nullptr;  // how the book's other processes see this window
};
