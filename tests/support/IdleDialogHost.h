#pragma once
// A program for a message dialog under test that has nothing around it: no pictures, sounds,
// labels or find; sounds and hints are on and the busy state is the program's flag, as in the
// program. Tests override what they watch.
#include "platform/BusyCursor.h"
#include "skin/SkinDialogHost.h"

class TIdleDialogHost : public ICoolDialogHost {
public:
    QImage LoadPicture(const std::string&) override { return {}; }
    QRect MainWindowGeometry() override { return {}; }
    bool SoundsOn() override { return true; }
    bool HintsOn() override { return true; }
    void PlaySound(const std::string&) override {}
    void EscapePressed(QKeyEvent*) override {}
    void PaintOverlay(QPainter&) override {}
    bool Busy() override { return BusyFlag; }
    void StopFind() override {}
    void SetFindMode(TFindMode) override {}
    void FindNext(int) override {}
    void FindClosed() override {}
    std::vector<std::string> FindResults() override { return {}; }
    void OpenFindResult(int) override {}
    std::vector<QWidget*> FindBoxes() override { return {}; }
    void RefreshScaleBar() override {}
    void DialogClosed(int) override {}
};
