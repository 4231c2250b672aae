#include "support/PrivateFolders.h"

#include <QDir>

#include <cstdlib>
#include <string>

TPrivateFolders::TPrivateFolders(const char* stem) {
    std::string folder = std::string("/tmp/bookshell-") + stem + "-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    root_ = QString::fromStdString(folder);
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (folder + "/cache").c_str(), 1);
    // Archive listings and other temporary files of one book title stay apart between test
    // programs that run at once.
    QDir().mkpath(root_ + "/tmp");
    ::setenv("TMPDIR", (folder + "/tmp").c_str(), 1);
}

TPrivateFolders::~TPrivateFolders() { QDir(root_).removeRecursively(); }
