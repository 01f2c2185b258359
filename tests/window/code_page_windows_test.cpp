// Passwords and "LastPath" in the code page of the machine: one program on a Western, a
// Central European, a Russian, a Greek and a Japanese Windows. The binary runs once per code
// page, with the locale that gives it (see CMakeLists.txt). Every expected byte below was
// computed apart from this program: the password's and the folder's bytes with Python's
// codecs, the destination with an RC4 of its own over the key's layout.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cipher/cipher.h"
#include "tests/support/shared_vectors.h"
#include "tests/window/workflow_fixture.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::FakeHost;
using testing::ReadFile;
using testing::WriteFile;

const std::u16string kCyrillicFolder = u"\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b";

struct CodePage {
    UINT number;
    std::u16string password;              // a password of its users, which runs
    Bytes passwordBytes;                  // what it puts first in the key
    Bytes destination;                    // what it makes of kSharedSource
    std::vector<std::u16string> refused;  // passwords with a character it has no byte for
    // The bytes "LastPath" holds for kCyrillicFolder; empty: the folder is not remembered.
    std::string cyrillicFolderBytes;
};

const std::vector<CodePage> kCodePages = {
    {1252,
     support::kSharedPassword,
     {0x80, 0x8E},
     support::kSharedDestination,
     {u"\u043f\u0430\u0440\u043e\u043b\u044c", u"\u0142\u00f3d\u017a"},
     ""},
    {1250,
     u"\u0142\u00f3d\u017a",
     {0xB3, 0xF3, 0x64, 0x9F},
     {0xDF, 0xA2, 0x80, 0xCC, 0xE8, 0xC5, 0x32, 0x20, 0x09, 0xD8, 0x3A, 0x27,
      0x4D, 0x43, 0x6E, 0x1E, 0x97, 0x0F, 0x31, 0x8C, 0xC7, 0x08, 0x39, 0xA3,
      0xE8, 0x7F, 0xC4, 0xB2, 0x85, 0x87, 0x2F, 0x07, 0x0E, 0x2C, 0x0A},
     {u"\u043f\u0430\u0440\u043e\u043b\u044c"},
     ""},
    {1251,
     u"\u043f\u0430\u0440\u043e\u043b\u044c",
     {0xEF, 0xE0, 0xF0, 0xEE, 0xEB, 0xFC},
     {0xB4, 0x71, 0x2A, 0xB0, 0x94, 0x77, 0x58, 0xD1, 0xB6, 0xF0, 0x6C, 0xED,
      0x75, 0x48, 0x1D, 0x79, 0x8C, 0x5C, 0xC4, 0xA6, 0x35, 0x52, 0x71, 0xB7,
      0x83, 0xF6, 0x26, 0xAD, 0x64, 0x3D, 0x77, 0xCF, 0x24, 0xAC, 0x0A},
     {u"\u0142\u00f3d\u017a", u"\u20ac\u017d"},
     "\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2\xFB"},
    {1253,
     u"\u03ba\u03c9\u03b4\u03b9\u03ba\u03cc\u03c2",
     {0xEA, 0xF9, 0xE4, 0xE9, 0xEA, 0xFC, 0xF2},
     {0x9D, 0xB0, 0xD4, 0x8B, 0x16, 0xC4, 0xD1, 0x0A, 0x2A, 0xF6, 0x55, 0x6D,
      0xB5, 0xFB, 0xA1, 0x5F, 0x1E, 0x52, 0x40, 0x34, 0x14, 0xD7, 0x0A, 0x7A,
      0xC1, 0x31, 0x29, 0x4D, 0x3D, 0xD3, 0x11, 0x10, 0xD4, 0x57, 0x0A},
     {u"\u043f\u0430\u0440\u043e\u043b\u044c"},
     ""},
    // Half-width katakana take one byte in Shift JIS; every other Japanese character, and
    // Cyrillic, takes two, so has no single byte for the key. "LastPath" is a text file of
    // the code page, two-byte characters and all.
    {932,
     u"\uff71\uff72\uff73",
     {0xB1, 0xB2, 0xB3},
     {0x15, 0x85, 0x11, 0x40, 0x9A, 0x25, 0x44, 0x4D, 0x96, 0xB1, 0xAD, 0x91,
      0x43, 0x26, 0xCE, 0x73, 0x50, 0x2F, 0x5C, 0x03, 0xB3, 0x13, 0x91, 0x2D,
      0x3B, 0xB7, 0xA0, 0x2D, 0xB1, 0xBD, 0x85, 0xDE, 0x48, 0x4E, 0x0A},
     {u"\u30d1\u30b9", u"\u043f\u0430\u0440\u043e\u043b\u044c"},
     "\x84\x44\x84\x80\x84\x7B\x84\x85\x84\x7D\x84\x75\x84\x7E\x84\x84\x84\x8D"},
};

const CodePage& ThisMachine() {
    for (const CodePage& page : kCodePages) {
        if (page.number == GetACP()) return page;
    }
    ADD_FAILURE() << "no vectors for code page " << GetACP();
    return kCodePages.front();
}

// The ASCII of a scratch path, as every code page writes it.
std::string AsciiBytes(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        EXPECT_LT(unit, 0x80) << "the scratch folder's path is not ASCII";
        bytes.push_back(static_cast<char>(unit));
    }
    return bytes;
}

using CodePageTest = testing::WorkflowTest;

TEST_F(CodePageTest, TheMachineHasTheCodePageItWasStartedFor) {
    const char* asked = std::getenv("TESSOMAR_EXPECTED_CODE_PAGE");
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::stoul(asked)));
}

TEST_F(CodePageTest, ThePasswordOfItsUsersRunsToTheBytesComputedApart) {
    const CodePage& page = ThisMachine();
    Bytes key = page.passwordBytes;
    key.insert(key.end(), {'4', '2', 'm', 'o', 'R', 'v', 0xA5,
                           static_cast<std::uint8_t>(0x40 + page.password.size())});
    EXPECT_EQ(cipher::BuildKey(page.password).bytes, key);

    WriteFile(files_ / "report.txt", support::kSharedSource);
    AcceptDestination(u"report.txt");
    form_.Pwd.SetText(page.password);
    form_.Pwd2.SetText(page.password);
    form_.Start.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(support::ReadBytes(files_ / "report_XXX.txt"), page.destination);
}

TEST_F(CodePageTest, APasswordWithACharacterTheCodePageHasNoByteForIsRefused) {
    AcceptDestination(u"report.txt");
    for (const std::u16string& password : ThisMachine().refused) {
        form_.Pwd.SetText(password);
        form_.Pwd2.SetText(password);
        form_.Start.Click();
        EXPECT_EQ(form_.Label1.Caption(), u"Password has characters it cannot use");
        EXPECT_FALSE(cipher::EveryCharacterHasAKeyByte(password));
    }
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(CodePageTest, ACyrillicFolderIsRememberedInTheCodePageOrNotAtAll) {
    const CodePage& page = ThisMachine();
    const fs::path folder = files_ / platform::ToNative(kCyrillicFolder);
    fs::create_directories(folder);
    WriteFile(folder / "report.txt", "x");
    form_.Dir1.SetPath(support::AsText(folder));
    AcceptDestination(u"report.txt");
    if (page.cyrillicFolderBytes.empty()) {
        EXPECT_FALSE(fs::exists(work_ / "LastPath"));
        EXPECT_EQ(form_.Label6.Caption().rfind(u"The folder could not be remembered", 0), 0u);
        return;
    }
    EXPECT_EQ(ReadFile(work_ / "LastPath"),
              AsciiBytes(support::AsText(files_) + u"\\") + page.cyrillicFolderBytes + "\r\n");
    EXPECT_FALSE(form_.Label6.Visible());
    // The next start opens there.
    FakeHost host;
    Form1 next(host, remembered_);
    next.Load();
    EXPECT_EQ(next.Dir1.Path(), support::AsText(folder));
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace window
