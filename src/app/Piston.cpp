#include "app/Piston.h"

#include <QBuffer>
#include <QLabel>
#include <QMovie>

#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "packs/ComprStream.h"

QLabel* MakePiston(QWidget* window) {
    try {
        TComprStream gif(ProgramDir() + "piston.gif");
        auto* buffer = new QBuffer(window);
        buffer->setData(reinterpret_cast<const char*>(gif.Data()), static_cast<qsizetype>(gif.Size()));
        auto* movie = new QMovie(buffer, QByteArray(), window);
        if (!movie->isValid()) return nullptr;
        auto* piston = new QLabel(window);
        piston->setMovie(movie);
        piston->move(583, 470);
        piston->adjustSize();
        movie->start();
        return piston;
    } catch (const EFOpenError&) {
        return nullptr;  // no piston on this disc
    }
}
