// Process entry: the application object, the program's own options, the main window.
#include <QInputDialog>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DiscImageOption.h"
#include "app/MainForm.h"
#include "app/ProgramConsent.h"
#include "app/ProgramFolder.h"
#include "app/SkinControls.h"
#include "app/WindowScale.h"
#include "base/GlobalPaths.h"
#include "effects/EffCar.h"
#include "html/engine/PageScheme.h"
#include "media/LibraryLog.h"
#include "media/QtMediaDevice.h"
#include "platform/Diagnostics.h"
#include "platform/InstanceLock.h"
#include "platform/ReaderAct.h"

namespace {

// After the opening animation: the --command texts in order, then the --screenshot picture
// once every effect has settled.
void runScripted(TMainForm& form, const TCommandLine& line) {
    for (const auto& command : line.commands) {
        const TReaderAct typed;  // the reader's own command line
        form.RunCommand(command);
    }
    if (line.screenshot.empty()) return;
    auto* poll = new QTimer(&form);
    auto settled = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, &form, [&form, poll, settled, file = line.screenshot] {
        // Pages draw a moment after they have loaded: wait for a few quiet ticks.
        const bool quiet = !form.EffectRunning() && !form.AnimationRunning() && form.PagesSettled();
        *settled = quiet ? *settled + 1 : 0;
        if (*settled < 15) return;
        poll->stop();
        // Where the screen can be grabbed the picture shows the book's popups and dialog too.
        QScreen* screen = form.screen();
        const QPixmap shot = screen && TEffCar::CanGrabScreen() ? screen->grabWindow(0) : form.grab();
        const bool saved = shot.save(QString::fromStdString(file), "PNG");
        if (!saved) std::cerr << "bookshell: cannot write the screenshot " << file << "\n";
        QApplication::exit(saved ? 0 : 1);
    });
    poll->start(20);
}

// Several mounted discs hold a book: the user picks one, or none (the sample book opens then).
std::string ChooseMountedBook(const std::vector<std::string>& books) {
    QStringList items;
    for (const std::string& book : books) items << QString::fromStdString(book);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(nullptr, QStringLiteral("Bookshell"),
                                                 QString::fromUtf8("Книги на дисках:"), items, 0, false, &ok);
    return ok ? chosen.toStdString() : std::string();
}

} // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Help and version answer without a display; the rest is read once Qt has taken its own options.
    const TCommandLine early = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.error.empty() && early.help) {
        std::cout << kUsage << "Mounted discs are looked for in " << DescribeMountRoots() << ", one level deep.\n";
        return 0;
    }
    if (early.error.empty() && early.version) {
        std::cout << "bookshell " BOOKSHELL_VERSION "\n";
        return 0;
    }
    InstallDiagnostics(early.verbose);  // before the libraries start talking
    PreparePageEngine(early.verbose);  // the page scheme must be known before the application object exists
    TQtMediaDevice::SelectBackend();
    TApplication app(argc, argv);

    const TCommandLine line = WithImageAsDisc(ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc)));  // "Open with" an image
    if (!line.error.empty()) {
        std::cerr << "bookshell: " << line.error << " (see bookshell --help)\n";
        return 2;
    }
    RouteMediaLibraryLog();
    const auto disc = DiscFolderOf(line.discDir);  // an image opens as the disc drive; a folder passes
    if (!disc) return 1;
    const std::string folder = ChooseProgramFolder(*disc, QCoreApplication::applicationDirPath().toStdString(),
                                                   DefaultMountRoots(), ChooseMountedBook);
    if (folder.empty()) {
        std::cerr << "bookshell: no book to open: name its folder with --disc DIR\n";
        return 1;
    }
    RestartAtChosenScale(folder, line, argv);

    TInstanceLock lock;
    std::unique_ptr<TMainForm> form;
    try {
        form = std::make_unique<TMainForm>(folder, line, lock);
    } catch (const std::exception& e) {
        std::cerr << "bookshell: the book's window could not be built: " << e.what() << "\n";
        return 1;
    }
    if (form->Terminating()) {
        if (!form->ExitMessage().empty()) std::cerr << "bookshell: " << form->ExitMessage() << "\n";
        return form->ExitCode();
    }
    TProgramConsent consent(AppTitle(), line.trust, [&form](const std::string& question) {
        return AskReader(form->Controls() ? form->Controls()->Dialog() : nullptr, form.get(), question);
    });
    SetLaunchGate(&consent);
    if (form->Outcome() == TStartOutcome::Shell) {
        TMainForm* window = form.get();
        form->StartBook([window, &line] { runScripted(*window, line); });
    } else {
        if (!form->isVisible()) form->show();
        runScripted(*form, line);
    }
    const int code = app.exec();
    SetLaunchGate(nullptr);
    form.reset();  // shutdown runs while the application object still exists
    return code;
}
