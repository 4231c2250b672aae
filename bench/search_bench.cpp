// The full-text find's page scan, in one run on the offscreen platform:
// - the described way, each candidate loaded into a hidden page view and searched there, on 100
//   of the sample book's generated pages (scaled to 5,000);
// - the fast scan, page text extracted and matched, over 5,000 generated pages of about 3 KB of
//   CP1251 HTML held in memory (the first scan), and again over the texts kept (the repeat).
// The word is on no page, so every page is searched to its end.
// Run: build/bench/search_bench
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchApplication.h"
#include "app/MainForm.h"
#include "base/Cp1251.h"
#include "html/engine/FrameViewer.h"
#include "platform/InstanceLock.h"
#include "search/PageText.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string kWord = Cp1251::fromUtf8("кардан");

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

// Milliseconds to load pages into one hidden view and search the word in each; -1 on a failure.
double EngineScan(int pages) {
    TFrameViewer view;
    view.resize(800, 600);
    const Clock::time_point start = Clock::now();
    for (int n = 1; n <= pages; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "d:\\run\\html\\gen\\p%03d.htm", n);
        QEventLoop loaded;
        QObject::connect(&view, &TFrameViewer::LoadFinished, &loaded, &QEventLoop::quit);
        QTimer::singleShot(10000, &loaded, &QEventLoop::quit);
        if (!view.LoadFile(name)) return -1;
        if (view.IsLoading()) loaded.exec();
        view.SetCaretToTop();
        if (view.FindText(QString::fromStdString(Cp1251::toUtf8(kWord)), false)) return -1;
    }
    return Ms(start);
}

std::vector<std::string> GeneratedPages(int count) {
    const std::string sentence = Cp1251::fromUtf8(
        "<p>Проверьте <b>тормозные</b> колодки, уровень жидкости и ёмкость аккумулятора перед поездкой.</p>\n");
    std::vector<std::string> pages;
    for (int n = 0; n < count; ++n) {
        std::string page = "<html><head><meta charset=\"windows-1251\"><title>" + std::to_string(n) + "</title></head><body>";
        while (page.size() < 3000) page += sentence;
        pages.push_back(page + "</body></html>");
    }
    return pages;
}

}  // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    TInstanceLock lock;
    TMainForm form(SAMPLE_RUN, TCommandLine{}, lock);
    constexpr int kEnginePages = 100, kPages = 5000;
    const double engine = EngineScan(kEnginePages);

    const std::vector<std::string> pages = GeneratedPages(kPages);
    size_t bytes = 0;
    for (const auto& p : pages) bytes += p.size();
    std::vector<TPageText> texts;
    const Clock::time_point first = Clock::now();
    const TTextMatcher matcher(kWord, false);
    int hits = 0;
    for (const auto& p : pages) {
        texts.push_back(ExtractPageText(p));
        hits += matcher.Matches(texts.back());
    }
    const double fast = Ms(first);
    const Clock::time_point again = Clock::now();
    const TTextMatcher repeat(kWord, false);
    for (const auto& t : texts) hits += repeat.Matches(t);
    const double repeated = Ms(again);

    const double engineScaled = engine * kPages / kEnginePages;
    std::printf("\nsearch_bench (offscreen; a word on no page)\n");
    std::printf("  page views, %d sample pages: %.0f ms (%.1f ms a page), scaled to %d pages: %.0f ms\n", kEnginePages,
                engine, engine / kEnginePages, kPages, engineScaled);
    std::printf("  fast scan, %d pages (%.1f MB): first %.0f ms, repeated %.0f ms (%d hits)\n", kPages, bytes / 1e6, fast,
                repeated, hits);
    std::printf("  ratio page views / fast scan: %.0fx first, %.0fx repeated\n", engineScaled / fast, engineScaled / repeated);
    return engine < 0 || hits != 0 ? 1 : 0;
}
