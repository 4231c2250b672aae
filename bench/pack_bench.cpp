// Benchmarks of the program's pack, generated once per process into temporary files:
//   BM_ReadPagesComprStream  every page of a 20,000-page pack (~60 MB unpacked) through
//                            TComprStream, path look-up included;
//   BM_InflateBaseline       the same stored bytes inflated with plain zlib into one
//                            preallocated buffer: the floor TComprStream is measured against;
//   BM_ResolvePackPath       100,000 look-ups of disc paths in a 5,000-entry folder;
//   BM_OpenPack              opening the 20,000-page pack.
// After the run it prints "ratio inflate/read = X": the baseline's CPU time per pass over
// the pages divided by TComprStream's (1.0 = no overhead over zlib; the aim is 0.9 or more).
// The best repetition of each counts, which keeps the ratio steady on a busy machine; add
// --benchmark_repetitions=5 for a firmer figure.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/Cp1251.h"
#include "packs/ComprStream.h"
#include "packs/PackFile.h"
#include "packs/PackWriter.h"

namespace {

constexpr int kPages = 20000;
constexpr int kPagesPerFolder = 250;
constexpr int kFolderEntries = 5000;
constexpr int kLookups = 100000;

std::vector<std::string> gTempFiles;

std::string tempPath(const std::string& name) {
    std::string path = "/tmp/bookshell-bench-" + std::to_string(::getpid()) + "-" + name;
    if (gTempFiles.empty()) std::atexit([] {
        for (const auto& p : gTempFiles) std::remove(p.c_str());
    });
    gTempFiles.push_back(path);
    return path;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// A manual page: a fixed frame, paragraphs drawn from a small vocabulary, figures, a table and
// links, about 3 KB in CP1251, compressing about as well as real pages do.
std::string makePage(int n, std::mt19937& rng) {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        for (const char* s : {"снимите", "установите", "проверьте", "затяните", "болт", "гайку", "крышку",
                              "головки", "блока", "цилиндров", "клапанов", "зазор", "момент", "ключом",
                              "двигатель", "ремень", "привода", "распредвала", "натяжитель", "шкив",
                              "прокладку", "масло", "фильтр", "свечи", "зажигания", "датчик", "провод",
                              "колодки", "суппорт", "тормозной", "диск", "ступицы", "подшипник", "рычаг",
                              "и", "на", "с", "до", "после", "затем", "осторожно", "новую", "старую"})
            w.push_back(Cp1251::fromUtf8(s));
        return w;
    }();
    auto pick = [&](size_t count) { return rng() % count; };
    std::string page;
    page.reserve(3600);
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
            "<link rel=stylesheet href=\"../style.css\"><title>";
    page += Cp1251::fromUtf8("Раздел ") + std::to_string(n / 100) + "." + std::to_string(n % 100);
    page += "</title></head>\r\n<body bgcolor=#FFFFFF>\r\n<h2>";
    for (int w = 0; w < 4; ++w) page += words[pick(words.size())] + " ";
    page += "</h2>\r\n";
    const size_t target = 2600 + pick(900);
    while (page.size() < target) {
        page += "<p>";
        const size_t sentences = 2 + pick(4);
        for (size_t s = 0; s < sentences; ++s) {
            const size_t length = 6 + pick(10);
            for (size_t w = 0; w < length; ++w) {
                page += words[pick(words.size())];
                page += w + 1 == length ? ". " : " ";
            }
            if (pick(3) == 0) page += std::to_string(10 + pick(90)) + Cp1251::fromUtf8(" Н·м. ");
        }
        page += "</p>\r\n";
        if (pick(4) == 0)
            page += "<p align=center><img src=\"../img/fig" + std::to_string(pick(5000)) + ".gif\" width=" +
                    std::to_string(200 + pick(300)) + " height=" + std::to_string(100 + pick(200)) + "></p>\r\n";
        if (pick(6) == 0) {
            page += "<table border=1 cellpadding=2><tr><td>";
            page += words[pick(words.size())] + "</td><td>" + std::to_string(pick(1000)) + "</td></tr><tr><td>" +
                    words[pick(words.size())] + "</td><td>" + std::to_string(pick(1000)) + "</td></tr></table>\r\n";
        }
    }
    page += "<p><a href=\"page" + std::to_string(n > 0 ? n - 1 : 0) + ".htm\">&lt;&lt;</a> <a href=\"page" +
            std::to_string(n + 1) + ".htm\">&gt;&gt;</a></p>\r\n</body></html>\r\n";
    return page;
}

struct PagePack {
    std::string path;
    std::vector<std::string> pages;  // paths as a page link names them
    std::string bytes;               // the whole pack file, for the baseline
    uint64_t unpackedTotal = 0;
};

const PagePack& pagePack() {
    static const PagePack pack = [] {
        PagePack p;
        std::mt19937 rng(20240601);
        TPackWriter writer;
        for (int n = 0; n < kPages; ++n) {
            const std::string name = "html\\chapter" + std::to_string(n / kPagesPerFolder) + "\\page" + std::to_string(n) + ".htm";
            const std::string content = makePage(n, rng);
            p.unpackedTotal += content.size();
            writer.AddFile(name, content);
            p.pages.push_back(name);
        }
        p.bytes = writer.Build();
        p.path = tempPath("pages.dat");
        writeFile(p.path, p.bytes);
        return p;
    }();
    return pack;
}

struct FolderPack {
    std::string path;
    std::vector<std::string> lookups;
    size_t existing = 0;
};

// One folder of 5,000 pages (a fifth of them with Cyrillic names) among a few others, and
// a mix of look-ups as a book makes them: present pages in any letter case, absent pages,
// absent folders, all behind the drive prefix.
const FolderPack& folderPack() {
    static const FolderPack pack = [] {
        FolderPack p;
        TPackWriter writer;
        writer.SetCompression(false);
        auto fileName = [](int n) {
            return n % 5 == 0 ? Cp1251::fromUtf8("страница") + std::to_string(n) + ".htm" : "page" + std::to_string(n) + ".htm";
        };
        for (int n = 0; n < kFolderEntries; ++n) writer.AddFile("html\\chapter\\" + fileName(n), "x");
        for (int n = 0; n < 200; ++n) writer.AddFile("html\\other" + std::to_string(n % 4) + "\\page" + std::to_string(n) + ".htm", "x");
        p.path = tempPath("folder.dat");
        writeFile(p.path, writer.Build());

        std::mt19937 rng(7);
        for (int k = 0; k < kLookups; ++k) {
            const int n = static_cast<int>(rng() % kFolderEntries);
            switch (rng() % 10) {
            case 0: case 1: case 2: case 3: case 4:
                p.lookups.push_back("d:\\html\\chapter\\" + fileName(n));
                ++p.existing;
                break;
            case 5: case 6:
                p.lookups.push_back("D:\\HTML\\Chapter\\" + NormalizePackName(fileName(n)));
                ++p.existing;
                break;
            case 7: case 8:
                p.lookups.push_back("d:\\html\\chapter\\page" + std::to_string(kFolderEntries + n) + ".htm");
                break;
            default:
                p.lookups.push_back("d:\\html\\missing\\page" + std::to_string(n) + ".htm");
                break;
            }
        }
        return p;
    }();
    return pack;
}

void openIfNeeded(const std::string& path, const std::string& prefix) {
    static std::string current;
    if (current != path || !CurrentPack()) {
        OpenPack(path);
        current = path;
    }
    SetPackRootPrefix(prefix);
}

void BM_ReadPagesComprStream(benchmark::State& state) {
    const PagePack& pack = pagePack();
    openIfNeeded(pack.path, "");
    for (auto _ : state) {
        for (const std::string& page : pack.pages) {
            TComprStream stream(page);
            benchmark::DoNotOptimize(stream.Data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pack.unpackedTotal));
    state.SetItemsProcessed(state.iterations() * kPages);
}

void BM_InflateBaseline(benchmark::State& state) {
    const PagePack& pack = pagePack();
    openIfNeeded(pack.path, "");
    struct Stored {
        const Bytef* data;
        uInt stored, unpacked;
    };
    std::vector<Stored> stored;
    size_t largest = 0;
    const TPack& tp = *CurrentPack();
    for (const RPackEntry& e : tp.Entries()) {
        if (e.kind != kPackKindFile) continue;
        stored.push_back({reinterpret_cast<const Bytef*>(pack.bytes.data() + tp.DataOrigin() + e.offset), e.stored, e.unpacked});
        largest = std::max<size_t>(largest, e.unpacked);
    }
    std::vector<Bytef> out(largest);
    for (auto _ : state) {
        for (const Stored& s : stored) {
            z_stream zs{};
            zs.next_in = const_cast<Bytef*>(s.data);
            zs.avail_in = s.stored;
            zs.next_out = out.data();
            zs.avail_out = s.unpacked;
            if (s.stored == s.unpacked) {
                std::copy(s.data, s.data + s.stored, out.data());
            } else if (inflateInit(&zs) != Z_OK || inflate(&zs, Z_FINISH) != Z_STREAM_END || inflateEnd(&zs) != Z_OK) {
                state.SkipWithError("a stored page does not inflate");
                return;
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pack.unpackedTotal));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(stored.size()));
}

void BM_ResolvePackPath(benchmark::State& state) {
    const FolderPack& pack = folderPack();
    openIfNeeded(pack.path, "d:\\");
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string& path : pack.lookups) found += ResolvePackPath(path) >= 0;
        if (found != pack.existing) {
            state.SkipWithError("look-ups found the wrong number of pages");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_OpenPack(benchmark::State& state) {
    const PagePack& pack = pagePack();
    for (auto _ : state) OpenPack(pack.path);
    state.counters["entries"] = static_cast<double>(CurrentPack()->Entries().size());
}

BENCHMARK(BM_ReadPagesComprStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResolvePackPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPack)->Unit(benchmark::kMillisecond);

// Prints the console report and remembers the best CPU time per iteration of each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto [it, added] = best_.try_emplace(run.run_name.function_name, std::numeric_limits<double>::max());
            it->second = std::min(it->second, run.GetAdjustedCPUTime());
        }
    }
    void PrintRatio() const {
        const auto read = best_.find("BM_ReadPagesComprStream");
        const auto inflate = best_.find("BM_InflateBaseline");
        if (read == best_.end() || inflate == best_.end()) return;
        std::printf("ratio inflate/read = %.3f (baseline %.1f ms, TComprStream %.1f ms per pass over %d pages; aim >= 0.9)\n",
                    inflate->second / read->second, inflate->second, read->second, kPages);
    }

private:
    std::map<std::string, double> best_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    benchmark::Shutdown();
    return 0;
}
