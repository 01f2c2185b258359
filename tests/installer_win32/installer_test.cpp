// The installer as a user or an administrator runs it, silently with msiexec: what an install
// puts in place (the program, the Start menu shortcut, Explorer's verbs and "Open with", the
// entry under Installed apps), the program started as Explorer starts it, the upgrade, and an
// uninstall that leaves nothing of it and everything of the user's.
#include <windows.h>
#include <gtest/gtest.h>
#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tests/support/started_program_windows.h"
#include "tests/support/whole_files.h"
#include "ui/win32/main_window.h"

namespace {

namespace fs = std::filesystem;
using support::ReadFile;
using support::ScratchFolder;
using support::StartedProgram;
using support::TextOf;
using support::WriteFile;

fs::path BesideTests(const char* relative) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return (fs::path(self).parent_path() / relative).lexically_normal();
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// Whether two paths name one file or folder, as the system compares names.
bool SamePath(const fs::path& a, const fs::path& b) {
    std::wstring left = a.lexically_normal().wstring(), right = b.lexically_normal().wstring();
    while (left.size() > 3 && left.back() == L'\\') left.pop_back();
    while (right.size() > 3 && right.back() == L'\\') right.pop_back();
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// msiexec with these arguments, as typed at a prompt; its exit code.
int Msiexec(const std::wstring& arguments) {
    std::wstring line = L"msiexec.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    fs::path found;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) found = path;
    CoTaskMemFree(path);
    return found;
}

fs::path ProgramsFolder() { return KnownFolder(FOLDERID_LocalAppData) / L"Programs"; }
fs::path InstalledProgram() { return ProgramsFolder() / L"Tessomar" / L"tessomar.exe"; }
fs::path StartMenuShortcut() { return KnownFolder(FOLDERID_Programs) / L"Tessomar.lnk"; }

// A text value under HKCU, or under HKLM; nullptr names the key's default value.
std::optional<std::wstring> RegistryText(const std::wstring& key, const wchar_t* value,
                                         HKEY root = HKEY_CURRENT_USER) {
    wchar_t text[2048] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return text;
}

bool KeyExists(const std::wstring& key, HKEY root = HKEY_CURRENT_USER) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// The file types known to this user's classes: ".txt" and the like.
std::set<std::wstring> UserFileTypes() {
    std::set<std::wstring> types;
    HKEY classes = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, KEY_READ, &classes) !=
        ERROR_SUCCESS) {
        return types;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(classes, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (name[0] == L'.') types.insert(name);
    }
    RegCloseKey(classes);
    return types;
}

// The products installed with the installer's upgrade code: one per install.
std::vector<std::wstring> InstalledProducts() {
    std::vector<std::wstring> products;
    wchar_t code[39];
    for (DWORD index = 0;
         MsiEnumRelatedProductsW(L"" TESSOMAR_UPGRADE_CODE, 0, index, code) == ERROR_SUCCESS;
         ++index) {
        products.push_back(code);
    }
    return products;
}

// What the installer keeps of an installed product for this user alone; empty if it has not.
std::wstring UserProductInfo(const std::wstring& product, const wchar_t* property) {
    wchar_t value[1024] = {};
    DWORD length = 1024;
    if (MsiGetProductInfoExW(product.c_str(), nullptr, MSIINSTALLCONTEXT_USERUNMANAGED, property,
                             value, &length) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

// The product's key that Installed apps lists, in the hive the system keeps it in.
std::wstring UninstallKey(const std::wstring& product) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
}
HKEY UninstallRoot(const std::wstring& product) {
    return KeyExists(UninstallKey(product), HKEY_CURRENT_USER) ? HKEY_CURRENT_USER
                                                               : HKEY_LOCAL_MACHINE;
}

struct Shortcut {
    bool read = false;
    fs::path target;
    std::wstring arguments;
    fs::path workingFolder;
    fs::path icon;
};

Shortcut ReadShortcut(const fs::path& path) {
    Shortcut shortcut;
    IShellLinkW* link = nullptr;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&link)) != S_OK) {
        return shortcut;
    }
    IPersistFile* file = nullptr;
    if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK) {
        if (file->Load(path.c_str(), STGM_READ) == S_OK) {
            wchar_t text[MAX_PATH] = {};
            int iconIndex = 0;
            shortcut.read = true;
            if (link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
                shortcut.target = text;
            if (link->GetArguments(text, MAX_PATH) == S_OK) shortcut.arguments = text;
            if (link->GetWorkingDirectory(text, MAX_PATH) == S_OK) shortcut.workingFolder = text;
            if (link->GetIconLocation(text, MAX_PATH, &iconIndex) == S_OK) shortcut.icon = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

// The main window's control of that name, as the program shows it.
HWND Control(HWND window, const char* name) {
    return GetDlgItem(window, ui::win32::ControlId(name));
}

// A command line of Explorer's with the path put for %1, as Explorer runs a verb.
std::wstring WithPath(std::wstring command, const fs::path& path) {
    const auto at = command.find(L"%1");
    if (at != std::wstring::npos) command.replace(at, 2, path.wstring());
    return command;
}

const fs::path kMsi = BesideTests(TESSOMAR_MSI_FROM_TESTS);
const fs::path kNextMsi = BesideTests(TESSOMAR_NEXT_MSI_FROM_TESTS);
const std::wstring kVerbText = L"Encipher or decipher with Tessomar";
const std::wstring kFileVerb = L"Software\\Classes\\*\\shell\\Tessomar";
const std::wstring kFolderVerb = L"Software\\Classes\\Directory\\shell\\Tessomar";
const std::wstring kOpenWith = L"Software\\Classes\\Applications\\tessomar.exe";

class InstallerTest : public ::testing::Test {
protected:
    InstallerTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    // Whatever a failed test left installed is removed, so that the next starts afresh.
    ~InstallerTest() override {
        for (const std::wstring& product : InstalledProducts()) Msiexec(L"/x " + product + L" /qn");
        CoUninitialize();
    }
};

TEST_F(InstallerTest, InstallsForTheUserAloneAndAnUninstallLeavesNothingOfIt) {
    const bool programsFolderExisted = fs::exists(ProgramsFolder());
    const std::set<std::wstring> fileTypes = UserFileTypes();
    ASSERT_EQ(Msiexec(L"/i " + Quoted(kMsi) + L" /qn"), 0);

    const fs::path program = InstalledProgram();
    EXPECT_TRUE(fs::is_regular_file(program)) << program;

    const Shortcut shortcut = ReadShortcut(StartMenuShortcut());
    ASSERT_TRUE(shortcut.read) << StartMenuShortcut();
    EXPECT_TRUE(SamePath(shortcut.target, program)) << shortcut.target;
    EXPECT_EQ(shortcut.arguments, L"");
    EXPECT_TRUE(SamePath(shortcut.workingFolder, KnownFolder(FOLDERID_Documents)))
        << shortcut.workingFolder;
    const std::string programIcon = ReadFile(BesideTests(TESSOMAR_ICON_FROM_TESTS));
    EXPECT_TRUE(ReadFile(shortcut.icon) == programIcon) << "the shortcut's icon " << shortcut.icon;

    const std::wstring icon = Quoted(program) + L",0";
    const std::wstring command = Quoted(program) + L" \"%1\"";
    const struct {
        std::wstring key;
        const wchar_t* value;
        std::wstring expected;
    } entries[] = {
        {kFileVerb, nullptr, kVerbText},
        {kFileVerb, L"Icon", icon},
        {kFileVerb + L"\\command", nullptr, command},
        {kFolderVerb, nullptr, kVerbText},
        {kFolderVerb, L"Icon", icon},
        {kFolderVerb + L"\\command", nullptr, command},
        {kOpenWith, L"FriendlyAppName", L"Tessomar"},
        {kOpenWith + L"\\DefaultIcon", nullptr, icon},
        {kOpenWith + L"\\shell\\open\\command", nullptr, command},
    };
    for (const auto& entry : entries) {
        EXPECT_EQ(RegistryText(entry.key, entry.value), entry.expected)
            << entry.key << " " << (entry.value != nullptr ? entry.value : L"(default)");
    }
    // Offered in "Open with" for every type, the default of none.
    EXPECT_FALSE(KeyExists(kOpenWith + L"\\SupportedTypes"));
    EXPECT_EQ(UserFileTypes(), fileTypes);

    const std::vector<std::wstring> products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u);
    const std::wstring& product = products[0];
    EXPECT_EQ(UserProductInfo(product, INSTALLPROPERTY_INSTALLEDPRODUCTNAME), L"Tessomar");
    EXPECT_EQ(UserProductInfo(product, INSTALLPROPERTY_PUBLISHER), L"The Tessomar developers");
    EXPECT_EQ(UserProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), L"" TESSOMAR_VERSION);
    const fs::path productIcon = UserProductInfo(product, INSTALLPROPERTY_PRODUCTICON);
    EXPECT_TRUE(ReadFile(productIcon) == programIcon) << "the Installed apps icon " << productIcon;
    const HKEY uninstallRoot = UninstallRoot(product);
    EXPECT_EQ(RegistryText(UninstallKey(product), L"DisplayName", uninstallRoot), L"Tessomar");
    EXPECT_EQ(RegistryText(UninstallKey(product), L"Publisher", uninstallRoot),
              L"The Tessomar developers");
    EXPECT_EQ(RegistryText(UninstallKey(product), L"DisplayVersion", uninstallRoot),
              L"" TESSOMAR_VERSION);
    EXPECT_EQ(RegistryText(UninstallKey(product), L"UninstallString", uninstallRoot),
              L"MsiExec.exe /X" + product);

    ASSERT_EQ(Msiexec(L"/x " + Quoted(kMsi) + L" /qn"), 0);
    EXPECT_FALSE(fs::exists(program.parent_path()));
    EXPECT_EQ(fs::exists(ProgramsFolder()), programsFolderExisted);
    EXPECT_FALSE(fs::exists(StartMenuShortcut()));
    EXPECT_FALSE(fs::exists(productIcon));
    for (const std::wstring& key :
         {kFileVerb, kFolderVerb, kOpenWith, std::wstring(L"Software\\Tessomar")}) {
        EXPECT_FALSE(KeyExists(key)) << key;
    }
    EXPECT_FALSE(KeyExists(UninstallKey(product), HKEY_CURRENT_USER));
    EXPECT_FALSE(KeyExists(UninstallKey(product), HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(InstalledProducts().empty());
}

TEST_F(InstallerTest, ExplorersCommandsOpenAFileAtItsNameAndAFolderToBrowseIt) {
    ASSERT_EQ(Msiexec(L"/i " + Quoted(kMsi) + L" /qn"), 0);
    const ScratchFolder files;
    const fs::path folder = files / L"Dossier \u00e9t\u00e9";
    fs::create_directory(folder);
    const std::wstring name = L"r\u00e9sum\u00e9 report.txt";
    WriteFile(folder / name, "the source");

    const struct {
        std::wstring command;
        fs::path path;
        std::wstring stage;
    } ways[] = {
        {kFileVerb + L"\\command", folder / name, L"Destination File"},
        {kOpenWith + L"\\shell\\open\\command", folder / name, L"Destination File"},
        {kFolderVerb + L"\\command", folder, L"Select Source File"},
    };
    for (const auto& way : ways) {
        const std::optional<std::wstring> command = RegistryText(way.command, nullptr);
        ASSERT_TRUE(command.has_value()) << way.command;
        // Explorer starts a verb in the folder the item is in.
        const StartedProgram program(WithPath(*command, way.path), folder);
        ASSERT_TRUE(program.Started()) << *command;
        const HWND window = program.WindowOfClass(L"TessomarWindow");
        ASSERT_NE(window, nullptr) << *command;
        EXPECT_EQ(TextOf(Control(window, "Label1")), way.stage) << way.command;
        if (way.path == folder) {
            const std::vector<std::wstring> rows = support::RowsOf(Control(window, "File1"));
            EXPECT_NE(std::find(rows.begin(), rows.end(), name), rows.end());
        } else {
            EXPECT_EQ(TextOf(Control(window, "SFile")), name) << way.command;
            EXPECT_EQ(TextOf(Control(window, "Path")), folder.wstring()) << way.command;
        }
        EXPECT_EQ(program.ClosedBy(window, WM_CLOSE, 0), 0);
    }
}

TEST_F(InstallerTest, AnUninstallLeavesTheLastPathAndTheResultsTheProgramWrote) {
    ASSERT_EQ(Msiexec(L"/i " + Quoted(kMsi) + L" /qn"), 0);
    const ScratchFolder files;
    WriteFile(files / L"notes.txt", "the source");
    const fs::path lastPath = KnownFolder(FOLDERID_Documents) / L"LastPath";
    fs::remove(lastPath);

    // A file dropped on the Start menu's shortcut: its program in its working folder.
    const Shortcut shortcut = ReadShortcut(StartMenuShortcut());
    ASSERT_TRUE(shortcut.read);
    {
        const StartedProgram program(Quoted(shortcut.target) + L" " + Quoted(files / L"notes.txt"),
                                     shortcut.workingFolder);
        const HWND window = program.WindowOfClass(L"TessomarWindow");
        ASSERT_NE(window, nullptr);
        SendMessageW(Control(window, "go"), BM_CLICK, 0, 0);
        ASSERT_EQ(TextOf(Control(window, "Label1")), L"Enter Password");
        // A click on Start within a double click of the one on OK does not count.
        Sleep(GetDoubleClickTime() + 100);
        SendMessageW(Control(window, "Start"), BM_CLICK, 0, 0);
        EXPECT_EQ(TextOf(Control(window, "Label1")), L"... Done ...");
        EXPECT_EQ(program.ClosedBy(window, WM_CLOSE, 0), 0);
    }
    ASSERT_TRUE(fs::exists(lastPath));
    ASSERT_TRUE(fs::exists(files / L"notes_XXX.txt"));

    ASSERT_EQ(Msiexec(L"/x " + Quoted(kMsi) + L" /qn"), 0);
    EXPECT_FALSE(fs::exists(InstalledProgram()));
    EXPECT_TRUE(fs::exists(lastPath));
    EXPECT_EQ(ReadFile(files / L"notes.txt"), "the source");
    EXPECT_EQ(fs::file_size(files / L"notes_XXX.txt"), fs::file_size(files / L"notes.txt"));
    fs::remove(lastPath);
}

TEST_F(InstallerTest, ANewerVersionReplacesTheInstalledOneAndAnOlderOneIsRefused) {
    ASSERT_EQ(Msiexec(L"/i " + Quoted(kMsi) + L" /qn"), 0);
    ASSERT_EQ(Msiexec(L"/i " + Quoted(kNextMsi) + L" /qn"), 0);
    const std::vector<std::wstring> products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(UserProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING),
              L"" TESSOMAR_NEXT_VERSION);
    EXPECT_TRUE(fs::is_regular_file(InstalledProgram()));
    EXPECT_TRUE(fs::exists(StartMenuShortcut()));
    EXPECT_TRUE(RegistryText(kFileVerb + L"\\command", nullptr).has_value());

    // The older one stops at its launch condition, and changes nothing.
    EXPECT_NE(Msiexec(L"/i " + Quoted(kMsi) + L" /qn"), 0);
    EXPECT_EQ(InstalledProducts(), products);
    EXPECT_TRUE(fs::is_regular_file(InstalledProgram()));

    ASSERT_EQ(Msiexec(L"/x " + Quoted(kNextMsi) + L" /qn"), 0);
    EXPECT_TRUE(InstalledProducts().empty());
    EXPECT_FALSE(fs::exists(InstalledProgram()));
}

}  // namespace
