#include "platform/QtText.h"

#include "base/Cp1251.h"

QString ToQt(std::string_view cp1251) {
    QString text(qsizetype(cp1251.size()), Qt::Uninitialized);
    for (size_t i = 0; i < cp1251.size(); ++i)
        text[qsizetype(i)] = QChar(char16_t(Cp1251::toCodePoint(static_cast<unsigned char>(cp1251[i]))));
    return text;
}

std::string FromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Cp1251::fromUtf8(std::string_view(utf8.constData(), size_t(utf8.size())));
}
