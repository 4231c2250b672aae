#include "platform/RegistryStore.h"

#include "platform/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <charconv>

namespace {

// QSettings treats "/" and "\" in keys as group separators, so a value or key name that holds them
// (drivers.desc names values by file paths) is kept with those characters percent-escaped. The
// unnamed (default) value is "@", as registry exports write it.
QString EncodeName(const std::string& name) {
    if (name.empty()) return QStringLiteral("@");
    QString out;
    for (QChar c : ToQt(name)) {
        if (c == u'%' || c == u'/' || c == u'\\' || c == u'@')
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString FindNoCase(const QStringList& names, const QString& wanted) {
    for (const QString& n : names)
        if (n.compare(wanted, Qt::CaseInsensitive) == 0) return n;
    return {};
}

// An unquoted value holding commas reads back from an INI file as a list; a hand-edited file may
// have one.
QString ValueText(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(u',');
    return v.toString();
}

bool ParseDword(const QString& text, int32_t& value) {
    const std::string s = text.trimmed().toStdString();
    const char* end = s.data() + s.size();
    uint32_t u = 0;
    if (auto r = std::from_chars(s.data(), end, u); r.ec == std::errc() && r.ptr == end && !s.empty()) {
        value = static_cast<int32_t>(u);
        return true;
    }
    int32_t i = 0;
    if (auto r = std::from_chars(s.data(), end, i); r.ec == std::errc() && r.ptr == end && !s.empty()) {
        value = i;
        return true;
    }
    return false;
}

} // namespace

TRegistryStore::TRegistryStore(const QString& file, const std::string& keyPath)
    : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {
    settings_->sync();
    // Open the key part by part, taking the spelling of an existing group that matches.
    size_t start = 0;
    while (start <= keyPath.size()) {
        size_t end = keyPath.find('\\', start);
        if (end == std::string::npos) end = keyPath.size();
        if (end > start) {
            const QString part = EncodeName(keyPath.substr(start, end - start));
            const QString existing = FindNoCase(settings_->childGroups(), part);
            settings_->beginGroup(existing.isEmpty() ? part : existing);
        }
        start = end + 1;
    }
}

TRegistryStore::~TRegistryStore() = default;

QString TRegistryStore::FileName() const {
    return settings_->fileName();
}

QString TRegistryStore::StoredKey(const std::string& name) const {
    return FindNoCase(settings_->childKeys(), EncodeName(name));
}

bool TRegistryStore::ValueExists(const std::string& name) const {
    return !StoredKey(name).isEmpty();
}

bool TRegistryStore::ReadTagged(const std::string& name, const char* tag, QString& payload) const {
    const QString key = StoredKey(name);
    if (key.isEmpty()) return false;
    const QString text = ValueText(settings_->value(key));
    const QString prefix = QString::fromLatin1(tag) + u':';
    if (!text.startsWith(prefix)) return false;
    payload = text.mid(prefix.size());
    return true;
}

bool TRegistryStore::ReadBool(const std::string& name, bool& value) const {
    int32_t n = 0;
    if (!ReadInteger(name, n)) return false;
    value = n != 0;
    return true;
}

bool TRegistryStore::ReadInteger(const std::string& name, int32_t& value) const {
    QString payload;
    return ReadTagged(name, "dword", payload) && ParseDword(payload, value);
}

bool TRegistryStore::ReadString(const std::string& name, std::string& value) const {
    QString payload;
    if (!ReadTagged(name, "sz", payload)) return false;
    value = FromQt(payload);
    return true;
}

bool TRegistryStore::ReadBinary(const std::string& name, std::vector<uint8_t>& value) const {
    QString payload;
    if (!ReadTagged(name, "binary", payload)) return false;
    const QByteArray hex = payload.trimmed().toLatin1();
    if (hex.size() % 2) return false;
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        bool ok = false;
        const uint v = hex.mid(i, 2).toUInt(&ok, 16);
        if (!ok) return false;
        bytes.push_back(static_cast<uint8_t>(v));
    }
    value = std::move(bytes);
    return true;
}

bool TRegistryStore::Write(const std::string& name, const QString& tagged) {
    QString key = StoredKey(name);
    if (key.isEmpty()) key = EncodeName(name);
    QDir().mkpath(QFileInfo(settings_->fileName()).absolutePath());
    settings_->setValue(key, tagged);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

bool TRegistryStore::WriteBool(const std::string& name, bool value) {
    return WriteInteger(name, value ? 1 : 0);
}

bool TRegistryStore::WriteInteger(const std::string& name, int32_t value) {
    return Write(name, QStringLiteral("dword:%1").arg(static_cast<uint32_t>(value)));
}

bool TRegistryStore::WriteString(const std::string& name, const std::string& value) {
    return Write(name, QStringLiteral("sz:") + ToQt(value));
}

bool TRegistryStore::WriteBinary(const std::string& name, const std::vector<uint8_t>& value) {
    const QByteArray bytes(reinterpret_cast<const char*>(value.data()),
                           static_cast<qsizetype>(value.size()));
    return Write(name, QStringLiteral("binary:") + QString::fromLatin1(bytes.toHex()));
}

bool TRegistryStore::DeleteValue(const std::string& name) {
    const QString key = StoredKey(name);
    if (key.isEmpty()) return false;
    settings_->remove(key);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
