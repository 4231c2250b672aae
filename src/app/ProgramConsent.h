#pragma once
// TProgramConsent: the reader's leave for the book to start programs, installed as the launch
// gate. A program runs only while a reader's act is under way (TReaderAct) and, the first time
// for each program of the book, when the reader allows it: the question names the program's file
// on this computer. The answer is kept in the book's settings, key "Programs", under the
// program's path on the book's drives with the digest of its bytes, so a changed file is asked
// about again. Files and addresses handed to the desktop need the reader's act alone. Trusting
// (--trust) skips the question, never the reader's act. Window thread only.
#include <functional>
#include <optional>
#include <string>

#include "platform/Launch.h"

class QWidget;
class TCoolDialog;

class TProgramConsent : public ILaunchGate {
public:
    // The question to the reader (CP1251): true allows, false refuses, nothing when it could not
    // be asked (the program then does not start, and nothing is kept).
    using TAsk = std::function<std::optional<bool>(const std::string& question)>;

    TProgramConsent(std::string appTitle, bool trustAll, TAsk ask);

    bool MayRun(const QString& program) override;
    bool MayOpen(const QString& fileOrUrl) override;

    // "Разрешить запуск программы <file>?"
    static std::string Question(const QString& program);

private:
    std::string appTitle_;
    bool trustAll_;
    TAsk ask_;
};

// Asks the reader on the book's message dialog where it has a question page and is free, else in
// a plain box over parent.
std::optional<bool> AskReader(TCoolDialog* dialog, QWidget* parent, const std::string& question);
