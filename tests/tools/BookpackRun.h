#pragma once
// Running the built bookpack program and looking at the files it leaves.
#include <string>
#include <vector>

struct TRunResult {
    int status = -1;  // exit code, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs bookpack with args (stdin from /dev/null) and collects its output.
TRunResult RunBookpack(const std::vector<std::string>& args);

std::string ReadFileBytes(const std::string& path);
// Every file and folder below root as a relative path, sorted.
std::vector<std::string> ListTree(const std::string& root);
// Non-empty lines of text.
std::vector<std::string> Lines(const std::string& text);
