// Pages in one run, on the offscreen platform: the time from a link click to the page shown
// (loaded, pictures included), median of 20 clicks, on the sample book (index.htm to
// engine.htm in the main window) and on a generated page of about 50 KB with ten pictures; and
// the resident memory with two page views showing pages — this process and the browser's
// helper processes.
// Run: build/bench/page_bench (uses private runtime, settings and data folders).
#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "BenchApplication.h"
#include "app/MainForm.h"
#include "html/HtmlFrame.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/PackFile.h"
#include "packs/PackWriter.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceLock.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClicks = 20;
constexpr int kWait = 30000;  // the longest wait for one page, in ms

bool WaitUntil(const std::function<bool()>& done, int ms = kWait) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The page called name is in the view, complete, with every picture decoded.
bool PageComplete(TFrameViewer& view, const std::string& name) {
    if (!EndsWith(Cp1251::asciiLower(view.CurrentFile()), name)) return false;
    const QString script = QStringLiteral(
        "document.readyState === 'complete' && location.pathname.toLowerCase().endsWith('/' + %1) && "
        "Array.prototype.every.call(document.images, function(i) { return i.complete && i.naturalWidth > 0; })")
        .arg(JsString(QString::fromStdString(name)));
    return view.EvaluateScript(script).toBool();
}

bool WaitShown(TFrameViewer& view, const std::string& name) {
    return WaitUntil([&] { return PageComplete(view, name); });
}

// Milliseconds from clicking the link to the page called name shown with its pictures; -1 when
// it never came. The clock stops at the browser's end of loading, or later if the pictures
// were still missing then.
double TimeClick(TFrameViewer& view, const QString& selector, const std::string& name) {
    Clock::time_point finished{};
    const auto connection = QObject::connect(&view, &TFrameViewer::LoadFinished, [&](bool ok) {
        if (ok && EndsWith(Cp1251::asciiLower(view.CurrentFile()), name)) finished = Clock::now();
    });
    const Clock::time_point start = Clock::now();
    view.RunScript(QStringLiteral("document.querySelector(%1).click()").arg(JsString(selector)));
    const bool loaded = WaitUntil([&] { return finished != Clock::time_point{}; });
    QObject::disconnect(connection);
    if (!loaded) return -1;
    Clock::time_point end = finished;
    if (!PageComplete(view, name)) {
        if (!WaitShown(view, name)) return -1;
        end = Clock::now();
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct RTimes {
    std::vector<double> ms;  // in the order measured
    double Median() const {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n == 0 ? -1 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    bool Complete() const { return int(ms.size()) == kClicks && std::none_of(ms.begin(), ms.end(), [](double t) { return t < 0; }); }
};

// kClicks clicks on selector, each from the start page shown again by back().
RTimes Clicks(TFrameViewer& view, const QString& selector, const std::string& name, const std::string& startName,
              const std::function<void()>& back) {
    RTimes times;
    for (int i = 0; i < kClicks; ++i) {
        back();
        if (!WaitShown(view, startName)) break;
        times.ms.push_back(TimeClick(view, selector, name));
        if (times.ms.back() < 0) break;
    }
    return times;
}

// --- memory ---

struct RMemory {
    long selfRssKb = 0;
    int helpers = 0;
    long helpersRssKb = 0;
    long helpersPssKb = 0;
};

// A "Key:   123 kB" line of a /proc file, in kB; 0 when missing.
long ProcKb(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
    return 0;
}

std::string ProcName(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    std::getline(in, line);  // "Name:\t…"
    const size_t tab = line.find('\t');
    return tab == std::string::npos ? std::string() : line.substr(tab + 1);
}

int ParentOf(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const size_t paren = stat.rfind(')');  // the name may hold spaces and brackets
    int parent = 0;
    if (paren != std::string::npos) std::sscanf(stat.c_str() + paren + 1, " %*c %d", &parent);
    return parent;
}

// This process, and the browser helpers among its descendants (the zygotes start the renderers).
RMemory Memory() {
    RMemory memory;
    memory.selfRssKb = ProcKb("/proc/self/status", "VmRSS");
    std::vector<std::pair<int, int>> processes;  // pid, parent
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit))
            processes.emplace_back(std::stoi(name), ParentOf(std::stoi(name)));
    }
    std::vector<int> family{int(::getpid())};
    for (size_t i = 0; i < family.size(); ++i)
        for (const auto& [pid, parent] : processes)
            if (parent == family[i]) family.push_back(pid);
    for (size_t i = 1; i < family.size(); ++i) {
        if (ProcName(family[i]).rfind("QtWebEngineProc", 0) != 0) continue;  // names are cut to 15 characters
        const std::string proc = "/proc/" + std::to_string(family[i]);
        ++memory.helpers;
        memory.helpersRssKb += ProcKb(proc + "/status", "VmRSS");
        memory.helpersPssKb += ProcKb(proc + "/smaps_rollup", "Pss");
    }
    return memory;
}

// --- the generated book ---

// A picture with something to compress: a gradient, circles and its number.
QByteArray Picture(int number, const char* format) {
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 640, 480);
    gradient.setColorAt(0, QColor::fromHsv(number * 36, 160, 230));
    gradient.setColorAt(1, QColor::fromHsv((number * 36 + 120) % 360, 200, 120));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 40; ++i) {
        painter.setPen(QPen(QColor::fromHsv((i * 53 + number * 17) % 360, 255, 255), 3));
        painter.drawEllipse(QPoint((i * 97) % 640, (i * 61) % 480), 10 + i * 3, 8 + i * 2);
    }
    painter.setFont(QFont(QStringLiteral("Sans"), 120));
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(number));
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    return data;
}

// A CP1251 page of about 50 KB: ten sections, each with a picture and its text.
std::string BigPage() {
    const std::string paragraph = Cp1251::fromUtf8(
        "<p>Проверьте уровень масла в двигателе, осмотрите тормозные колодки и шланги, подтяните "
        "крепления и замените изношенные детали. Работы выполняйте на холодном двигателе.</p>\n");
    std::string page = Cp1251::fromUtf8("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                                        "<title>Большая страница</title></head><body>\n");
    for (int n = 0; n < 10; ++n) {
        page += Cp1251::fromUtf8("<h2>Раздел ") + std::to_string(n + 1) + "</h2>\n";
        page += "<img src=\"img\\pic" + std::to_string(n) + (n % 2 ? ".jpg" : ".png") + "\" width=\"320\" height=\"240\">\n";
        for (int p = 0; p < 29; ++p) page += paragraph;
    }
    return page + "</body></html>\n";
}

struct RGeneratedBook {
    size_t pageBytes = 0;
    size_t pictureBytes = 0;
};

// Writes the pack (start page, big page, pictures) into root\run and opens it as disc d:.
RGeneratedBook OpenGeneratedBook(const std::string& root) {
    RGeneratedBook book;
    TPackWriter pack;
    pack.AddFile("run\\html\\start.htm", "<html><body><a id=\"go\" href=\"big.htm\">big</a></body></html>");
    const std::string page = BigPage();
    book.pageBytes = page.size();
    pack.AddFile("run\\html\\big.htm", page);
    for (int n = 0; n < 10; ++n) {
        const QByteArray picture = Picture(n, n % 2 ? "JPG" : "PNG");
        book.pictureBytes += size_t(picture.size());
        pack.AddFile("run\\html\\img\\pic" + std::to_string(n) + (n % 2 ? ".jpg" : ".png"),
                     std::string(picture.constData(), size_t(picture.size())));
    }
    std::filesystem::create_directories(root + "/run");
    std::ofstream(root + "/run/interface.dat", std::ios::binary) << pack.Build();
    SetupDrives(root + "/run", 'd');
    OpenPack("d:\\run\\interface.dat");
    SetPackRootPrefix("d:\\");
    return book;
}

void PrintTimes(const char* what, const RTimes& t) {
    if (!t.Complete()) {
        std::printf("%s: FAILED after %zu clicks\n", what, t.ms.size());
        return;
    }
    std::printf("%s: median %.1f ms (first %.1f, min %.1f, max %.1f; %d clicks)\n", what, t.Median(), t.ms.front(),
                *std::min_element(t.ms.begin(), t.ms.end()), *std::max_element(t.ms.begin(), t.ms.end()), kClicks);
}

// The sample book's click and the memory of two page views, in the main window.
bool MeasureSampleBook(RTimes& sample, RMemory& memory, bool& twoViews) {
    TInstanceLock lock;
    TMainForm form(SAMPLE_RUN, TCommandLine{}, lock);
    if (form.Terminating()) {
        std::printf("the sample book did not start: %s\n", form.ExitMessage().c_str());
        return false;
    }
    form.show();
    form.RunCommand("2");
    TFrameViewer* view = form.HtmlFrame() ? form.HtmlFrame()->CurrentView() : nullptr;
    if (!view || !WaitShown(*view, "index.htm")) {
        std::printf("the sample book shows no page\n");
        return false;
    }
    // Two page views showing pages: the window's, and a second one beside it.
    {
        TFrameViewer second;
        second.resize(706, 511);
        second.show();
        const std::string index = view->CurrentFile();
        twoViews = second.LoadFile(index.substr(0, index.rfind('\\') + 1) + "engine.htm") && WaitShown(second, "engine.htm");
        WaitUntil([] { return false; }, 1000);  // let the helpers settle
        memory = Memory();
    }
    sample = Clicks(*view, "a[href=\"engine.htm\"]", "engine.htm", "index.htm", [&] { form.RunCommand("html1=html\\index.htm"); });
    return true;
}

void PrintMemory(long baseRssKb, const RMemory& memory, bool twoViews) {
    std::printf("memory before any page view: program VmRSS %ld MB\n", baseRssKb / 1024);
    std::printf("memory with two page views showing pages%s:\n", twoViews ? "" : " (SECOND VIEW FAILED)");
    std::printf("  program VmRSS %ld MB\n", memory.selfRssKb / 1024);
    std::printf("  %d QtWebEngineProcess helpers: VmRSS %ld MB summed (PSS %ld MB)\n", memory.helpers,
                memory.helpersRssKb / 1024, memory.helpersPssKb / 1024);
    std::printf("  together: VmRSS %ld MB summed, PSS of the helpers + program RSS %ld MB\n",
                (memory.selfRssKb + memory.helpersRssKb) / 1024, (memory.selfRssKb + memory.helpersPssKb) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    SetPageAnswerWait(2000);  // checks wait for the page's answer, not the page for the checks
    const long baseRssKb = ProcKb("/proc/self/status", "VmRSS");

    RTimes sample, generated;
    RMemory memory;
    bool twoViews = false;
    if (!MeasureSampleBook(sample, memory, twoViews)) return 1;
    ClosePack();
    StartState() = TStartState{};

    RGeneratedBook book;
    {
        QTemporaryDir disc;
        book = OpenGeneratedBook(disc.path().toStdString());
        TFrameViewer view;
        view.resize(800, 600);
        view.show();
        generated = Clicks(view, "#go", "big.htm", "start.htm", [&] { view.LoadFile("d:\\run\\html\\start.htm"); });
        ClosePack();
    }

    std::printf("\npage_bench (offscreen, %d clicks per page, the clock stops at the page loaded with its pictures)\n", kClicks);
    PrintTimes("sample book, click index.htm -> engine.htm", sample);
    char what[160];
    std::snprintf(what, sizeof what, "generated page (%zu bytes, 10 pictures of %zu bytes together)", book.pageBytes, book.pictureBytes);
    PrintTimes(what, generated);
    PrintMemory(baseRssKb, memory, twoViews);
    return sample.Complete() && generated.Complete() ? 0 : 1;
}
