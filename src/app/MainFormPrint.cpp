// The main window's part in printing: the printer messages on the skinned message dialog.
#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "skin/SkinDialog.h"

bool TMainForm::ShowPrinterMessagePage(int page) {
    TCoolDialog* dialog = controls_ ? controls_->Dialog() : nullptr;
    return dialog && dialog->ShowDialog(page, {});
}
