// The main window's part in printing: the printer messages, which the skin's controls show.
#include <QMessageBox>

#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "base/GlobalPaths.h"
#include "platform/QtText.h"

bool TMainForm::ShowPrinterMessagePage(int page) { return controls_ && controls_->ShowPrinterMessagePage(page); }

void TMainForm::ShowPrintMessage(const std::string& text) {
    if (controls_) return controls_->ShowPrintMessage(text);
    QMessageBox::warning(this, ToQt(AppTitle()), ToQt(text));
}
