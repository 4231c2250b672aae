// The page-text matcher against the page engine's own find: for every page of the sample book
// (frameset pages aside, which have no text of their own) and a list of words, both answer alike,
// with case and without. The engine is asked as the page view asks it (window.find from the top
// of the page), all words of a page in one script. The texts come from the find's own page scan,
// which reads the style sheets the pages link through the book's files; the titles it keeps are
// the engine's document titles.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include <string>
#include <vector>

#include "app/PageScan.h"
#include "base/Cp1251.h"
#include "base/MemoryStream.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/BookFiles.h"
#include "packs/PackFile.h"
#include "platform/hostpaths/Drives.h"
#include "platform/QtText.h"
#include "search/PageText.h"

namespace {

// Words in UTF-8: letters with ё and й, mixed case, words split by inline tags, runs across
// blocks, line breaks and pictures, entities, quotes, soft hyphens, and text the page hides.
const char* const kWords[] = {
    "ёмкость", "ЕМКОСТЬ", "Ёмкость", "йод", "иод", "амортизатор", "АмортиЗатор", "шаровая опора",
    "шаровая", "передний мост", "рулевая тяга", "строка перенесена", "ремень", "ремень генератора",
    "«кавычки»", "\"лапки\"", "“лапки”", "неразрывный пробел", "амперметр и вольтметр", "момент   затяжки",
    "момент затяжки", "затяжки болтов", "картинка между", "радиатор", "поле ввода", "вариант выбора",
    "скрытое поле", "невидимый", "скрытый абзац", "без скриптов", "комментарий", "карданный", "кардан",
    "Тормоз", "тормоз", "ТОРМОЗНЫЕ", "масла", "поездкой", "заметка номер 2", "MIN", "min", "~ Тормоз",
    "что находит", "Что находит поиск", "картинкамежду", "картинка", "словами.",
    // What the notes page's style sheets hide, show again, and make blocks of.
    "прокладку", "сальник", "проводки", "предохранитель стартера", "предохранитель стоит", "подсказка",
    "видимое уточнение", "педаль сцепления", "сцепления", "масляный щуп", "щуп", "термостат", "вентилятор",
    "провереномастером", "проверено мастером", "мастером, проверено", "свет фар", "ближний", "совет мастера",
    "порядок затяжки", "примечание к рисунку", "смотрите рисунок", "левая фара", "раскрытый блок",
    "поздний абзац", "набор инструментов",
};

struct RPage {
    std::string path;
    std::string bytes;
};

// The sample book's pages from its pack, the generated notes among them.
std::vector<RPage> SamplePages() {
    std::vector<RPage> pages;
    for (const std::string& packed : ListPackFiles()) {
        const std::string path = "d:\\" + Cp1251::lower(packed);
        if (path.find(".htm") == std::string::npos) continue;
        TMemoryStream stream;
        BookFiles().Read(path, stream);
        std::string bytes(stream.View());
        if (Cp1251::lower(bytes).find("<frameset") == std::string::npos) pages.push_back({path, std::move(bytes)});
    }
    return pages;
}

bool LoadAndWait(TFrameViewer& view, const std::string& path) {
    if (!view.LoadFile(path)) return false;
    QEventLoop loop;
    QObject::connect(&view, &TFrameViewer::LoadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    if (view.IsLoading()) loop.exec();
    return !view.IsLoading();
}

// The engine's answers for every word, without case and then with case.
QVariantList EngineFinds(TFrameViewer& view) {
    QStringList words;
    for (const char* word : kWords) words << QString::fromUtf8(word);
    return view.EvaluateScript(QStringLiteral(R"((function(words) {
  var out = [];
  [false, true].forEach(function(c) {
    words.forEach(function(w) {
      window.getSelection().removeAllRanges();
      out.push(window.find(w, c, false, false, false, false, false));
    });
  });
  return out;
})(%1))").arg(JsStringList(words))).toList();
}

}  // namespace

TEST(MatcherAgreement, TheMatcherAnswersAsTheEnginesFindOnEverySamplePage) {
    SetupDrives(SAMPLE_RUN, 'd');
    OpenPack("d:\\run\\interface.dat");
    SetPackRootPrefix("d:\\");
    const std::vector<RPage> pages = SamplePages();
    ASSERT_GE(pages.size(), 15u);
    TFrameViewer view;
    view.resize(800, 600);
    view.show();
    TPageScan scan;
    int compared = 0;
    for (const RPage& page : pages) {
        ASSERT_TRUE(LoadAndWait(view, page.path)) << page.path;
        const QVariantList engine = EngineFinds(view);
        ASSERT_EQ(engine.size(), qsizetype(2 * std::size(kWords))) << page.path;
        const TPageText& text = scan.Text(page.path);
        EXPECT_EQ(text.Title(), FromQt(view.EvaluateScript("document.title").toString())) << page.path;
        for (size_t i = 0; i < size_t(engine.size()); ++i) {
            const bool matchCase = i >= std::size(kWords);
            const char* word = kWords[i % std::size(kWords)];
            const bool matcher = PageContains(text, Cp1251::fromUtf8(word), matchCase);
            EXPECT_EQ(matcher, engine[qsizetype(i)].toBool())
                << page.path << ": \"" << word << "\"" << (matchCase ? " with case" : "");
            ++compared;
        }
    }
    ClosePack();
    EXPECT_GT(compared, 1000);
}
