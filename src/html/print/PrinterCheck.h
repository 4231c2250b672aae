#pragma once
// The printer the book prints on: the system's default printer. Its paper and resolution, or
// why there is none to use, and the messages for both cases. Window thread only.
#include <QPageLayout>
#include <functional>

class QWidget;

enum class EPrinterState { kNone, kUnusable, kReady };

struct RPrinterCheck {
    EPrinterState state = EPrinterState::kNone;
    QPageLayout layout;  // the default printer's paper, portrait when it is not ready
    int dotsPerInch = 300;
};

// No printer installed, or the default one missing or stopped with an error.
RPrinterCheck CheckPrinter();

// Where the printer messages go: the skinned dialog's page (2 no printer, 3 the default printer
// unusable) when showPage shows it, else a warning box over parent.
void ShowPrinterMessage(EPrinterState state, const std::function<bool(int)>& showPage, QWidget* parent);
// "Принтер не доступен!" in a warning box.
void ShowPrinterUnavailable(QWidget* parent);
