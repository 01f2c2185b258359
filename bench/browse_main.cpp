// tessomar_browse_bench [repetitions, default 7] [folder, default the temporary folder]
//                       [--win32 PROGRAM.exe]
//
// Times browsing on generated folders (empty; 10,000 and 100,000 files; 10,000 subfolders):
// Form_Load to a filled file list through the control model alone and through the Qt window
// (off screen), a change of folder out of each folder and back in, and the mask "*.txt" typed
// one character at a time; each against `ls -1` over the same folder in the same round.
// With --win32, the same passes through the Windows window of PROGRAM under wine
// (scripts/wine-run; needs a display, such as xvfb-run). Then the start-up of the window on
// the empty folder against a minimal Qt Widgets window that shows one label, and the peak
// memory of a whole pass in a process of its own. Rounds are interleaved so that a slow
// spell of a shared machine hits every contender, and medians are quoted.
//
// Both the wall-clock time and the processor time are printed, the latter in brackets: on a
// machine whose cores others share, the wall-clock time is mostly waiting for a core.
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "browse_folders.h"
#include "browse_passes.h"
#include "browse_wine.h"
#include "measure.h"
#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace {

namespace fs = std::filesystem;

// A child's mode: the start-up contenders, and a whole pass for its peak memory. Each ends
// with _exit right after its window is drawn, so that no teardown is timed.
constexpr const char* kShowLabel = "--show-label";
constexpr const char* kShowWindow = "--show-window";
constexpr const char* kBrowseWindow = "--browse-window";

// --show-label; --show-window STATE; --browse-window STATE FOLDER FILES TEXT_FILES.
int RunChild(const std::vector<std::string>& arguments) {
    const std::string& mode = arguments.at(0);
    if (mode == kShowLabel) {
        QLabel label(QStringLiteral("Select Source File"));
        label.show();
        QApplication::processEvents();
    } else if (mode == kShowWindow) {
        ui::qt::QtHost host;
        const remembered::RememberedFolder remembered(platform::FromNative(arguments.at(1)));
        window::Form1 form(host, remembered);
        ui::qt::MainWindow window(form, host);
        form.Load();
        window.show();
        QApplication::processEvents();
    } else if (mode == kBrowseWindow) {
        bench::BrowseQtWindow({"", arguments.at(2), arguments.at(1), std::stoul(arguments.at(3)),
                               std::stoul(arguments.at(4))});
        std::printf("%.1f\n", bench::PeakMemoryOfThisProgram());
    } else {
        throw std::runtime_error("unknown mode " + mode);
    }
    std::fflush(stdout);
    _exit(0);
}

struct Row {
    std::vector<bench::Timing> modelLoad, modelOut, modelInto, modelKeys;
    std::vector<bench::Timing> qtLoad, qtOut, qtInto, qtKeys;
    std::vector<bench::Timing> win32Load, win32Out, win32Into, win32Keys;
    std::vector<bench::Timing> lsRuns;
};

void Add(const bench::BrowsePass& pass, std::vector<bench::Timing>& load,
         std::vector<bench::Timing>& out, std::vector<bench::Timing>& into,
         std::vector<bench::Timing>& keys) {
    load.push_back(pass.load);
    out.push_back(pass.out);
    into.push_back(pass.into);
    keys.insert(keys.end(), pass.keystrokes.begin(), pass.keystrokes.end());
}

bench::Timing Slowest(const std::vector<bench::Timing>& timings) {
    bench::Timing slowest;
    for (const bench::Timing& timing : timings) {
        slowest.wall = std::max(slowest.wall, timing.wall);
        slowest.processor = std::max(slowest.processor, timing.processor);
    }
    return slowest;
}

void PrintLine(const char* what, const std::vector<bench::Timing>& timings, const bench::Timing& ls,
               const char* target) {
    if (timings.empty()) return;
    const bench::Timing median = bench::Median(timings);
    std::printf("  %-44s %7.1f ms (%7.1f) %6.2f (%5.2f)  %s\n", what, median.wall * 1e3,
                median.processor * 1e3, median.wall / ls.wall, median.processor / ls.processor,
                target);
}

void PrintRow(const bench::BrowseFolder& folder, const Row& row, bool big) {
    const bench::Timing ls = bench::Median(row.lsRuns);
    std::printf("\n%s (%zu files, %zu of them *.txt):\n", folder.title.c_str(), folder.files,
                folder.textFiles);
    std::printf("  %-44s %7.1f ms (%7.1f)   / ls -1\n", "ls -1", ls.wall * 1e3, ls.processor * 1e3);
    PrintLine("Form_Load to a filled list, model alone", row.modelLoad, ls,
              big ? "target at most 1.5" : "");
    PrintLine("the same through the Qt window", row.qtLoad, ls, big ? "target at most 2" : "");
    PrintLine("the same through the Win32 window (wine)", row.win32Load, ls, "");
    PrintLine("out to the parent folder, model alone", row.modelOut, ls, "");
    PrintLine("out to the parent folder, Qt window", row.qtOut, ls, "");
    PrintLine("out to the parent folder, Win32 window", row.win32Out, ls, "");
    PrintLine("back into the folder, model alone", row.modelInto, ls, "");
    PrintLine("back into the folder, Qt window", row.qtInto, ls, "");
    PrintLine("back into the folder, Win32 window", row.win32Into, ls, "");
    PrintLine("one mask keystroke (median), model alone", row.modelKeys, ls, "");
    PrintLine("one mask keystroke (median), Qt window", row.qtKeys, ls,
              big ? "target at most 30 ms and 0.3" : "");
    PrintLine("one mask keystroke (median), Win32 window", row.win32Keys, ls, "");
    PrintLine("the slowest keystroke, Qt window", {Slowest(row.qtKeys)}, ls, "");
    if (!row.win32Keys.empty()) {
        PrintLine("the slowest keystroke, Win32 window", {Slowest(row.win32Keys)}, ls, "");
    }
    if (!row.win32Load.empty()) {
        const double load =
            bench::Median(row.win32Load).processor / bench::Median(row.qtLoad).processor;
        const double key =
            bench::Median(row.win32Keys).processor / bench::Median(row.qtKeys).processor;
        std::printf("  Win32 / Qt, processor time: load %.2f, keystroke %.2f%s\n", load, key,
                    big ? " (target at most 2)" : "");
    }
}

void TimeBrowsing(const fs::path& parent, int repetitions, const std::string& win32Program) {
    const bench::WorkFolder work(parent);
    std::printf("Making the folders in %s ...\n", work.Path().c_str());
    std::fflush(stdout);
    const std::vector<bench::BrowseFolder> folders = bench::MakeBrowseFolders(work.Path());
    std::vector<Row> rows(folders.size());
    for (int round = 0; round < repetitions; ++round) {
        for (std::size_t k = 0; k < folders.size(); ++k) {
            const bench::BrowseFolder& folder = folders[k];
            Row& row = rows[k];
            row.lsRuns.push_back(bench::TimeQuietly({"ls", "-1", folder.path.string()}));
            Add(bench::BrowseModel(folder), row.modelLoad, row.modelOut, row.modelInto,
                row.modelKeys);
            Add(bench::BrowseQtWindow(folder), row.qtLoad, row.qtOut, row.qtInto, row.qtKeys);
            if (!win32Program.empty()) {
                Add(bench::BrowseWin32Window(win32Program, folder), row.win32Load, row.win32Out,
                    row.win32Into, row.win32Keys);
            }
        }
    }
    std::printf(
        "\nBrowsing, median of %d interleaved rounds; wall-clock time (processor time),\n"
        "and each as a ratio to ls -1 over the same folder:\n",
        repetitions);
    for (std::size_t k = 0; k < folders.size(); ++k) {
        PrintRow(folders[k], rows[k], folders[k].files >= 100000);
    }

    // Start-up and peak memory, each in a process of its own.
    const std::string self = "/proc/self/exe";
    const std::string emptyState = folders.front().state.string();
    std::vector<bench::Timing> label, window;
    for (int round = 0; round < repetitions; ++round) {
        label.push_back(bench::TimeQuietly({self, kShowLabel}));
        window.push_back(bench::TimeQuietly({self, kShowWindow, emptyState}));
    }
    const bench::Timing labelStart = bench::Median(label);
    const bench::Timing windowStart = bench::Median(window);
    std::printf("\nStart-up, from the start of the process to its window drawn, median of %d:\n",
                repetitions);
    std::printf("  %-44s %7.1f ms (%7.1f)\n", "a Qt Widgets window with one label",
                labelStart.wall * 1e3, labelStart.processor * 1e3);
    std::printf("  %-44s %7.1f ms (%7.1f) %6.2f (%5.2f)  target at most 1.2\n",
                "the window on the empty folder", windowStart.wall * 1e3,
                windowStart.processor * 1e3, windowStart.wall / labelStart.wall,
                windowStart.processor / labelStart.processor);

    std::printf("\nPeak memory of a whole pass through the Qt window, in a process of its own:\n");
    double emptyPeak = 0;
    for (const bench::BrowseFolder& folder : folders) {
        const double peak = std::stod(
            bench::OutputOf({self, kBrowseWindow, folder.state.string(), folder.path.string(),
                             std::to_string(folder.files), std::to_string(folder.textFiles)}));
        if (folder.files == 0 && emptyPeak == 0) emptyPeak = peak;
        std::printf("  %-44s %7.1f MiB, %+6.1f MiB over the empty folder%s\n", folder.title.c_str(),
                    peak, peak - emptyPeak, folder.files >= 100000 ? " (target at most +64)" : "");
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The window is drawn off screen, so the benchmark needs no display of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        if (!arguments.empty() && arguments[0].starts_with("--") && arguments[0] != "--win32") {
            return RunChild(arguments);
        }
        std::vector<std::string> positional;
        std::string win32Program;
        for (std::size_t k = 0; k < arguments.size(); ++k) {
            if (arguments[k] == "--win32" && k + 1 < arguments.size()) {
                win32Program = fs::absolute(arguments[++k]).string();
            } else {
                positional.push_back(arguments[k]);
            }
        }
        const int repetitions = positional.size() > 0 ? std::stoi(positional[0]) : 7;
        const fs::path parent =
            positional.size() > 1 ? fs::path(positional[1]) : fs::temp_directory_path();
        if (repetitions <= 0 || positional.size() > 2) {
            std::fprintf(stderr, "usage: %s [repetitions > 0] [folder] [--win32 PROGRAM.exe]\n",
                         argv[0]);
            return 2;
        }
        TimeBrowsing(parent, repetitions, win32Program);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tessomar_browse_bench: %s\n", error.what());
        return 1;
    }
}
