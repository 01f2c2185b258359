// The window's design table, the state Form1 starts in, Help, and the control model's
// nested Change delivery that every handler relies on.
#include "window/design.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/native_text.h"
#include "tests/window/fake_host.h"

namespace window {
namespace {

using testing::FakeHost;

struct Row {
    const char* name;
    ControlKind kind;
    int left, top, width, height, tab;
    bool shown;
    const char16_t* content;
    const char16_t* tip;
};

// The window's table, copied row by row.
const Row kWindowTable[] = {
    {"Label1", ControlKind::Label, 720, 120, 4935, 375, 5, true, u"Select Source File", u""},
    {"Help", ControlKind::CommandButton, 5640, 120, 495, 255, 19, true, u"Help", u""},
    {"Drive1", ControlKind::DriveListBox, 120, 480, 2655, 315, 2, true, u"", u"Select drive"},
    {"Dir1", ControlKind::DirListBox, 120, 960, 2655, 2790, 0, true, u"",
     u"Select working directory"},
    {"File1", ControlKind::FileListBox, 2760, 960, 2295, 2430, 1, true, u"",
     u"Doubleclick to select file"},
    {"filemask", ControlKind::TextBox, 2760, 3480, 2295, 285, 7, true, u"*.*", u"Filename Mask"},
    {"DestFile", ControlKind::TextBox, 1440, 600, 4095, 375, 8, false, u"",
     u"Enter desination file, or use this suggested name"},
    {"go", ControlKind::CommandButton, 2760, 1680, 975, 495, 4, true, u"OK",
     u"Click to accept passwords"},
    {"Murder", ControlKind::CommandButton, 3000, 1080, 735, 375, 21, false, u"Kill it !", u""},
    {"Pwd", ControlKind::TextBox, 1440, 600, 4095, 375, 17, false, u"",
     u"Enter Password or leave blank for non-secure file hiding"},
    {"Label5", ControlKind::Label, 0, 1200, 1335, 375, 16, false, u"Retype Password", u""},
    {"Pwd2", ControlKind::TextBox, 1440, 1200, 4095, 375, 15, false, u"",
     u"Re-enter password for validation"},
    {"Start", ControlKind::CommandButton, 2640, 1680, 1335, 495, 9, false, u"Enc/Decrypt",
     u"Click to start the Encrypt / Decrypt process"},
    {"Label4", ControlKind::Label, 0, 2160, 975, 375, 13, false, u"Path", u""},
    {"Path", ControlKind::TextBox, 1080, 2160, 4935, 285, 12, false, u"", u""},
    {"Label2", ControlKind::Label, 0, 2520, 975, 255, 10, false, u"Source", u""},
    {"SFile", ControlKind::TextBox, 1080, 2520, 4935, 285, 3, true, u"", u""},
    {"Label3", ControlKind::Label, 0, 2880, 975, 255, 11, false, u"Destination", u""},
    {"DFile", ControlKind::TextBox, 1080, 2880, 4935, 315, 6, true, u"", u""},
    {"Progress", ControlKind::TextBox, 2160, 3480, 2055, 285, 14, false, u"", u""},
    {"ProgBar", ControlKind::PictureBox, 0, 3600, 6255, 255, 20, false, u"", u""},
    {"Label6", ControlKind::Label, 120, 3840, 5775, 495, 18, false, u"", u""},
};

const DesignEntry* Entry(const std::string& name) {
    for (const DesignEntry& entry : Design().controls) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

TEST(DesignTable, MatchesTheWindowRowForRow) {
    ASSERT_EQ(Design().controls.size(), std::size(kWindowTable));
    for (const Row& row : kWindowTable) {
        SCOPED_TRACE(row.name);
        const DesignEntry* entry = Entry(row.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->kind, row.kind);
        EXPECT_EQ(entry->left, row.left);
        EXPECT_EQ(entry->top, row.top);
        EXPECT_EQ(entry->width, row.width);
        EXPECT_EQ(entry->height, row.height);
        EXPECT_EQ(entry->tabIndex, row.tab);
        EXPECT_EQ(entry->shown, row.shown);
        EXPECT_EQ(entry->content, row.content);
        EXPECT_EQ(entry->tip, row.tip);
    }
}

TEST(DesignTable, WindowLooksAsDesigned) {
    const FormDesign& design = Design();
    EXPECT_EQ(design.caption, u"Tessomar - Secure  File encryp / decrypt");
    EXPECT_EQ(design.clientWidth, 6225);
    EXPECT_EQ(design.clientHeight, 4320);
    EXPECT_EQ(design.defaultFont.face, "MS Sans Serif");
    EXPECT_DOUBLE_EQ(design.defaultFont.points, 8.25);

    const DesignEntry& label1 = *Entry("Label1");
    ASSERT_TRUE(label1.font.has_value());
    EXPECT_DOUBLE_EQ(label1.font->points, 12);
    EXPECT_TRUE(label1.font->bold);
    EXPECT_EQ(label1.foreColor, kBlue);
    EXPECT_EQ(label1.alignment, Alignment::Center);
    EXPECT_EQ(Entry("Label6")->alignment, Alignment::Center);
    for (const char* name : {"Label2", "Label3", "Label4", "Label5"}) {
        EXPECT_EQ(Entry(name)->alignment, Alignment::Right) << name;
    }
    for (const char* name : {"filemask", "Murder"}) {
        ASSERT_TRUE(Entry(name)->font.has_value()) << name;
        EXPECT_DOUBLE_EQ(Entry(name)->font->points, 9.75) << name;
        EXPECT_FALSE(Entry(name)->font->bold) << name;
    }

    // Exactly the password boxes mask, and exactly the boxes the run reads back are fixed.
    for (const DesignEntry& entry : design.controls) {
        const bool password = entry.name == "Pwd" || entry.name == "Pwd2";
        const bool readBack =
            entry.name == "SFile" || entry.name == "DFile" || entry.name == "Path";
        EXPECT_EQ(entry.masked, password) << entry.name;
        EXPECT_EQ(entry.readOnly, readBack) << entry.name;
    }
}

// Every front-end reaches a control through its row, so a row that pointed at another
// control, or two rows at one, would wire a widget to the wrong control.
TEST(DesignTable, EachRowIsTheControlOfItsName) {
    FakeHost host;
    const remembered::RememberedFolder folder(
        support::AsText(std::filesystem::temp_directory_path()));
    Form1 form(host, folder);
    std::set<const Control*> seen;
    for (const DesignEntry& entry : Design().controls) {
        Control& control = VisitControl(form, entry, [](Control& c) -> Control& { return c; });
        EXPECT_EQ(control.Name(), entry.name);
        EXPECT_EQ(form.Find(entry.name), &control);
        EXPECT_TRUE(seen.insert(&control).second) << entry.name;
    }
    EXPECT_EQ(seen.size(), 22u);
    EXPECT_EQ(form.Find("Label7"), nullptr);
}

// In any colour scheme: a dark one, one as light as the design's, and the face of a common
// light one, on which the design's blue still reads.
TEST(DesignTable, WhereTheDesignFixesOneColourOfAControlItFixesTheOther) {
    FakeHost host;
    const remembered::RememberedFolder folder(
        support::AsText(std::filesystem::temp_directory_path()));
    Form1 form(host, folder);
    form.Pwd.SetBackColor(kRed);
    const Color darkFace{0, 0, 0}, lightFace{212, 208, 200};
    const struct {
        const char* control;
        Color face;
        FixedColors expected;
    } cases[] = {
        {"Pwd", darkFace, {kBlack, kRed}},
        {"SFile", lightFace, {kBlack, kWhite}},
        {"Label1", lightFace, {kBlue, lightFace}},
        {"Label1", darkFace, {kBlue, kDesignFace}},
        {"Label2", darkFace, {}},
        {"Help", darkFace, {}},
        {"Dir1", darkFace, {}},
    };
    for (const auto& c : cases) {
        const FixedColors fixed = FixedColorsOf(*Entry(c.control), *form.Find(c.control), c.face);
        EXPECT_EQ(fixed.text, c.expected.text) << c.control;
        EXPECT_EQ(fixed.background, c.expected.background) << c.control;
    }
    EXPECT_DOUBLE_EQ(Contrast(kBlack, kWhite), 21);
    EXPECT_DOUBLE_EQ(Contrast(kRed, kRed), 1);
}

TEST(DesignTable, NamesEachControlForScreenReaders) {
    const std::map<std::string, std::u16string> names{
        {"Drive1", u"Select drive"},
        {"Dir1", u"Select working directory"},
        {"File1", u"Doubleclick to select file"},
        {"filemask", u"Filename Mask"},
        {"DestFile", u"Enter desination file, or use this suggested name"},
        {"Pwd", u"Enter Password or leave blank for non-secure file hiding"},
        {"Pwd2", u"Retype Password"},
        {"Path", u"Path"},
        {"SFile", u"Source"},
        {"DFile", u"Destination"},
        {"Progress", u"Bytes processed"},
        {"ProgBar", u"Progress"},
    };
    const std::map<std::string, std::string> buddies{
        {"Label5", "Pwd2"}, {"Label4", "Path"}, {"Label2", "SFile"}, {"Label3", "DFile"}};
    for (const DesignEntry& entry : Design().controls) {
        SCOPED_TRACE(entry.name);
        const auto name = names.find(entry.name);
        EXPECT_EQ(entry.accessibleName, name == names.end() ? u"" : name->second);
        const auto buddy = buddies.find(entry.name);
        EXPECT_EQ(entry.buddy, buddy == buddies.end() ? "" : buddy->second);
    }
}

TEST(DesignTable, ProgressBarReachesPastTheClientArea) {
    const DesignEntry& bar = *Entry("ProgBar");
    EXPECT_EQ(bar.left + bar.width - Design().clientWidth, 30);
}

class Form1Test : public ::testing::Test {
protected:
    Form1Test()
        : folder_(support::AsText(std::filesystem::temp_directory_path())), form_(host_, folder_) {}

    // What a user can see of every control, to tell whether anything changed.
    std::vector<std::u16string> Snapshot() {
        std::vector<std::u16string> state;
        for (const DesignEntry& entry : Design().controls) {
            Control* control = form_.Find(entry.name);
            std::u16string line = control->Visible() ? u"shown " : u"hidden ";
            if (auto* label = dynamic_cast<Label*>(control)) line += label->Caption();
            if (auto* box = dynamic_cast<TextBox*>(control)) {
                const Color back = box->BackColor();
                line += box->GetText() + u" " + char16_t(back.red) + char16_t(back.green) +
                        char16_t(back.blue);
            }
            state.push_back(line);
        }
        return state;
    }

    FakeHost host_;
    remembered::RememberedFolder folder_;
    Form1 form_;
};

TEST_F(Form1Test, StartsInTheDesignState) {
    for (const DesignEntry& entry : Design().controls) {
        SCOPED_TRACE(entry.name);
        Control* control = form_.Find(entry.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Visible(), entry.shown);
        if (auto* label = dynamic_cast<Label*>(control)) {
            EXPECT_EQ(label->Caption(), entry.content);
        }
        if (auto* box = dynamic_cast<TextBox*>(control)) {
            EXPECT_EQ(box->GetText(), entry.content);
            EXPECT_EQ(box->BackColor(), kWhite);
        }
    }
}

TEST_F(Form1Test, HelpShowsTheInstructionAndChangesNothing) {
    form_.DestFile.SetText(u"report_XXX.txt");
    form_.DestFile.SetVisible(true);
    const auto before = Snapshot();

    form_.Help.Click();

    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              u"Symmetrical file encryption / decryption.\r\n"
              u"Identify source file, then either accept the suggested destination filename or "
              u"enter a more suitable one.\r\n"
              u"Enter password in both boxes and start the cryption process.");
    EXPECT_EQ(host_.messages[0].title, u"Tessomar");
    EXPECT_EQ(Snapshot(), before);
}

class Recorder : public ControlObserver {
public:
    void ControlChanged(const Control& control) override { seen.push_back(control.Name()); }
    std::vector<std::string> seen;
};

TEST(ControlModel, ChangeRunsNestedInsideTheStatementThatSetTheText) {
    TextBox first{"first"};
    TextBox second{"second"};
    Label status{"status"};
    std::vector<std::string> order;
    first.OnChange([&] {
        order.push_back("first changed to " +
                        std::string(first.GetText().begin(), first.GetText().end()));
        second.SetText(u"b");
        order.push_back("first sees second as " +
                        std::string(second.GetText().begin(), second.GetText().end()));
    });
    second.OnChange([&] {
        order.push_back("second changed");
        status.SetCaption(u"done");
    });

    first.SetText(u"a");
    order.push_back("after first");

    EXPECT_EQ(order, (std::vector<std::string>{"first changed to a", "second changed",
                                               "first sees second as b", "after first"}));
    EXPECT_EQ(status.Caption(), u"done");

    // The same text again is no change: no handler runs.
    order.clear();
    first.SetText(u"a");
    EXPECT_TRUE(order.empty());
}

TEST(ControlModel, ObserverHearsEveryChangeBeforeTheHandlerRuns) {
    TextBox box{"box"};
    Recorder recorder;
    box.SetObserver(&recorder);
    std::size_t seenWhenHandlerRan = 0;
    box.OnChange([&] { seenWhenHandlerRan = recorder.seen.size(); });

    box.SetText(u"x");
    EXPECT_EQ(seenWhenHandlerRan, 1u);
    box.SetBackColor(kRed);
    box.SetVisible(false);
    box.SetVisible(false);  // unchanged: not told again
    EXPECT_EQ(recorder.seen.size(), 3u);
}

TEST(ControlModel, ProgressBarKeepsOneBoxWhileItGrows) {
    PictureBox bar{"bar"};
    bar.SetScaleWidth(30000);
    for (double count : {10000.0, 20000.0, 30000.0}) {
        bar.DrawBox({0, 0, count, 100, kProgressColor});
    }
    bar.DrawBox({0, 0, 30000, 100, kProgressColor});  // the same box again
    ASSERT_EQ(bar.Boxes().size(), 1u);
    EXPECT_EQ(bar.Boxes()[0].right, 30000);

    bar.SetScaleWidth(500);  // a new picture
    EXPECT_TRUE(bar.Boxes().empty());
}

}  // namespace
}  // namespace window
