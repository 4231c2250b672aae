#include "media/LibraryLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QAudioDevice>
#include <QMediaDevices>
#include <QString>

#include <cstdarg>

#include "platform/Diagnostics.h"

namespace {

void libraryLine(void* object, int level, const char* format, va_list args) {
    if (level > av_log_get_level() || !lcLibraries().isDebugEnabled()) return;
    char line[1024];
    int prefix = 1;
    av_log_format_line2(object, level, format, args, line, sizeof line, &prefix);
    const QString text = QString::fromUtf8(line).trimmed();
    if (!text.isEmpty()) qCDebug(lcLibraries).noquote() << "[ffmpeg]" << text;
}

} // namespace

void RouteMediaLibraryLog() {
    QMediaDevices::audioOutputs();  // the back-end is made here, with its own set-up of the library
    av_log_set_callback(libraryLine);
}
