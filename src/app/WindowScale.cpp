#include "app/WindowScale.h"

#include <unistd.h>

#include <QByteArray>

#include "app/Startup.h"
#include "platform/SettingsStore.h"

namespace {

constexpr char kApplied[] = "BOOKSHELL_WINDOW_SCALE";  // the scale this process was started at

} // namespace

void RestartAtChosenScale(const std::string& programFolderHost, const TCommandLine& line, char** argv) {
    const std::string title = ReadBookTitle(programFolderHost, line);
    int32_t percent = 0;
    if (title.empty() || !TSettingsStore(title).ReadInteger("WindowScale", percent)) return;
    if (percent != 100 && percent != 150 && percent != 200) return;
    const QByteArray chosen = QByteArray::number(percent);
    if (qgetenv(kApplied) == chosen) return;
    // The chosen scale stands alone: the screen's own scale is not multiplied in.
    qputenv(kApplied, chosen);
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(percent / 100.0));
    ::execv("/proc/self/exe", argv);
}
