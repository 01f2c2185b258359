// A scratch folder with a working folder and a folder of two files, and a window opened over
// it, for tests that walk the stages.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#ifndef _WIN32
#include "tests/support/data_home.h"
#endif
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"
#include "tests/window/fake_host.h"
#include "window/form1.h"
#include "window/walk.h"

namespace window::testing {

namespace fs = std::filesystem;

using support::ReadFile;
using support::WriteFile;

// The folders alone: the working folder, which keeps LastPath, and the folder of the files.
class WorkflowFolders : public ::testing::Test {
protected:
    WorkflowFolders()
        : root_(scratch_.Path()),
          work_((fs::create_directories(root_ / "work"), root_ / "work")),
          files_((fs::create_directories(root_ / "files"), root_ / "files")),
          remembered_(support::AsText(work_)) {
        WriteFile(files_ / "report.txt", "the source");
        WriteFile(files_ / "other.dat", "another file");
    }

    support::ScratchFolder scratch_{"window"};
    fs::path root_;
    fs::path work_;
    fs::path files_;
#ifndef _WIN32
    support::DataHome dataHome_{root_ / "data"};
#endif
    remembered::RememberedFolder remembered_;
};

// The window over them, loaded and browsing the folder of the files.
class WorkflowTest : public WorkflowFolders {
protected:
    WorkflowTest() : form_(host_, remembered_) {
        form_.Load();
        form_.Dir1.SetPath(support::AsText(files_));
    }

    void DoubleClick(const std::u16string& name) { ASSERT_TRUE(PickFile(form_, name)); }

    // Browse -> Name -> Password with the proposed or the given destination name.
    void AcceptDestination(const std::u16string& source, const std::u16string& destination = {}) {
        WalkToPassword(form_, source, destination);
        ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    }

    std::set<std::string> Shown() {
        static const char* const kAll[] = {
            "Label1", "Help",   "Drive1", "Dir1",     "File1",   "filemask", "DestFile", "go",
            "Murder", "Pwd",    "Label5", "Pwd2",     "Start",   "Label4",   "Path",     "Label2",
            "SFile",  "Label3", "DFile",  "Progress", "ProgBar", "Label6"};
        std::set<std::string> shown;
        for (const char* name : kAll) {
            if (form_.Find(name)->Visible()) shown.insert(name);
        }
        return shown;
    }

    const std::set<std::string> kNameStage = {"Label1", "Help", "DestFile", "go"};
    const std::set<std::string> kPasswordStage = {"Label1", "Help",   "Label2", "SFile", "Label3",
                                                  "DFile",  "Label4", "Path",   "Pwd",   "Start"};

    FakeHost host_;
    Form1 form_;
};

}  // namespace window::testing
