// The full-text find's index-mode scan, in one run on the offscreen platform, over a generated
// book of 5,000 pages (about 15 MB of CP1251 HTML, compressed in its pack) with the sample skin:
// Every page links one style sheet of the book and carries a small style element of its own, as
// book pages do; a paragraph the sheet hides holds the word on some pages, which must not count.
// - the fast scan: the main window's find in index mode with a word that is no keyword, so every
//   page is scanned as text, the first time (pages read and their text extracted) and again
//   (texts kept for the run);
// - the described way: each candidate loaded into a hidden page view and searched there, timed
//   on the first 100 pages and scaled to 5,000.
// Run: build/bench/search_bench
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "BenchApplication.h"
#include "app/FindTxtHtml.h"
#include "app/MainForm.h"
#include "app/SkinControls.h"
#include "base/Cp1251.h"
#include "html/engine/FrameViewer.h"
#include "packs/PackWriter.h"
#include "platform/InstanceLock.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPages = 5000, kEnginePages = 100;
const char* const kWord = "карбюратора";  // shown on every 50th page, hidden on others; no keyword

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

std::string PageName(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "run\\html\\gen\\p%04d.htm", n);
    return name;
}

// The sheet every page links: colours and fonts, a hidden note class, keys shown as boxes.
const char* const kSheet =
    "body { font-family: serif; color: #202020; }\nh2 { color: #5a2a00; }\na { color: #0033aa; }\n"
    "p.note, .aside { display: none; }\nspan.key { display: inline-block; border: 1px solid; }\n"
    "#footer b { visibility: hidden; }\n";

// A page of about 3 KB: a title and paragraphs of sentences drawn from a repair vocabulary.
std::string Page(int n, std::mt19937& random) {
    static const char* const kWords[] = {
        "проверьте", "тормозные", "колодки", "уровень", "жидкости", "ёмкость", "аккумулятора", "перед", "поездкой",
        "снимите", "крышку", "головки", "блока", "цилиндров", "затяните", "болты", "моментом", "ремень",
        "генератора", "натяжение", "подвеска", "амортизатор", "стойка", "шаровая", "опора", "рулевая", "тяга",
        "свеча", "зажигания", "зазор", "электродов", "фильтр", "масляный", "воздушный", "топливный", "насос"};
    std::string page = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                       "<title>Заметка " + std::to_string(n) + "</title><link rel=\"stylesheet\" href=\"../book.css\">"
                       "<style>h2 { margin: 0; } .warn { color: red; }</style></head><body><h2>Заметка " +
                       std::to_string(n) + "</h2>\n";
    if (n % 50 == 0) page += "<p>Регулировка <i>карбюратора</i>.</p>\n";
    if (n % 50 == 25) page += "<p class=\"note\">Регулировка карбюратора.</p>\n";
    std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
    while (page.size() < 5000) {  // UTF-8 here: about 3 KB once in CP1251
        page += "<p>";
        for (int w = 0; w < 24; ++w) page += std::string(w % 7 == 3 ? "<b>" : "") + kWords[pick(random)] + (w % 7 == 3 ? "</b> " : " ");
        page += "</p>\n";
    }
    page += "<p id=\"footer\"><span class=\"key\">F1</span> справка <b>печать</b></p>\n";
    return Cp1251::fromUtf8(page + "</body></html>\n");
}

// The generated disc: the sample book's bundle beside a pack of the pages and their index.
size_t WriteBook(const std::filesystem::path& run) {
    std::filesystem::create_directories(run);
    std::filesystem::copy_file(std::filesystem::path(SAMPLE_RUN) / "Zaz.dhl", run / "Zaz.dhl");
    TPackWriter pack;
    std::mt19937 random(1251);
    size_t bytes = 0;
    std::string files;
    for (int n = 1; n <= kPages; ++n) {
        const std::string page = Page(n, random);
        bytes += page.size();
        pack.AddFile(PageName(n), page);
        files += PageName(n).substr(4) + "#:#" + Cp1251::fromUtf8("Заметка ") + std::to_string(n) + "\r";
    }
    pack.AddFile("run\\html\\book.css", kSheet);
    pack.AddFile("run\\files.idx", files);
    pack.AddFile("run\\keywords.idx", Cp1251::fromUtf8("тормоз\r"));
    pack.AddFile("run\\index.idx", "1\r");
    std::ofstream(run / "interface.dat", std::ios::binary) << pack.Build();
    return bytes;
}

// Milliseconds to load the first pages one by one into a hidden view and search the word there.
double EngineScan(int pages) {
    TFrameViewer view;
    view.resize(800, 600);
    const QString word = QString::fromUtf8(kWord);
    const Clock::time_point start = Clock::now();
    for (int n = 1; n <= pages; ++n) {
        QEventLoop loaded;
        QObject::connect(&view, &TFrameViewer::LoadFinished, &loaded, &QEventLoop::quit);
        QTimer::singleShot(10000, &loaded, &QEventLoop::quit);
        if (!view.LoadFile("d:\\" + PageName(n))) return -1;
        if (view.IsLoading()) loaded.exec();
        view.SetCaretToTop();
        view.FindText(word, false);
    }
    return Ms(start);
}

// Milliseconds of one index-mode find of the word; hits gets the number of pages listed.
double IndexFind(TFindTxtHtml& find, size_t& hits) {
    const Clock::time_point start = Clock::now();
    find.FindNext(1);
    const double ms = Ms(start);
    hits = find.ResultFiles().size();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    std::filesystem::path disc = std::filesystem::temp_directory_path() / ("search_bench_" + std::to_string(getpid()));
    const size_t bytes = WriteBook(disc / "run");
    TInstanceLock lock;
    TMainForm form((disc / "run").string(), TCommandLine{}, lock);
    form.show();
    form.RunCommand("2");
    form.RunCommand("findnext1");
    TFindTxtHtml* find = form.Controls() ? form.Controls()->Find() : nullptr;
    if (!find) {
        std::printf("search_bench: the generated book has no find\n");
        return 1;
    }
    find->SetIndexMode();
    find->Box(0)->setText(QString::fromUtf8(kWord));
    size_t firstHits = 0, againHits = 0;
    const double first = IndexFind(*find, firstHits);
    const double again = IndexFind(*find, againHits);
    const double engine = EngineScan(kEnginePages);
    std::filesystem::remove_all(disc);

    const double scaled = engine * kPages / kEnginePages;
    std::printf("\nsearch_bench (offscreen; index-mode scan of %d pages, %.1f MB of CP1251 HTML in the pack)\n", kPages,
                double(bytes) / 1e6);
    std::printf("  hidden page view: %d pages %.0f ms (%.1f ms a page), scaled to %d pages: %.0f ms\n", kEnginePages,
                engine, engine / kEnginePages, kPages, scaled);
    std::printf("  fast scan, first:    %.0f ms (%zu pages listed)  -> %.0fx faster\n", first, firstHits, scaled / first);
    std::printf("  fast scan, repeated: %.0f ms (%zu pages listed)  -> %.0fx faster\n", again, againHits, scaled / again);
    return engine < 0 || firstHits != againHits || firstHits != kPages / 50 ? 1 : 0;
}
