// The Win32 window through its real controls: typed characters, clicks, Enter and
// double-clicks sent to the system's own EDIT, BUTTON and LISTBOX controls, on a virtual
// screen under wine.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "remembered/remembered_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shared_vectors.h"
#include "tests/support/whole_files.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_host.h"
#include "window/design.h"
#include "window/form1.h"

namespace {

namespace fs = std::filesystem;
using support::ReadFile;
using support::WriteFile;

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The rows of a list as a screen reader reads them.
std::vector<std::wstring> Rows(HWND list) {
    std::vector<std::wstring> rows;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM row = 0; row < static_cast<WPARAM>(count); ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)),
                          L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        rows.push_back(text);
    }
    return rows;
}

// The window a timer interrupts a run in; set by the test before the run starts.
HWND windowToClose = nullptr;

class Win32WindowTest : public ::testing::Test {
protected:
    Win32WindowTest() {
        WriteFile(files_ / "report.txt", support::kSharedSource);
        WriteFile(files_ / "other.dat", "another file");
        form_.Load();
        form_.Dir1.SetPath(files_.Text());
        window_.Show(SW_SHOWNORMAL);
        Pump();
    }

    HWND Control(const char* name) const { return window_.ControlFor(name); }
    bool Shown(const char* name) const { return IsWindowVisible(Control(name)) != FALSE; }

    // Delivers what is queued, as the program's own loop does.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window_.PreTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    void Type(const char* name, const std::u16string& text) {
        SetFocus(Control(name));
        for (const char16_t unit : text) SendMessageW(Control(name), WM_CHAR, unit, 1);
        Pump();
    }
    void Press(UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    void Click(const char* name) {
        SendMessageW(Control(name), BM_CLICK, 0, 0);
        Pump();
    }
    void DoubleClickFile(const wchar_t* name) {
        const HWND list = Control("File1");
        const auto index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name));
        ASSERT_GE(index, 0);
        RECT item;
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 4, item.top + 2);
        SetFocus(list);
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            SendMessageW(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
        Pump();
    }

    // Starts a run of a 64 MiB file that interrupt, a timer, breaks into 10 ms later from the
    // run's own painting; the run must then have stopped and left no file behind.
    void RunALargeFileInterruptedBy(TIMERPROC interrupt) {
        WriteFile(files_ / "large.bin", std::string(std::size_t{64} << 20, 'x'));
        form_.Dir1.SetPath(files_.Text());
        Pump();
        DoubleClickFile(L"large.bin");
        Press(VK_RETURN);
        ASSERT_TRUE(Shown("Start"));
        windowToClose = window_.Handle();
        SetTimer(nullptr, 0, 10, interrupt);
        // Deliberately, not as the second half of a double click on OK.
        Sleep(GetDoubleClickTime());
        Click("Start");
        EXPECT_NE(form_.Label1.Caption(), u"... Done ...");
        EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(files_.Path()), {}).size(), 3u);
        EXPECT_FALSE(fs::exists(files_ / "large_XXX.bin"));
    }

    support::ScratchFolder work_;
    support::ScratchFolder files_;
    ui::win32::Win32Host host_;
    remembered::RememberedFolder remembered_{work_.Text()};
    window::Form1 form_{host_, remembered_};
    ui::win32::MainWindow window_{GetModuleHandleW(nullptr), form_, host_};
};

TEST_F(Win32WindowTest, OpensOnTheBrowseStageAtTheDesignedSize) {
    const HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    RECT client;
    GetClientRect(window_.Handle(), &client);
    EXPECT_EQ(client.right, 415);
    EXPECT_EQ(client.bottom, 288);
    EXPECT_EQ(TextOf(window_.Handle()), L"Tessomar - Secure  File encryp / decrypt");
    EXPECT_EQ(TextOf(Control("Label1")), L"Select Source File");
    for (const char* shown : {"Label1", "Help", "Drive1", "Dir1", "File1", "filemask"}) {
        EXPECT_TRUE(Shown(shown)) << shown;
    }
    for (const char* hidden : {"go", "SFile", "DFile", "DestFile", "Pwd", "Start", "ProgBar"}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_EQ(GetFocus(), Control("Dir1"));
    RECT drive;
    GetWindowRect(Control("Drive1"), &drive);
    MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&drive), 2);
    EXPECT_EQ(drive.left, 8);  // 120 twips
    EXPECT_EQ(drive.top, 32);  // 480 twips
    EXPECT_EQ(SendMessageW(Control("Pwd"), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_TRUE(GetWindowLongW(Control("SFile"), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(GetWindowLongW(Control("DestFile"), GWL_STYLE) & ES_READONLY);
}

// The first column of a row of a list, in the list's pixels, that is drawn in another colour
// than the row's own background (read at the row's right end, where no name reaches).
int FirstInkedColumn(HWND list, int row) {
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const HDC dc = GetDC(list);
    const COLORREF background = GetPixel(dc, item.right - 2, (item.top + item.bottom) / 2);
    int found = -1;
    for (int x = item.left; x < item.right - 2 && found < 0; ++x) {
        for (int y = item.top + 1; y < item.bottom - 1; ++y) {
            if (GetPixel(dc, x, y) != background) {
                found = x;
                break;
            }
        }
    }
    ReleaseDC(list, dc);
    return found;
}

// Moved to a screen of another scale: the system proposes where the window goes.
TEST_F(Win32WindowTest, AtANewScaleTheWindowItsControlsAndFontsAreLaidOutAgain) {
    RECT proposed{40, 30, 700, 500};
    SendMessageW(window_.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&proposed));
    RECT client;
    GetClientRect(window_.Handle(), &client);
    EXPECT_EQ(client.right, 830);
    EXPECT_EQ(client.bottom, 576);
    RECT frame;
    GetWindowRect(window_.Handle(), &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    RECT drive;
    GetWindowRect(Control("Drive1"), &drive);
    MapWindowPoints(nullptr, window_.Handle(), reinterpret_cast<POINT*>(&drive), 2);
    EXPECT_EQ(drive.left, 16);    // 120 twips
    EXPECT_EQ(drive.top, 64);     // 480 twips
    EXPECT_EQ(drive.right, 370);  // 2775 twips
    LOGFONTW status{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("Label1"), WM_GETFONT, 0, 0)),
               sizeof status, &status);
    EXPECT_EQ(status.lfHeight, -32);  // 12 points
    // The folder list's rows are shifted by their level at the new scale too: 16 pixels a
    // level at 192 dots an inch (the root's row against the second level's, neither selected).
    Pump();
    const auto& folders = form_.Dir1.Entries();
    ASSERT_GE(folders.size(), 3u);
    ASSERT_NE(form_.Dir1.ListIndex(), 2);
    const int levels = folders[2].depth - folders[0].depth;
    ASSERT_GT(levels, 0);
    const int shift = FirstInkedColumn(Control("Dir1"), 2) - FirstInkedColumn(Control("Dir1"), 0);
    EXPECT_NEAR(shift, 16 * levels, 3);
}

// Whether a point of a control (in its own pixels) is drawn by it: its shape leaves out what
// a control drawn above it covers.
bool Draws(HWND control, int x, int y) {
    const HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const bool drawn = GetWindowRgn(control, shape) == ERROR || PtInRegion(shape, x, y);
    DeleteObject(shape);
    return drawn;
}

TEST_F(Win32WindowTest, WhereTwoPlacesOverlapTheBorderOfWhatTakesInputIsDrawnWhole) {
    // The status line (48..377 by 8..33) over Drive1's top row (32, from 8 to 185) and
    // Help's left column (376).
    const HWND status = Control("Label1");
    EXPECT_FALSE(Draws(status, 376 - 48, 10));
    EXPECT_TRUE(Draws(status, 375 - 48, 10));
    EXPECT_FALSE(Draws(status, 20, 32 - 8));
    EXPECT_TRUE(Draws(status, 20, 31 - 8));
    EXPECT_TRUE(Draws(status, 300, 32 - 8));
    // OK (from 112 down) ends on the folder box's top row (144) but is drawn whole while
    // that box is hidden; Start, shown with it, gives way to it.
    DoubleClickFile(L"report.txt");
    EXPECT_TRUE(Draws(Control("go"), 20, 144 - 112));
    Press(VK_RETURN);
    ASSERT_TRUE(Shown("Path"));
    EXPECT_FALSE(Draws(Control("Start"), 20, 144 - 112));
    EXPECT_TRUE(Draws(Control("Start"), 20, 143 - 112));
}

TEST_F(Win32WindowTest, TypingAMaskRefiltersTheFileList) {
    EXPECT_EQ(Rows(Control("File1")), (std::vector<std::wstring>{L"other.dat", L"report.txt"}));
    SendMessageW(Control("filemask"), EM_SETSEL, 0, -1);
    Type("filemask", u"*.txt");
    EXPECT_EQ(form_.filemask.GetText(), u"*.txt");
    EXPECT_EQ(Rows(Control("File1")), std::vector<std::wstring>{L"report.txt"});
}

// As in a list of strings: from the entry after the one with the focus, round to the top,
// letter case aside; a character no entry begins with leaves the selection. The file list's
// selection is the window's, as after a click.
TEST_F(Win32WindowTest, ACharacterTypedInAListSelectsTheNextEntryThatBeginsWithIt) {
    WriteFile(files_ / "Rates.csv", "rates");
    fs::create_directory(files_ / "Beta");
    fs::create_directory(files_ / "bin");
    form_.Dir1.SetPath(files_.Text());
    Pump();
    ASSERT_EQ(Rows(Control("File1")),
              (std::vector<std::wstring>{L"other.dat", L"Rates.csv", L"report.txt"}));
    const struct {
        const char* list;
        char16_t typed;
        const wchar_t* selected;
    } typing[] = {
        {"File1", u'r', L"Rates.csv"}, {"File1", u'R', L"report.txt"},
        {"File1", u'r', L"Rates.csv"}, {"File1", u'O', L"other.dat"},
        {"File1", u'x', L"other.dat"}, {"Dir1", u'b', L"Beta"},
        {"Dir1", u'B', L"bin"},
    };
    for (const auto& step : typing) {
        Type(step.list, std::u16string(1, step.typed));
        const HWND list = Control(step.list);
        const auto row = SendMessageW(list, LB_GETCURSEL, 0, 0);
        ASSERT_GE(row, 0) << step.list << " " << static_cast<char>(step.typed);
        EXPECT_EQ(Rows(list)[static_cast<std::size_t>(row)], step.selected)
            << step.list << " " << static_cast<char>(step.typed);
        if (list == Control("File1")) {
            EXPECT_EQ(form_.File1.ListIndex(), row);
        }
    }
}

TEST_F(Win32WindowTest, AWholeRunThroughTheControls) {
    DoubleClickFile(L"report.txt");
    EXPECT_EQ(TextOf(Control("Label1")), L"Destination File");
    EXPECT_EQ(TextOf(Control("DestFile")), L"report_XXX.txt");
    EXPECT_FALSE(Shown("File1"));
    EXPECT_EQ(GetFocus(), Control("DestFile"));

    Press(VK_RETURN);
    EXPECT_EQ(TextOf(Control("Label1")), L"Enter Password");
    EXPECT_TRUE(Shown("Pwd"));
    EXPECT_TRUE(Shown("Start"));
    EXPECT_FALSE(Shown("go"));
    EXPECT_EQ(TextOf(Control("SFile")), L"report.txt");
    EXPECT_EQ(GetFocus(), Control("Pwd"));

    Type("Pwd", support::kSharedPassword);
    EXPECT_TRUE(Shown("Pwd2"));
    SetFocus(Control("Pwd"));
    Press(VK_RETURN);  // on to the retype box
    EXPECT_EQ(GetFocus(), Control("Pwd2"));
    Type("Pwd2", support::kSharedPassword);
    Press(VK_RETURN);  // Enc/Decrypt

    EXPECT_EQ(TextOf(Control("Label1")), L"... Done ...");
    EXPECT_TRUE(Shown("Progress"));
    EXPECT_EQ(TextOf(Control("Progress")), L" 35 Bytes");
    const std::string written = ReadFile(files_ / "report_XXX.txt");
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()),
              support::kSharedDestination);
}

TEST_F(Win32WindowTest, PasswordsThatDoNotMatchAreTypedAgainFromTheFirstBox) {
    DoubleClickFile(L"report.txt");
    Press(VK_RETURN);
    Type("Pwd", u"secret");
    Type("Pwd2", u"Secret");
    Press(VK_RETURN);
    EXPECT_EQ(TextOf(Control("Label1")), L"Passwords do not match");
    EXPECT_EQ(GetFocus(), Control("Pwd"));
}

// A run draws its bar every 10000 bytes: the bar is invalidated by a draw, painted, and
// invalidated again by the next draw, whatever number of draws came between two paints.
TEST_F(Win32WindowTest, TheProgressBarIsRepaintedAfterEveryDrawSinceItsLastPaint) {
    form_.ProgBar.SetVisible(true);
    form_.ProgBar.SetScaleWidth(1000);
    const HWND bar = Control("ProgBar");
    for (int round = 1; round <= 3; ++round) {
        for (int count = 1; count <= 50; ++count) {
            form_.ProgBar.DrawBox(
                {0, 0, static_cast<double>(round * count), 100, window::kProgressColor});
        }
        EXPECT_TRUE(GetUpdateRect(bar, nullptr, FALSE)) << "round " << round;
        UpdateWindow(bar);
        EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE)) << "round " << round;
    }
}

TEST_F(Win32WindowTest, AClickOnStartRightAfterOKIsTheSecondHalfOfADoubleClick) {
    DoubleClickFile(L"report.txt");
    Click("go");
    Click("Start");
    EXPECT_EQ(TextOf(Control("Label1")), L"Enter Password");
    EXPECT_FALSE(fs::exists(files_ / L"report_XXX.txt"));
}

TEST_F(Win32WindowTest, AnExistingDestinationIsOfferedForDeletionByClicks) {
    DoubleClickFile(L"report.txt");
    SendMessageW(Control("DestFile"), EM_SETSEL, 0, -1);
    Type("DestFile", u"other.dat");
    Click("go");
    EXPECT_EQ(TextOf(Control("Label1")),
              L"Destination file exists, choose another name or delete it");
    ASSERT_TRUE(Shown("Murder"));
    Click("Murder");
    EXPECT_FALSE(fs::exists(files_ / "other.dat"));
    Click("go");
    EXPECT_EQ(TextOf(Control("Label1")), L"Enter Password");
}

void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageW(windowToClose, WM_CLOSE, 0, 0);
}

TEST_F(Win32WindowTest, ClosingTheWindowDuringARunStopsItAndLeavesNoFile) {
    RunALargeFileInterruptedBy(CloseTheWindow);
    EXPECT_FALSE(IsWindow(windowToClose));
}

// As the keyboard sends them, into the queue where keys wait during a run.
void CALLBACK PressAltF4(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    INPUT keys[4] = {};
    const WORD order[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int n = 0; n < 4; ++n) {
        keys[n].type = INPUT_KEYBOARD;
        keys[n].ki.wVk = order[n];
        keys[n].ki.dwFlags = n < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

TEST_F(Win32WindowTest, AltF4DuringARunStopsItAsTheCloseButtonDoes) {
    RunALargeFileInterruptedBy(PressAltF4);
    EXPECT_EQ(form_.Label1.Caption(), u"Stopped, nothing was written");
    EXPECT_FALSE(IsWindow(windowToClose));
}

LRESULT sessionEndAnswer = FALSE;

void CALLBACK EndTheSession(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    sessionEndAnswer = SendMessageW(windowToClose, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
}

TEST_F(Win32WindowTest, LoggingOffDuringARunStopsItAndLeavesNoFile) {
    RunALargeFileInterruptedBy(EndTheSession);
    EXPECT_EQ(sessionEndAnswer, TRUE);
}

// What a message box showed; filled by the timer that closes it.
struct SeenBox {
    std::wstring title;
    std::wstring text;
};
SeenBox seenBox;

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr) return;
    seenBox.title = TextOf(box);
    EnumChildWindows(
        box,
        [](HWND child, LPARAM) {
            wchar_t kind[16];
            GetClassNameW(child, kind, 16);
            if (std::wstring(kind) == L"Static" && TextOf(child).size() > seenBox.text.size()) {
                seenBox.text = TextOf(child);
            }
            return TRUE;
        },
        0);
    KillTimer(nullptr, timer);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Win32WindowTest, HelpShowsTheInstructionInAMessageBoxTitledWithTheProgramsName) {
    seenBox = {};
    SetTimer(nullptr, 0, 100, CloseMessageBox);
    Click("Help");
    EXPECT_EQ(seenBox.title, L"Tessomar");
    EXPECT_NE(seenBox.text.find(L"Enter password in both boxes"), std::wstring::npos);
    EXPECT_EQ(TextOf(Control("Label1")), L"Select Source File");
}

// Files dropped as a file manager drops them: a wide list of full paths.
HGLOBAL DropOf(const std::vector<fs::path>& paths) {
    std::wstring list;
    for (const fs::path& path : paths) list += path.wstring() + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return memory;
}

TEST_F(Win32WindowTest, AFileDroppedWhileBrowsingIsPickedAndADropAnyOtherTimeChangesNothing) {
    EXPECT_TRUE(GetWindowLongW(window_.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SendMessageW(window_.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({files_ / "report.txt", files_ / "other.dat"})),
                 0);
    Pump();
    EXPECT_EQ(TextOf(Control("Label6")), L"Tessomar takes one file at a time: open a single file.");
    EXPECT_TRUE(Shown("File1"));

    SendMessageW(window_.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({files_ / "report.txt"})), 0);
    Pump();
    EXPECT_EQ(TextOf(Control("Label1")), L"Destination File");
    EXPECT_EQ(TextOf(Control("DestFile")), L"report_XXX.txt");
    EXPECT_FALSE(Shown("Label6"));

    SendMessageW(window_.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({files_ / "other.dat"})), 0);
    Pump();
    EXPECT_EQ(TextOf(Control("Label1")), L"Destination File");
    EXPECT_EQ(TextOf(Control("DestFile")), L"report_XXX.txt");
}

TEST_F(Win32WindowTest, EachLabelComesJustBeforeTheBoxItNamesAndTabStillFollowsTheDesign) {
    for (const window::DesignEntry& label : window::Design().controls) {
        if (label.buddy.empty()) continue;
        EXPECT_EQ(GetWindow(Control(label.buddy.c_str()), GW_HWNDPREV), Control(label.name.c_str()))
            << label.name;
    }
    // The system's Tab goes through the controls that take the focus in the order they are
    // among the window's children.
    std::vector<HWND> stops;
    for (HWND child = GetWindow(window_.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) stops.push_back(child);
    }
    std::vector<HWND> designed;
    for (const window::DesignEntry* entry : window::TabOrder()) {
        designed.push_back(Control(entry->name.c_str()));
    }
    EXPECT_EQ(stops, designed);
    // And so it does on the Browse stage.
    for (const char* next : {"File1", "Drive1", "filemask", "Help", "Dir1"}) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), Control(next)) << next;
    }
}

// What a screen reader is told a control is called and what it is, as it asks the system.
struct Heard {
    std::wstring name;
    long role = 0;
};

// child: CHILDID_SELF for the control, a row's number from 1 for a row of a list.
Heard HeardOf(HWND control, LONG child = CHILDID_SELF) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return {L"<no accessible object>"};
    }
    VARIANT asked;
    VariantInit(&asked);
    asked.vt = VT_I4;
    asked.lVal = child;
    Heard heard;
    BSTR name = nullptr;
    if (FAILED(accessible->get_accName(asked, &name))) heard.name = L"<failed>";
    if (name != nullptr) heard.name = name;
    SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(accessible->get_accRole(asked, &role)) && role.vt == VT_I4)
        heard.role = role.lVal;
    VariantClear(&role);
    accessible->Release();
    return heard;
}

TEST_F(Win32WindowTest, ScreenReadersHearEveryControlByItsNameAndRole) {
    const struct {
        const char* control;
        const wchar_t* name;
        long role;
    } expected[] = {
        {"Label1", L"Select Source File", ROLE_SYSTEM_STATICTEXT},
        {"Help", L"Help", ROLE_SYSTEM_PUSHBUTTON},
        {"Drive1", L"Select drive", ROLE_SYSTEM_COMBOBOX},
        {"Dir1", L"Select working directory", ROLE_SYSTEM_LIST},
        {"File1", L"Doubleclick to select file", ROLE_SYSTEM_LIST},
        {"filemask", L"Filename Mask", ROLE_SYSTEM_TEXT},
        {"DestFile", L"Enter desination file, or use this suggested name", ROLE_SYSTEM_TEXT},
        {"go", L"OK", ROLE_SYSTEM_PUSHBUTTON},
        {"Murder", L"Kill it !", ROLE_SYSTEM_PUSHBUTTON},
        {"Pwd", L"Enter Password or leave blank for non-secure file hiding", ROLE_SYSTEM_TEXT},
        {"Label5", L"Retype Password", ROLE_SYSTEM_STATICTEXT},
        {"Pwd2", L"Retype Password", ROLE_SYSTEM_TEXT},
        {"Start", L"Enc/Decrypt", ROLE_SYSTEM_PUSHBUTTON},
        {"Label4", L"Path", ROLE_SYSTEM_STATICTEXT},
        {"Path", L"Path", ROLE_SYSTEM_TEXT},
        {"Label2", L"Source", ROLE_SYSTEM_STATICTEXT},
        {"SFile", L"Source", ROLE_SYSTEM_TEXT},
        {"Label3", L"Destination", ROLE_SYSTEM_STATICTEXT},
        {"DFile", L"Destination", ROLE_SYSTEM_TEXT},
        {"Progress", L"Bytes processed", ROLE_SYSTEM_TEXT},
        {"ProgBar", L"Progress", ROLE_SYSTEM_PROGRESSBAR},
        {"Label6", L"", ROLE_SYSTEM_STATICTEXT},
    };
    ASSERT_EQ(std::size(expected), window::Design().controls.size());
    for (const auto& control : expected) {
        const Heard heard = HeardOf(Control(control.control));
        EXPECT_EQ(heard.name, control.name) << control.control;
        EXPECT_EQ(heard.role, control.role) << control.control;
    }
    // The lists' rows by their names, as the lists show them.
    EXPECT_EQ(HeardOf(Control("File1"), 2).name, L"report.txt");
    EXPECT_EQ(HeardOf(Control("Dir1"), form_.Dir1.ListIndex() + 1).name,
              files_.Path().filename().wstring());
    // A label says what it shows now, and the password box keeps its own name, not the
    // label's beside it.
    DoubleClickFile(L"report.txt");
    Click("go");
    EXPECT_EQ(HeardOf(Control("Label1")).name, L"Enter Password");
    EXPECT_EQ(HeardOf(Control("Pwd")).name,
              L"Enter Password or leave blank for non-secure file hiding");
}

}  // namespace
