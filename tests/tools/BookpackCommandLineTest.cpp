// bookpack's command line: help for every verb, one-line errors and the exit codes.
#include <gtest/gtest.h>

#include "packs/PackTestUtil.h"
#include "tools/BookpackRun.h"

using Strings = std::vector<std::string>;

TEST(BookpackCommandLine, EveryVerbHasHelp) {
    const TRunResult all = RunBookpack({"--help"});
    EXPECT_EQ(all.status, 0);
    for (const Strings& verb : std::vector<Strings>{{"pack", "build"}, {"pack", "list"}, {"pack", "extract"}, {"pack", "cat"},
                                                   {"pack", "check"}, {"bundle", "build"}, {"bundle", "list"},
                                                   {"bundle", "extract"}, {"cfs", "decode"}, {"cfs", "encode"}}) {
        const std::string name = verb[0] + " " + verb[1];
        EXPECT_NE(all.out.find(name), std::string::npos) << name;
        const TRunResult help = RunBookpack({verb[0], verb[1], "--help"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.out.rfind("usage: bookpack " + name + " ", 0), 0u) << help.out;
    }
}

TEST(BookpackCommandLine, UsageMistakesExitTwoWithOneLine) {
    const std::vector<Strings> mistakes = {
        {},
        {"pack"},
        {"unpack", "x"},
        {"pack", "frob"},
        {"pack", "list"},
        {"pack", "list", "a.dat", "b.dat"},
        {"pack", "list", "a.dat", "--bogus"},
        {"pack", "build", "dir"},
        {"pack", "extract", "a.dat", "-o"},
        {"bundle", "build", "dir", "-o", "z.dhl", "--seed", "-1"},
        {"bundle", "build", "dir", "-o", "z.dhl", "--seed", "99999999999"},
        {"cfs", "decode", "a.cfs", "--encoding", "koi8-r"},
    };
    for (const Strings& args : mistakes) {
        const TRunResult run = RunBookpack(args);
        std::string shown;
        for (const std::string& arg : args) shown += arg + " ";
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(Lines(run.err).size(), 1u) << shown << run.err;
        EXPECT_EQ(run.err.rfind("bookpack: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "") << shown;
    }
}

TEST(BookpackCommandLine, UnreadableInputsExitOneWithOneLine) {
    const std::string dir = MakeTempDir();
    const std::string missing = dir + "/missing.file";
    WriteFileBytes(dir + "/garbage.dat", "not a pack at all, and not a bundle");
    const std::vector<Strings> failures = {
        {"pack", "list", missing},
        {"pack", "check", missing},
        {"pack", "cat", missing, "a.htm"},
        {"pack", "extract", missing, "-o", dir + "/out"},
        {"pack", "build", missing, "-o", dir + "/p.dat"},
        {"bundle", "list", missing},
        {"bundle", "extract", missing, "-o", dir + "/out"},
        {"bundle", "build", missing, "-o", dir + "/z.dhl"},
        {"cfs", "decode", missing},
        {"cfs", "encode", missing},
        {"pack", "check", dir + "/garbage.dat"},
        {"bundle", "list", dir + "/garbage.dat"},
    };
    for (const Strings& args : failures) {
        const TRunResult run = RunBookpack(args);
        EXPECT_EQ(run.status, 1) << args[0] << " " << args[1] << " " << args[2];
        ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_NE(run.err.find(args[2]), std::string::npos) << run.err;
    }
}
