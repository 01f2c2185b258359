// The window at the screen's scale and in the user's colours. The system hands a program both
// when it starts, from the user's settings: each case here sets them, starts this test
// program again to look at its window (the InAStartedProgram cases, which only run so) and
// puts the settings back.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "remembered/remembered_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_host.h"
#include "window/design.h"
#include "window/form1.h"

namespace {

namespace fs = std::filesystem;

constexpr char kExpectedDpi[] = "TESSOMAR_EXPECTED_DPI";
constexpr char kExpectedColours[] = "TESSOMAR_EXPECTED_COLOURS";

// One value of the user's settings, set for as long as this lives.
class UserSetting {
public:
    UserSetting(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
        : name_(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                        nullptr);
        DWORD oldSize = sizeof old_;
        hadOne_ = RegQueryValueExW(key_, name, nullptr, &oldType_, old_, &oldSize) == ERROR_SUCCESS;
        oldSize_ = oldSize;
        RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    ~UserSetting() {
        if (hadOne_) {
            RegSetValueExW(key_, name_.c_str(), 0, oldType_, old_, oldSize_);
        } else {
            RegDeleteValueW(key_, name_.c_str());
        }
        RegCloseKey(key_);
    }
    UserSetting(const UserSetting&) = delete;
    UserSetting& operator=(const UserSetting&) = delete;

private:
    HKEY key_ = nullptr;
    std::wstring name_;
    bool hadOne_ = false;
    DWORD oldType_ = 0;
    BYTE old_[256] = {};
    DWORD oldSize_ = 0;
};

UserSetting Colour(const wchar_t* name, const std::wstring& value) {
    return UserSetting(L"Control Panel\\Colors", name, REG_SZ, value.c_str(),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Runs the InAStartedProgram case of that name in a new start of this program, with one
// variable set for it to know what to expect; its exit code.
DWORD RunStarted(const std::string& test, const char* variable, const std::string& value) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=InAStartedProgram." +
                           std::wstring(test.begin(), test.end());
    SetEnvironmentVariableA(variable, value.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const BOOL made = CreateProcessW(program, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &startup, &started);
    SetEnvironmentVariableA(variable, nullptr);
    if (!made) return 1000;
    WaitForSingleObject(started.hProcess, 120'000);
    DWORD code = 1001;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return code;
}

TEST(Win32Scales, AtEachScaleOfTheScreenTheWindowIsTheDesignScaled) {
    for (const DWORD dpi : {96, 144, 192}) {
        const UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                                sizeof dpi);
        EXPECT_EQ(RunStarted("AtTheScreensScaleTheWindowIsTheDesignScaled", kExpectedDpi,
                             std::to_string(dpi)),
                  0u)
            << dpi << " DPI";
    }
}

TEST(Win32Colours, InADarkColourSchemeEveryTextIsReadable) {
    const UserSetting window = Colour(L"Window", L"0 0 0");
    const UserSetting face = Colour(L"ButtonFace", L"0 0 0");
    const UserSetting windowText = Colour(L"WindowText", L"255 255 255");
    const UserSetting buttonText = Colour(L"ButtonText", L"255 255 255");
    EXPECT_EQ(RunStarted("InTheUsersColoursEveryTextIsReadable", kExpectedColours, "dark"), 0u);
}

// ---------------------------------------------------------------------------------------
// What the started program looks at.

std::optional<std::string> Expected(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

RECT PlaceInParent(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

RECT ClientOf(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return client;
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The room a text takes in a control's own font, wrapped at words within width.
struct Room {
    int width, height, lines;
};

Room RoomFor(HWND control, const std::wstring& text, int width) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT needed{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {needed.right, needed.bottom, needed.bottom / std::max(1L, metrics.tmHeight)};
}

class InAStartedProgram : public ::testing::Test {
protected:
    InAStartedProgram() {
        support::WriteFile(files_ / "report.txt", "some words");
        form_.Load();
        form_.Dir1.SetPath(files_.Text());
        window_.Show(SW_SHOWNORMAL);
        Pump();
    }
    HWND Control(const std::string& name) const { return window_.ControlFor(name); }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window_.PreTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The notice the window gives for a destination name, or for OK with the name proposed.
    std::wstring NoticeFor(const fs::path& folder, const std::u16string& name = {}) {
        form_.Dir1.SetPath(support::AsText(folder));
        form_.File1.Select(0);
        form_.File1.DblClick();
        if (!name.empty()) form_.DestFile.SetText(name);
        form_.go.Click();
        Pump();
        return form_.Label6.Visible() ? TextOf(Control("Label6")) : L"";
    }

    support::ScratchFolder work_;
    support::ScratchFolder files_;
    ui::win32::Win32Host host_;
    remembered::RememberedFolder remembered_{work_.Text()};
    window::Form1 form_{host_, remembered_};
    ui::win32::MainWindow window_{GetModuleHandleW(nullptr), form_, host_};
};

TEST_F(InAStartedProgram, AtTheScreensScaleTheWindowIsTheDesignScaled) {
    const std::optional<std::string> expected = Expected(kExpectedDpi);
    if (!expected) GTEST_SKIP() << "started by Win32Scales only";
    const int dpi = std::stoi(*expected);
    ASSERT_EQ(static_cast<int>(GetDpiForWindow(window_.Handle())), dpi);

    // 6225 by 4320 twips; at 144 DPI the width is 622.5 pixels, and either side will do.
    const std::map<int, SIZE> clientAreas{{96, {415, 288}}, {144, {623, 432}}, {192, {830, 576}}};
    const RECT client = ClientOf(window_.Handle());
    EXPECT_NEAR(client.right, clientAreas.at(dpi).cx, dpi == 144 ? 1 : 0);
    EXPECT_EQ(client.bottom, clientAreas.at(dpi).cy);

    RECT frame, work;
    GetWindowRect(window_.Handle(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                frame.bottom <= work.bottom)
        << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;

    const auto scaled = [dpi](int twips) { return twips * dpi / 1440.0; };
    for (const window::DesignEntry& entry : window::Design().controls) {
        const HWND control = Control(entry.name);
        const RECT place = PlaceInParent(control);
        EXPECT_NEAR(place.left, scaled(entry.left), 1) << entry.name;
        EXPECT_NEAR(place.top, scaled(entry.top), 1) << entry.name;
        EXPECT_NEAR(place.right, scaled(entry.left + entry.width), 1) << entry.name;
        // The drive list is as high as its font when closed.
        if (entry.kind != window::ControlKind::DriveListBox) {
            EXPECT_NEAR(place.bottom, scaled(entry.top + entry.height), 1) << entry.name;
        }
        const RECT inside = ClientOf(control);
        const std::wstring text = TextOf(control);
        if (entry.kind == window::ControlKind::Label && !text.empty()) {
            EXPECT_LE(RoomFor(control, text, inside.right).height, inside.bottom) << entry.name;
        } else if (entry.kind == window::ControlKind::CommandButton) {
            const Room room = RoomFor(control, text, 10'000);
            EXPECT_LE(room.width + 4, inside.right) << entry.name;
            EXPECT_LE(room.height + 2, inside.bottom) << entry.name;
        } else if (entry.kind == window::ControlKind::TextBox) {
            EXPECT_LE(RoomFor(control, L"Ag", 10'000).height, inside.bottom) << entry.name;
        }
    }

    // The program's own notices take two lines of the notice line at most, all of them seen.
    const HWND noticeLine = Control("Label6");
    const RECT noticeRoom = ClientOf(noticeLine);
    fs::create_directory(work_ / "LastPath");  // not the program's file: it is left alone
    fs::create_directories(files_ / L"\u041f\u0430\u043f\u043a\u0430");
    support::WriteFile(files_ / L"\u041f\u0430\u043f\u043a\u0430" / "a.txt", "text");
    support::WriteFile(work_ / "b.txt", "text");
    const std::vector<std::wstring> notices{
        NoticeFor(files_.Path(), u"."),
        NoticeFor(files_.Path(), u"in\\folder.txt"),
        NoticeFor(files_.Path(), u"what?.txt"),
        NoticeFor(files_.Path(), u"CON"),
        NoticeFor(files_.Path(), std::u16string(300, u'n')),
        NoticeFor(work_.Path(), u"LastPath"),
        NoticeFor(files_.Path() / L"\u041f\u0430\u043f\u043a\u0430"),
        NoticeFor(files_.Path()),
    };
    for (const std::wstring& notice : notices) {
        EXPECT_FALSE(notice.empty());
        const Room room = RoomFor(noticeLine, notice, noticeRoom.right);
        EXPECT_LE(room.lines, 2) << std::string(notice.begin(), notice.end());
        EXPECT_LE(room.height, noticeRoom.bottom) << std::string(notice.begin(), notice.end());
    }
}

double Contrast(COLORREF a, COLORREF b) {
    const auto design = [](COLORREF c) {
        return window::Color{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    return window::Contrast(design(a), design(b));
}

TEST_F(InAStartedProgram, InTheUsersColoursEveryTextIsReadable) {
    if (!Expected(kExpectedColours)) GTEST_SKIP() << "started by Win32Colours only";
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), RGB(0, 0, 0));
    ASSERT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0));
    ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(255, 255, 255));
    ASSERT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(255, 255, 255));
    form_.Pwd.SetBackColor(window::kRed);
    form_.Progress.SetBackColor(window::kProgressColor);

    // The colours each control is given to draw its text in, as the system asks the window.
    const HDC dc = CreateCompatibleDC(nullptr);
    const auto given = [&](const window::DesignEntry& entry) {
        const HWND control = Control(entry.name);
        const bool editable = entry.kind == window::ControlKind::TextBox &&
                              !(GetWindowLongW(control, GWL_STYLE) & ES_READONLY);
        SendMessageW(window_.Handle(), editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        return std::pair(GetTextColor(dc), GetBkColor(dc));
    };
    for (const window::DesignEntry& entry : window::Design().controls) {
        if (entry.kind != window::ControlKind::Label && entry.kind != window::ControlKind::TextBox)
            continue;
        const auto [text, background] = given(entry);
        EXPECT_GE(Contrast(text, background), 4.5) << entry.name;
    }
    const auto entry = [](const std::string& name) {
        const auto& controls = window::Design().controls;
        return *std::find_if(controls.begin(), controls.end(),
                             [&](const auto& control) { return control.name == name; });
    };
    // The design's colours stay, the scheme's take the rest.
    EXPECT_EQ(given(entry("Pwd")), std::pair(RGB(0, 0, 0), RGB(255, 0, 0)));
    EXPECT_EQ(given(entry("SFile")), std::pair(RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(given(entry("Label1")).first, RGB(0, 0, 255));
    EXPECT_EQ(given(entry("Label2")), std::pair(RGB(255, 255, 255), RGB(0, 0, 0)));
    DeleteDC(dc);
}

}  // namespace
