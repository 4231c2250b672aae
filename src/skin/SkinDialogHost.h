#pragma once
// What the message dialog needs of the program: pictures, the main window, sounds and hints,
// the keys and paint it passes on, and the find its page 1 drives. Window thread only.
#include <QImage>
#include <QRect>

#include <string>
#include <vector>

class QKeyEvent;
class QPainter;
class QWidget;

enum class TFindMode { AllFiles, Limited, Contents };

class ICoolDialogHost {
public:
    virtual ~ICoolDialogHost() = default;
    virtual QImage LoadPicture(const std::string& name) = 0;
    virtual QRect MainWindowGeometry() = 0;
    virtual bool SoundsOn() = 0;  // button sounds
    virtual bool HintsOn() = 0;
    virtual void PlaySound(const std::string& name) = 0;  // a sound beside the program
    virtual void EscapePressed(QKeyEvent* event) = 0;    // Esc goes to the main window
    virtual void PaintOverlay(QPainter& painter) = 0;    // the dialog's text labels
    virtual bool Busy() = 0;                             // a search runs, or the program is busy
    virtual void StopFind() = 0;
    virtual void SetFindMode(TFindMode mode) = 0;
    virtual void FindNext(int box) = 0;
    virtual void FindClosed() = 0;  // the dialog closed: the find stops, the status clears
    virtual std::vector<std::string> FindResults() = 0;
    virtual void OpenFindResult(int index) = 0;
    virtual std::vector<QWidget*> FindBoxes() = 0;
    virtual void RefreshScaleBar() = 0;
    virtual void DialogClosed(int resultCode) = 0;
};
