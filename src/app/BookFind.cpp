#include "app/BookFind.h"

#include "app/FindTxtHtml.h"
#include "app/SkinControls.h"
#include "app/ThesaurusLookup.h"

TFindTxtHtml* TBookFind::Find() const { return controls_ ? controls_->Find() : nullptr; }

void TBookFind::StopSearchAndCloseDialog() {
    if (controls_) controls_->StopSearchAndCloseDialog();
}

// In the thesaurus window "findnext" searches at once; the dispatcher decides which.
void TBookFind::FindNext(int number) {
    if (TFindTxtHtml* find = Find()) find->FindNext(number);
}

void TBookFind::OpenFindDialog() {
    if (controls_) controls_->OpenFindDialog();
}

void TBookFind::FindText(bool allPages) {
    if (TFindTxtHtml* find = Find()) find->SetAllPages(allPages);
}

void TBookFind::SetCaseSensitive(bool on) {
    if (TFindTxtHtml* find = Find()) find->SetCaseSensitive(on);
}

void TBookFind::Thesaurus(const std::string& word) {
    LookUpThesaurus(word, windowHandle_(), [this](const std::string& text) {
        if (controls_) controls_->ShowWarning(text);
    });
}
