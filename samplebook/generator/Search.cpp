// The pages the full-text find scans: a few hundred generated repair notes, a "man" folder the
// index scan leaves out, a page hiding words in a script and a hidden block, a page of notes
// whose style sheets (its own, and two it links) hide, show and box parts of it, and the keyword
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

// The notes page: hints hidden by a class, an id and a descendant selector, and shown again by
// !important, specificity and order; invisible text with a visible part; words split by boxes,
// blocks, hidden spans and check boxes; a sheet for print only. Neither it nor its title is in
// "files.idx".
const char* const kNotesStyle =
    ".spoiler { display: none; }\n.note { display: none; }\np.tip:hover { display: none; }\n"
    "ul.menu li { display: inline; }\n.key { display: inline-block; border: 1px solid #808080; }\n"
    ".tag { display: block; }\n.ghost { visibility: hidden; }\n.ghost .shown { visibility: visible; }\n"
    ".cut { display: none; }\n.side { float: right; }\n.late { display: none; }\n.late { display: block; }\n";
const char* const kNotesSheet =
    "/* Примечания к заметкам механика */\n#wiring { display: none; }\n.table b { display: none; }\n"
    "div.row { display: flex; }\nul.menu > li.off { display: none; }\n#order { display: none; }\n"
    ".keep { display: block !important; }\np.note { display: block; }\n.open { display: block; }\n"
    "@media print { p.tip { display: none; } }\na:hover { color: #cc0000; }\n";
const char* const kNotesBody =
    "<p>Заметки механика снабжены примечаниями. Часть из них видна сразу, часть скрыта до нажатия кнопки.</p>\n"
    "<p class=\"spoiler\">Ответ: заменить прокладку крышки головки.</p>\n"
    "<p class=\"Spoiler\">Ответ: заменить сальник коленвала.</p>\n"
    "<div id=\"wiring\">Схема проводки фар приведена в приложении.</div>\n"
    "<div class=\"table\"><p>Предохранитель <b>стартера</b> стоит в блоке.</p></div>\n"
    "<p class=\"ghost\">Невидимая подсказка: <span class=\"shown\">видимое уточнение</span> к рисунку.</p>\n"
    "<p>Выжмите педаль <span class=\"key\">сцепления</span> до упора.</p>\n"
    "<p>Проверьте масляный <span class=\"tag\">щуп</span> и долейте.</p>\n"
    "<p>Термо<span class=\"cut\">(см. рисунок)</span>стат открывается при 87 градусах.</p>\n"
    "<p>Венти<span class=\"ghost\">(электрический)</span>лятор включается датчиком.</p>\n"
    "<p>Проверено<input type=\"checkbox\">мастером, <input type=\"checkbox\"> проверено владельцем.</p>\n"
    "<ul class=\"menu\"><li>Свет</li> <li>фар</li> <li class=\"off\">ближний</li></ul>\n"
    "<p class=\"tip\">Совет мастера: подтяните клемму.</p>\n"
    "<p id=\"order\" class=\"keep\">Порядок затяжки болтов крышки.</p>\n"
    "<p class=\"note\">Примечание к рисунку 5.</p>\n"
    "<p>Смотрите <span class=\"side\">рисунок 6</span> ниже.</p>\n"
    "<div class=\"row\"><span>Левая</span> <span>фара</span></div>\n"
    "<div hidden class=\"open\">Раскрытый блок с ответом.</div>\n"
    "<p class=\"late\">Поздний абзац.</p>\n"
    "<p id=\"tools\">Набор инструментов: ключи на 10 и 13.</p>\n";

bool writeNotesPage(const QString& html) {
    const QString page =
        "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n"
        "<title>\n  Примечания   к\n  заметкам\n</title>\n<link rel=\"stylesheet\" href=\"book.css\">\n"
        "<link rel=\"stylesheet\" href=\"styles/notes.css\">\n"
        "<link rel=\"stylesheet\" href=\"styles/print.css\" media=\"print\">\n"
        "<link rel=\"alternate stylesheet\" href=\"styles/print.css\" title=\"Для печати\">\n<style>\n" +
        QString::fromUtf8(kNotesStyle) + "</style>\n</head>\n<body>\n<h2>Примечания к заметкам</h2>\n" +
        QString::fromUtf8(kNotesBody) + "<p><a href=\"index.htm\">Назад к оглавлению</a></p>\n</body>\n</html>\n";
    return write(html + "notes.htm", page) && write(html + "styles/notes.css", QString::fromUtf8(kNotesSheet)) &&
           write(html + "styles/print.css", "#tools { display: none; }\nbody { color: black; }\n");
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
    ok &= writeNotesPage(run + "html/");
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
