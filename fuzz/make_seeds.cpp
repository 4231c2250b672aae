// Writes the seed corpora of the fuzz targets with the library's own writers:
//   make_seeds DIR  ->  DIR/fuzz_pack, DIR/fuzz_bundle, DIR/fuzz_cfs, DIR/fuzz_parsers
// Texts are written here in UTF-8 and stored as CP1251, as on a disc.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/PackWriter.h"

namespace fs = std::filesystem;

namespace {

std::string cp(const char* utf8) { return Cp1251::fromUtf8(utf8); }

void put(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
}

std::string page(int n) {
    return cp("<html><head><meta charset=windows-1251><title>Страница ") + std::to_string(n) +
           cp("</title></head><body><h1>Глава ") + std::to_string(n % 7) +
           cp("</h1><p>Снимите крышку и проверьте зазор клапанов.</p><a href=\"page") +
           std::to_string(n + 1) + ".htm\">next</a></body></html>\r\n";
}

// A description file as the interface description writes it: CR LF lines, keys in any case.
std::string structText() {
    return cp("[Main]\r\n"
              "Title=Руководство по ремонту\r\n"
              "button vx=10 vy=20 vw=30 vh=40 go=html=page.htm; hint=Назад\r\n"
              "button vx=-12 vy=3 vw=50 vh=60 go=<cd>video\\a.avi; hint=Видео\r\n"
              "text color=255,128,0 font=Arial\r\n"
              "vertexmain=[0,0;100,0;100,100;0,100]\r\n"
              "popup items=[html=a.htm;html=..\\b.htm\r\n"
              "html=c.htm]\r\n"
              "\r\n");
}

void packSeeds(const fs::path& dir) {
    {   // Everything plain: entries and directory block.
        TPackWriter w;
        w.SetCompression(false);
        w.SetCompressDirectory(false);
        w.AddFile("a.htm", page(1));
        w.AddFile("html/page1.htm", page(2));
        w.AddFile("html/empty.txt", "");
        put(dir, "plain.pack", w.Build());
    }
    {   // Compressed entries, compressed directory, nested folders, Cyrillic and hidden names.
        TPackWriter w;
        for (int i = 0; i < 12; ++i) w.AddFile("html/chapter" + std::to_string(i % 3) + "/page" + std::to_string(i) + ".htm", page(i));
        w.AddFile(cp("html/страница.htm"), page(100));
        w.AddFile(cp("ёлка/Рисунок.gif"), std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13));
        w.AddFile(".cache/index.idx", "cache");
        w.AddFile("index.idx", std::string(300, 'k'));
        w.AddDirectory("images/empty");
        w.SetReserved(7);
        put(dir, "nested.pack", w.Build());
    }
    {   // Compressed entries in a plain directory block.
        TPackWriter w;
        w.SetCompressDirectory(false);
        for (int i = 0; i < 5; ++i) w.AddFile("d/p" + std::to_string(i) + ".htm", page(i) + page(i + 1));
        put(dir, "plain-directory.pack", w.Build());
    }
    {   // Plain entries in a compressed directory block.
        TPackWriter w;
        w.SetCompression(false);
        for (int i = 0; i < 5; ++i) w.AddFile("x/y/z" + std::to_string(i), page(i));
        put(dir, "plain-entries.pack", w.Build());
    }
    put(dir, "empty.pack", TPackWriter().Build());
}

void bundleSeeds(const fs::path& dir) {
    const std::string dialog = cp("dialog vx=0 vy=0 vw=300 vh=120\r\nbutton go=ok; hint=Да\r\n");
    put(dir, "struct.dhl", BuildBundle({
        {"Struct.cfs", EncodeCfs(structText(), 1)},
        {"Dialog.cfs", EncodeCfs(dialog, 2)},
        {cp("Фон.bmp"), std::string("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0", 14)},
        {"empty.cfs", ""},
        {"one.cfs", "x"},
    }));
    put(dir, "same-name.dhl", BuildBundle({
        {"Dialog.cfs", EncodeCfs("first\r\n", 3)},
        {"DIALOG.CFS", EncodeCfs("second\r\n", 4)},
        {cp("фон.BMP"), "a"},
        {cp("ФОН.bmp"), "b"},
    }));
    put(dir, "empty.dhl", BuildBundle({}));
}

void cfsSeeds(const fs::path& dir) {
    put(dir, "struct.cfs", EncodeCfs(structText(), 11));
    put(dir, "tree.cfs", EncodeCfs(cp("Оглавление\r\n 1 Двигатель=html\\1.htm\r\n  1.1 Головка=html\\1-1.htm\r\n"), 12));
    put(dir, "lone-breaks.cfs", EncodeCfs("a\rb\nc\r\n\r\r\n", 13));
    put(dir, "odd.cfs", EncodeCfs("ab\r\nc", 14) + "Z");
    put(dir, "plain.txt", "Title=Plain\r\n");
}

void parserSeeds(const fs::path& dir) {
    // Line 0 is CdRoot, line 1 ProgramDir.
    const std::string paths = "d:\\\nd:\\run\\\n";
    put(dir, "struct.txt", paths + cp("button vx=10 vy=20 vw=30 vh=40 go=html=page.htm; hint=Назад\n"
                                      "color=255,128,0\ncolor=-1,300,70000\ncolor=\n"
                                      "vertexmain=[0,0;100,0;100,100]\n"
                                      "items=[a;b\nc]\n[;a]\n[]\n[a;\nvertexmain=[1,x]\n"));
    put(dir, "paths.txt", paths + "<cd>video\\a.avi\nc:\\x.txt\nnone\ngo=..\\a.htm\n\\a.htm\n..\\..\\a.htm\n"
                                  "html=help\\a.htm\n1.5\nd:\\run\\x\\|..\\..\\a.htm\n");
    put(dir, "split.txt", paths + "a ; b\na;\na;b;\n;;\n;|a;b;;c\n");
    put(dir, "stream.txt", paths + "ab\r\ncd\rno break");
    put(dir, "no-paths.txt", "vx=-12 vy=3\nvx=abc 7\nhint=Nazad ; comment\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    try {
        const fs::path root = argv[1];
        packSeeds(root / "fuzz_pack");
        bundleSeeds(root / "fuzz_bundle");
        cfsSeeds(root / "fuzz_cfs");
        parserSeeds(root / "fuzz_parsers");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
