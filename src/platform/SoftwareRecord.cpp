#include "platform/SoftwareRecord.h"

#include "platform/QtText.h"
#include "platform/WineRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString FindNoCase(const QStringList& names, const QString& wanted) {
    for (const QString& n : names)
        if (n.compare(wanted, Qt::CaseInsensitive) == 0) return n;
    return {};
}

std::string ToCp1251(QString text) {
    if (text.startsWith(QStringLiteral("sz:"))) text.remove(0, 3);  // a file written by the store
    return FromQt(text);
}

bool ReadSystemFile(const QString& name, std::string& instdir, std::string& exename) {
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        if (dir == userDir) continue;
        const QString path = dir + QStringLiteral("/No Name/software.conf");
        if (!QFileInfo(path).isFile()) continue;
        QSettings file(path, QSettings::IniFormat);
        const QString group = FindNoCase(file.childGroups(), name);
        if (group.isEmpty()) continue;
        file.beginGroup(group);
        const QStringList keys = file.childKeys();
        auto read = [&](const char* key) {
            const QString stored = FindNoCase(keys, QString::fromLatin1(key));
            if (stored.isEmpty()) return std::string();
            const QVariant v = file.value(stored);
            return ToCp1251(v.typeId() == QMetaType::QStringList ? v.toStringList().join(u',')
                                                                 : v.toString());
        };
        instdir = read("instdir");
        exename = read("exename");
        return true;
    }
    return false;
}

bool ReadWine(const QString& prefix, const QString& name, std::string& instdir,
              std::string& exename) {
    const QString regFile = prefix + QStringLiteral("/system.reg");
    QHash<QString, QString> values;
    for (const char* root : {"Software\\Korvel\\", "Software\\Wow6432Node\\Korvel\\"}) {
        if (ReadWineRegistryKey(regFile, QString::fromLatin1(root) + name, values)) {
            instdir = ToCp1251(values.value(QStringLiteral("instdir")));
            exename = ToCp1251(values.value(QStringLiteral("exename")));
            return true;
        }
    }
    return false;
}

} // namespace

QString WinePrefixFolder() {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) prefix = QDir::homePath() + QStringLiteral("/.wine");
    return QFileInfo(prefix).isDir() ? prefix : QString();
}

bool ReadSoftwareRecord(const std::string& name, std::string& instdir, std::string& exename,
                        QString* winePrefix) {
    instdir.clear();
    exename.clear();
    if (winePrefix) winePrefix->clear();
    const QString key = ToQt(name);
    if (ReadSystemFile(key, instdir, exename)) return true;
    const QString prefix = WinePrefixFolder();
    if (prefix.isEmpty() || !ReadWine(prefix, key, instdir, exename)) return false;
    if (winePrefix) *winePrefix = prefix;
    return true;
}
