#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

// A fresh temporary folder laid out like the game tree (root/bin is the working directory while it lives),
// removed afterwards.
class GameTreeSandbox {
public:
    GameTreeSandbox() {
        char pattern[] = "/tmp/zephyrace-test-XXXXXX";
        root = mkdtemp(pattern);
        for (const char* folder : {"/bin", "/Profiles", "/Scripts"}) std::filesystem::create_directories(root + folder);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root + "/bin");
    }
    ~GameTreeSandbox() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }
    std::string Path(const std::string& relative) const { return root + "/" + relative; }

    std::string root;

private:
    std::filesystem::path previous;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::absolute(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// How often part occurs in text, overlapping occurrences included.
inline int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The game's log so far: log.txt in the working directory.
inline std::string LogText() {
    return ReadText("log.txt");
}

inline void ClearLog() {
    WriteText("log.txt", "");
}

// Whether the log holds part; a failed check prints the log.
inline ::testing::AssertionResult Logged(const std::string& part) {
    const std::string log = LogText();
    if (log.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the log lacks \"" << part << "\":\n" << log;
}
