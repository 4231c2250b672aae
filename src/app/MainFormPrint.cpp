// The main window's part in printing: the printer messages on the skinned message dialog, which
// the reader closes before the window takes input again.
#include <QMessageBox>

#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "base/GlobalPaths.h"
#include "platform/QtText.h"
#include "skin/SkinDialog.h"

bool TMainForm::ShowPrinterMessagePage(int page) {
    TCoolDialog* dialog = controls_ ? controls_->Dialog() : nullptr;
    // The page stays out of reach until the reader closes the message: no print starts again.
    return dialog && dialog->ShowModal(page, {}).has_value();
}

void TMainForm::ShowPrintMessage(const std::string& text) {
    TCoolDialog* dialog = controls_ ? controls_->Dialog() : nullptr;
    if (dialog && dialog->ShowModal(0, text)) return;
    QMessageBox::warning(this, ToQt(AppTitle()), ToQt(text));
}
