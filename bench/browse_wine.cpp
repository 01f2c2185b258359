#include "browse_wine.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace bench {
namespace {

// The folder as wine's programs see it: the whole Linux file system is their drive Z.
std::string WinePath(const std::filesystem::path& path) {
    std::string text = "Z:" + path.string();
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    return text;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

BrowsePass BrowseWin32Window(const std::string& program, const BrowseFolder& folder) {
    const std::string command = Quoted(TESSOMAR_SOURCE_DIR "/scripts/wine-run") + " " +
                                Quoted(program) + " " + Quoted(WinePath(folder.path)) + " " +
                                std::to_string(folder.files) + " " +
                                std::to_string(folder.textFiles);
    const std::unique_ptr<FILE, int (*)(FILE*)> output(popen(command.c_str(), "r"), pclose);
    if (!output) throw std::runtime_error("cannot run " + program);
    std::string text;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, output.get())) {
        text.append(buffer, got);
    }
    // One line per step: its name, then the wall-clock and processor seconds.
    BrowsePass pass;
    std::istringstream lines(text);
    std::string step;
    Timing timing;
    while (lines >> step >> timing.wall >> timing.processor) {
        if (step == "load") pass.load = timing;
        if (step == "out") pass.out = timing;
        if (step == "into") pass.into = timing;
        if (step == "key") pass.keystrokes.push_back(timing);
    }
    if (pass.keystrokes.empty()) {
        throw std::runtime_error(folder.title + ": the Win32 pass failed: " + text);
    }
    return pass;
}

}  // namespace bench
