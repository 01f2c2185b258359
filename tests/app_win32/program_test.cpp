// tessomar.exe started with a file, a folder, a path it refuses, or an option, each in a
// process of its own whose windows this test reads through the system, as a user sees them.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/started_program_windows.h"
#include "tests/support/whole_files.h"
#include "ui/win32/main_window.h"

namespace {

namespace fs = std::filesystem;
using support::ClassOf;
using support::ScratchFolder;
using support::TextOf;
using support::WriteFile;

fs::path ProgramPath() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return (fs::path(self).parent_path() / TESSOMAR_PROGRAM_FROM_TESTS).lexically_normal();
}

// The program, started with these arguments (each quoted) in a working folder of the test's.
class Program : public support::StartedProgram {
public:
    Program(const std::vector<std::wstring>& arguments, const fs::path& workingFolder)
        : StartedProgram(CommandLine(arguments), workingFolder) {}

private:
    static std::wstring CommandLine(const std::vector<std::wstring>& arguments) {
        std::wstring line = L"\"" + ProgramPath().wstring() + L"\"";
        for (const std::wstring& argument : arguments) line += L" \"" + argument + L"\"";
        return line;
    }
};

// The main window's control of that name, as the program shows it.
struct ShownControl {
    HWND handle;
    std::wstring Text() const { return TextOf(handle); }
    bool Visible() const { return IsWindowVisible(handle) != FALSE; }
};

ShownControl Control(HWND window, const char* name) {
    return {GetDlgItem(window, ui::win32::ControlId(name))};
}

class ProgramTest : public ::testing::Test {
protected:
    ScratchFolder work_;
    ScratchFolder files_;
};

TEST_F(ProgramTest, AFileOpensItsFolderWithTheFilePickedWhateverLettersItsNameHas) {
    const fs::path folder = files_ / L"\u00dcbersicht \u03a9\u03bc\u03ad\u03b3\u03b1";
    fs::create_directory(folder);
    const std::wstring name = L"na\u00efve \u0414\u043e\u043c \u20ac \u4e2d.txt";
    WriteFile(folder / name, "the source");
    WriteFile(folder / L"other.dat", "another file");

    const Program program({(folder / name).wstring()}, work_.Path());
    ASSERT_TRUE(program.Started()) << ProgramPath();
    const HWND window = program.WindowOfClass(L"TessomarWindow");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Control(window, "Label1").Text(), L"Destination File");
    EXPECT_EQ(Control(window, "DestFile").Text(),
              L"na\u00efve \u0414\u043e\u043c \u20ac \u4e2d_XXX.txt");
    EXPECT_TRUE(Control(window, "DestFile").Visible());
    EXPECT_EQ(Control(window, "SFile").Text(), name);
    EXPECT_EQ(Control(window, "Path").Text(), folder.wstring());
    EXPECT_FALSE(Control(window, "File1").Visible());
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &focus));
    EXPECT_EQ(focus.hwndFocus, Control(window, "DestFile").handle);
    EXPECT_EQ(program.ClosedBy(window, WM_CLOSE, 0), 0);
}

TEST_F(ProgramTest, AFolderOpensThatFolderToPickTheSourceThere) {
    const fs::path folder = files_ / L"\u65e5\u672c \u00e9t\u00e9";
    fs::create_directory(folder);
    WriteFile(folder / L"only \u0436.txt", "x");
    // Taken from the working folder, as a name typed in a console is, and quoted with the
    // backslash a console completes a folder's name with.
    const Program program({L"..\\" + files_.Path().filename().wstring() + L"\\" +
                           folder.filename().wstring() + L"\\"},
                          work_.Path());
    ASSERT_TRUE(program.Started());
    const HWND window = program.WindowOfClass(L"TessomarWindow");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Control(window, "Label1").Text(), L"Select Source File");
    const HWND files = Control(window, "File1").handle;
    EXPECT_EQ(support::RowsOf(files), std::vector<std::wstring>{L"only \u0436.txt"});
    // LB_GETTEXT from another program is carried across as for a list that keeps no strings,
    // with room for a row's data only: the list gives that, not a text that would overrun it.
    wchar_t listed[MAX_PATH] = {};
    EXPECT_LE(SendMessageW(files, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(listed)),
              static_cast<LRESULT>(sizeof(ULONG_PTR)));
    EXPECT_FALSE(Control(window, "Label6").Visible());
    EXPECT_EQ(program.ClosedBy(window, WM_CLOSE, 0), 0);
}

TEST_F(ProgramTest, APathItRefusesIsSaidOnTheNoticeLineOfTheUsualWindow) {
    const Program program({(files_ / L"missing \u20ac.txt").wstring()}, work_.Path());
    ASSERT_TRUE(program.Started());
    const HWND window = program.WindowOfClass(L"TessomarWindow");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Control(window, "Label1").Text(), L"Select Source File");
    EXPECT_TRUE(Control(window, "Label6").Visible());
    EXPECT_EQ(Control(window, "Label6").Text(),
              L"missing \u20ac.txt: there is no such file or folder");
    EXPECT_EQ(program.ClosedBy(window, WM_CLOSE, 0), 0);
}

// What a message box of the program says: its title and its longest static text.
struct Box {
    std::wstring title;
    std::wstring text;
};

Box Read(HWND box) {
    Box seen{TextOf(box), {}};
    EnumChildWindows(
        box,
        [](HWND child, LPARAM parameter) {
            auto* seen = reinterpret_cast<Box*>(parameter);
            if (ClassOf(child) == L"Static" && TextOf(child).size() > seen->text.size()) {
                seen->text = TextOf(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    return seen;
}

TEST_F(ProgramTest, HelpVersionAndMistakesAreShownInAMessageBoxAndEndTheProgram) {
    const struct {
        std::wstring argument;
        std::wstring starts;
        int exitCode;
    } cases[] = {
        {L"--help", L"Usage: tessomar [FILE | FOLDER]", 0},
        {L"/?", L"Usage: tessomar [FILE | FOLDER]", 0},
        {L"--version", L"tessomar " TESSOMAR_VERSION, 0},
        {L"--verbose", L"tessomar: unknown option '--verbose'", 2},
    };
    for (const auto& option : cases) {
        const Program program({option.argument}, work_.Path());
        ASSERT_TRUE(program.Started());
        const HWND box = program.WindowOfClass(L"#32770");
        ASSERT_NE(box, nullptr) << option.argument;
        const Box seen = Read(box);
        EXPECT_EQ(seen.title, L"Tessomar");
        EXPECT_EQ(seen.text.rfind(option.starts, 0), 0u) << seen.text;
        EXPECT_EQ(program.ClosedBy(box, WM_COMMAND, IDOK), option.exitCode) << option.argument;
    }
    EXPECT_FALSE(fs::exists(work_ / "LastPath"));
}

}  // namespace
