#include "app/ButtonSounds.h"

#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "platform/Drives.h"

namespace {
QUrl hostUrl(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    return host ? QUrl::fromLocalFile(QString::fromStdString(*host)) : QUrl();
}
} // namespace

void PlayButtonSound(QObject* owner, const std::string& file) {
    const QUrl url = hostUrl(file);
    if (url.isEmpty()) return;
    auto* effect = new QSoundEffect(owner);
    effect->setSource(url);
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) effect->deleteLater();
    });
    effect->play();
}

void PlaySoundToEnd(const std::string& file) {
    const QUrl url = hostUrl(file);
    if (url.isEmpty()) return;
    QSoundEffect effect;
    effect.setSource(url);
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying()) loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) loop.quit();
    });
    effect.play();
    loop.exec();
}
