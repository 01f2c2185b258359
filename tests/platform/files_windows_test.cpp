// Windows file services: what counts as an ordinary file, versions and sharing of the source,
// and what a destination takes from its folder and leaves there, in a drive root too.
#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "platform/temporary_windows.h"
#include "tests/support/listings.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using support::ReadFile;
using support::ScratchFolder;
using support::WriteFile;

std::vector<std::string> Names(const ScratchFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WindowsEntries, HiddenAndSystemFilesAreNotOrdinaryFiles) {
    const ScratchFolder folder;
    for (const char* name : {"plain.txt", "hidden.txt", "system.txt"})
        WriteFile(folder / name, "x");
    ASSERT_TRUE(SetFileAttributesW((folder / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((folder / "system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(platform::Classify(folder.Text("plain.txt")), EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(folder.Text("PLAIN.TXT")), EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(folder.Text("hidden.txt")), EntryKind::HiddenFile);
    EXPECT_EQ(platform::Classify(folder.Text("system.txt")), EntryKind::HiddenFile);
    EXPECT_EQ(platform::Classify(folder.Text()), EntryKind::Folder);
    EXPECT_EQ(platform::Classify(folder.Text("missing")), EntryKind::Missing);
    EXPECT_EQ(platform::Classify(folder.Text("missing\\deeper")), EntryKind::Missing);
    EXPECT_EQ(platform::Classify(folder.Text("*.txt")), EntryKind::Missing);
    // Past the old limit of 260 units is only a path like any other.
    EXPECT_EQ(platform::Classify(folder.Text(std::string(300, 'n'))), EntryKind::Missing);
}

// Sets a file's last modification, in the system's units, as another program may while the
// source is open: sharing guards the contents, not the times.
void SetModified(const fs::path& path, std::int64_t time) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
}

TEST(WindowsInputFile, VersionChangesWithTheSizeTheTimeOrTheFileAndOnlyThen) {
    const ScratchFolder folder;
    WriteFile(folder / "source.bin", "0123456789");
    const std::int64_t time = 133'000'000'000'000'000;
    SetModified(folder / "source.bin", time);
    {
        platform::InputFile source(folder.Text("source.bin"));
        const platform::FileVersion first = source.Version();
        EXPECT_EQ(first.size, 10);
        EXPECT_EQ(first.modified, time);
        EXPECT_EQ(first.identity, platform::IdentityOf(folder.Text("source.bin")));
        std::uint8_t buffer[4];
        source.Read(buffer);
        EXPECT_EQ(source.Version(), first);
        SetModified(folder / "source.bin", time + 1);
        EXPECT_NE(source.Version(), first);
        EXPECT_EQ(source.Version().modified, time + 1);
    }
    // The same bytes and time in another file are another version.
    fs::copy_file(folder / "source.bin", folder / "copy.bin");
    SetModified(folder / "copy.bin", time + 1);
    const platform::FileVersion copy = platform::InputFile(folder.Text("copy.bin")).Version();
    const platform::FileVersion source = platform::InputFile(folder.Text("source.bin")).Version();
    EXPECT_EQ(copy.size, source.size);
    EXPECT_EQ(copy.modified, source.modified);
    EXPECT_NE(copy, source);
    // One byte more at the same time.
    std::ofstream(folder / "source.bin", std::ios::binary | std::ios::app) << "x";
    SetModified(folder / "source.bin", time + 1);
    const platform::FileVersion grown = platform::InputFile(folder.Text("source.bin")).Version();
    EXPECT_EQ(grown.size, 11);
    EXPECT_NE(grown, source);
}

TEST(WindowsInputFile, OthersMayReadTheSourceButNotChangeItDuringTheRun) {
    const ScratchFolder folder;
    WriteFile(folder / "source.bin", "0123456789");
    platform::InputFile source(folder.Text("source.bin"));
    EXPECT_EQ(source.Version().size, 10);
    const auto openFor = [&](DWORD access) {
        HANDLE other =
            CreateFileW((folder / "source.bin").c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        const bool opened = other != INVALID_HANDLE_VALUE;
        if (opened) CloseHandle(other);
        return opened;
    };
    EXPECT_TRUE(openFor(GENERIC_READ));
    EXPECT_FALSE(openFor(GENERIC_WRITE));
    std::uint8_t buffer[16];
    EXPECT_EQ(source.Read(buffer), 10u);
    EXPECT_EQ(source.Read(buffer), 0u);
}

// Another program that maps the source for writing may change it at any moment, also after it
// has closed the file and kept only the view: the source then does not open, and the reason
// says the file is in use.
TEST(WindowsInputFile, ASourceMappedForWritingDoesNotOpen) {
    const ScratchFolder folder;
    WriteFile(folder / "source.bin", "0123456789");
    HANDLE file =
        CreateFileW((folder / "source.bin").c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    CloseHandle(mapping);
    CloseHandle(file);
    try {
        platform::InputFile source(folder.Text("source.bin"));
        ADD_FAILURE() << "a source mapped for writing was opened";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.code(), std::error_code(ERROR_SHARING_VIOLATION, std::system_category()));
    }
    UnmapViewOfFile(view);
    EXPECT_NO_THROW(platform::InputFile(folder.Text("source.bin")));
}

// Results take their access from a source; these tests' source lives in a folder of its own,
// so the folder the result goes to holds only what the test puts there.
struct AnySource {
    ScratchFolder folder;
    std::unique_ptr<platform::InputFile> file;
    AnySource() {
        WriteFile(folder / "source.bin", "s");
        file = std::make_unique<platform::InputFile>(folder.Text("source.bin"));
    }
};

// The access list of a file, in the system's own notation ("D:(A;ID;FA;;;WD)").
std::wstring AccessOf(const fs::path& path) {
    DWORD size = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    if (size == 0 || !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                       size, &size)) {
        return L"unreadable";
    }
    wchar_t* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::wstring access = text != nullptr ? text : L"unreadable";
    LocalFree(text);
    return access;
}

void SetAccess(const fs::path& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    EXPECT_TRUE(SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor));
    LocalFree(descriptor);
}

TEST(WindowsOutputFile, TheResultTakesWhatItsFolderPassesOnNotTheSourcesAccess) {
    const ScratchFolder folder;
    const AnySource source;
    // Everyone may do anything in the folder, and its files inherit that; the source may
    // only be read by the administrators. (Wine keeps access lists as the permission bits
    // of its files, so there the lists read back are what those bits give.)
    SetAccess(folder.Path(), L"D:P(A;OICI;FA;;;WD)");
    SetAccess(source.folder / "source.bin", L"D:P(A;;FR;;;BA)");
    {
        platform::OutputFile output(folder.Text("result.bin"), *source.file);
        output.Commit();
    }
    CloseHandle(CreateFileW((folder / "made.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                            nullptr));
    EXPECT_EQ(AccessOf(folder / "result.bin"), AccessOf(folder / "made.bin"));
    EXPECT_NE(AccessOf(folder / "result.bin"), AccessOf(source.folder / "source.bin"));
}

TEST(WindowsOutputFile, ADriveRootDestinationGetsItsTemporaryInTheRoot) {
    // The C: of the tests' own wine prefix, written by no one else.
    const std::u16string name = u"tessomar-root-" + std::u16string(u"\u20ac") + u".bin";
    const fs::path onDisk = fs::path(L"C:\\") / fs::path(std::wstring(name.begin(), name.end()));
    const auto rootNames = [] {
        std::vector<std::wstring> names;
        for (const auto& entry : fs::directory_iterator(L"C:\\"))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto before = rootNames();
    const AnySource source;
    {
        platform::OutputFile output(platform::JoinPath(u"C:\\", name), *source.file);
        const std::uint8_t bytes[] = {'r'};
        output.Write(bytes);
        output.Commit();
    }
    EXPECT_EQ(ReadFile(onDisk), "r");
    fs::remove(onDisk);
    EXPECT_EQ(rootNames(), before);
}

// Both ways of removing a temporary that never took its name: by the system, from the mark
// set at its creation, and by the program, where the file system refuses the mark.
TEST(WindowsOutputFile, EitherRemovalLeavesOnlyTheResultOrNothing) {
    using platform::windows::Removal;
    for (const Removal removal : {Removal::BySystem, Removal::ByName}) {
        const ScratchFolder folder;
        {
            platform::windows::Temporary temporary(folder.Text("result.bin"), removal);
            // Wine carries out the mark as the system does.
            EXPECT_EQ(temporary.InForce(), removal);
            DWORD put = 0;
            ASSERT_TRUE(::WriteFile(temporary.Get(), "abc", 3, &put, nullptr));
            EXPECT_EQ(Names(folder).size(), 1u);
            EXPECT_TRUE(support::FilesOf(folder.Text()).empty());
            temporary.Commit();
        }
        EXPECT_EQ(Names(folder), std::vector<std::string>{"result.bin"});
        EXPECT_EQ(ReadFile(folder / "result.bin"), "abc");
        EXPECT_EQ(platform::Classify(folder.Text("result.bin")), EntryKind::OrdinaryFile);
        { platform::windows::Temporary abandoned(folder.Text("never.bin"), removal); }
        {
            platform::windows::Temporary refused(folder.Text("RESULT.BIN"), removal);
            EXPECT_THROW(refused.Commit(), platform::FileError);
        }
        EXPECT_EQ(Names(folder), std::vector<std::string>{"result.bin"});
        EXPECT_EQ(ReadFile(folder / "result.bin"), "abc");
    }
}

}  // namespace
