// The pages the full-text find scans: a few hundred generated repair notes, a "man" folder the
// index scan leaves out, a page hiding words in a script and a hidden block, and the keyword
// index over them ("keywords.idx", "index.idx", "files.idx": CP1251 lines ending in CR), and
// the thesaurus index over the pages of tezaurus\.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <map>
#include <set>

#include "Art.h"

namespace {

constexpr int kPages = 300;

QByteArray cp1251(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) out += char(u);
        else if (u >= 0x0410 && u <= 0x044F) out += char(0xC0 + (u - 0x0410));
        else if (u == 0x0401) out += char(0xA8);
        else if (u == 0x0451) out += char(0xB8);
        else if (u == 0x00AB) out += char(0xAB);
        else if (u == 0x00BB) out += char(0xBB);
        else out += '?';
    }
    return out;
}

bool write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const QByteArray bytes = cp1251(text);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QStringList kParts = {"двигатель", "тормоз", "колодка", "подвеска", "свеча", "фильтр",
                            "аккумулятор", "генератор", "стартер", "радиатор", "ремень", "ёмкость"};

// A page one folder below html\ (up = "../") or in it (up = "").
QString page(const QString& title, const QString& body, const QString& up = "../") {
    return "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n"
           "<title>" + title + "</title>\n<link rel=\"stylesheet\" href=\"" + up + "book.css\">\n</head>\n<body>\n<h2>" +
           title + "</h2>\n" + body + "<p><a href=\"" + up + "index.htm\">Назад к оглавлению</a></p>\n</body>\n</html>\n";
}

// Page n speaks of two parts, picked so that every part turns up on many pages.
QStringList partsOf(int n) { return {kParts[n % kParts.size()], kParts[(n * 7 + 3) % kParts.size()]}; }

}  // namespace

bool drawSearchPages(const QString& pages) {
    const QString run = pages + "/run/";
    bool ok = true;
    QStringList files = {"html\\index.htm#:#Оглавление", "html\\engine.htm#:#Двигатель"};
    std::map<QString, std::set<int>> hits{{"двигатель", {2}}, {"масло", {2}}};
    for (int n = 1; n <= kPages; ++n) {
        const QStringList parts = partsOf(n);
        const QString title = QString("Заметка %1: %2").arg(n, 3, 10, QChar('0')).arg(parts[0]);
        const QString body = QString("<p>Проверьте %1 и %2 перед дальней поездкой. Заметка номер %3.</p>\n")
                                 .arg(parts[0], parts[1]).arg(n);
        const QString name = QString("p%1.htm").arg(n, 3, 10, QChar('0'));
        ok &= write(run + "html/gen/" + name, page(title, body));
        files << "html\\gen\\" + name + "#:#" + title;
        for (const QString& part : parts) hits[part].insert(int(files.size()));
    }
    // The manual's own pages ("man"): the index scan never looks at them.
    ok &= write(run + "html/man/about.htm", page("Об устройстве руководства", "<p>Здесь нет слова кардан.</p>\n"));
    ok &= write(run + "html/hidden.htm",
                page("Скрытый текст", "<p>Видимый абзац про карбюратор.</p>\n<div hidden>кардан</div>\n"
                                      "<script>var word = 'кардан';</script>\n", ""));
    QStringList keywords, index;
    for (const auto& [word, lines] : hits) {
        keywords << word;
        QStringList numbers;
        for (int line : lines) numbers << QString::number(line);
        index << numbers.join(":");
    }
    ok &= write(run + "keywords.idx", keywords.join("\r") + "\r");
    ok &= write(run + "index.idx", index.join("\r") + "\r");
    ok &= write(run + "files.idx", files.join("\r") + "\r");
    // A term, "~", its page; the first line's page is the thesaurus start page. A term is a stem
    // that every form of the word holds.
    ok &= write(run + "tezaurus.idx", "Тезаурус ~ tezaurus\\index.htm\r\n"
                                      "тормоз~tezaurus\\tormoz.htm\r\n"
                                      "колодк~tezaurus\\kolodka.htm\r\n"
                                      "свеч~tezaurus\\svecha.htm\r\n"
                                      "двигател~tezaurus\\dvigatel.htm\r\n");
    return ok;
}
