// The one window: its controls, named as the window names them, its design table, and the
// event handlers that walk the user through Browse, Name, Password and Done.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "window/controls.h"
#include "window/host.h"
#include "window/lists.h"

namespace window {

enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    DriveListBox,
    DirListBox,
    FileListBox,
    PictureBox
};
enum class Alignment { Left, Center, Right };

struct Font {
    std::string face;  // "MS Sans Serif"; a front-end picks the nearest plain sans-serif
    double points = 8.25;
    bool bold = false;
};

// One row of the window's design: what a control is and looks like before any handler runs.
// Geometry is in twips (15 twips are one pixel at 96 dots per inch).
struct DesignEntry {
    std::string name;
    ControlKind kind;
    int left, top, width, height;
    int tabIndex;
    bool shown;
    Text content;  // caption or text
    Text tip;
    std::optional<Font> font;  // none: the window's default font
    Color foreColor = kBlack;
    Color backColor = kWhite;  // text boxes only
    Alignment alignment = Alignment::Left;
    bool masked = false;    // password box: shows '*'
    bool readOnly = false;  // filled by the workflow and read back by the run
};

struct FormDesign {
    Text caption;
    int clientWidth, clientHeight;  // twips
    int left, top;                  // design position, twips
    Font defaultFont;
    std::vector<DesignEntry> controls;
};

const FormDesign& Design();

class Form1 {
public:
    Form1(Host& host, const remembered::RememberedFolder& rememberedFolder);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The Load event: once, before the window is first shown.
    void Load();

    // The control of that name, or nullptr.
    Control* Find(const std::string& name);

    Label Label1{"Label1"};
    CommandButton Help{"Help"};
    DriveListBox Drive1{"Drive1"};
    DirListBox Dir1{"Dir1"};
    FileListBox File1{"File1"};
    TextBox filemask{"filemask"};
    TextBox DestFile{"DestFile"};
    CommandButton go{"go"};
    CommandButton Murder{"Murder"};
    TextBox Pwd{"Pwd"};
    Label Label5{"Label5"};
    TextBox Pwd2{"Pwd2"};
    CommandButton Start{"Start"};
    Label Label4{"Label4"};
    TextBox Path{"Path"};
    Label Label2{"Label2"};
    TextBox SFile{"SFile"};
    Label Label3{"Label3"};
    TextBox DFile{"DFile"};
    TextBox Progress{"Progress"};
    PictureBox ProgBar{"ProgBar"};
    Label Label6{"Label6"};

private:
    void ApplyDesign();
    void ConnectHandlers();
    // The notice line, shown with a text.
    void ShowNotice(const Text& notice);
    // The path of a name in the folder the file list shows.
    Text InSourceFolder(const Text& name) const;

    // browse
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void filemask_Change();
    // destination
    void File1_DblClick();
    void DestFile_Change();
    void go_Click();
    void Murder_Click();
    // password and run
    void Pwd_Change();
    void Pwd2_Change();
    void Start_Click();
    // help
    void Help_Click();

    Host& host_;
    const remembered::RememberedFolder& rememberedFolder_;
    // The file picked as the source, whatever its name becomes: "Kill it !" never deletes it.
    std::optional<platform::FileIdentity> pickedSource_;
};

}  // namespace window
