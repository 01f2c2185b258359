// The Name stage: the double-click that proposes a destination name, its check on OK, and
// the offer to delete a destination that exists.
#include <algorithm>
#include <system_error>

#include "platform/platform.h"
#include "window/form1.h"
#include "window/texts.h"

namespace window {

void Form1::File1_DblClick() {
    const Text sourceName = File1.FileName();
    // Without a selection there is no source to name a destination after.
    if (sourceName.empty()) return;
    // A notice left from browsing (a dropped path that could not be opened) is done with.
    Label6.SetVisible(false);
    const Text suggestion = SuggestedDestinationName(sourceName);
    pickedSource_ = platform::IdentityOf(InSourceFolder(sourceName));
    Label1.SetCaption(u"Destination File");
    go.SetVisible(true);
    Path.SetText(File1.Path());
    DestFile.SetText(suggestion);
    DestFile.SetVisible(true);
    DFile.SetText(suggestion);
    SFile.SetText(sourceName);
    Drive1.SetVisible(false);
    filemask.SetVisible(false);
    Dir1.SetVisible(false);
    File1.SetVisible(false);
}

void Form1::DestFile_Change() { Murder.SetVisible(false); }

void Form1::go_Click() {
    Label6.SetVisible(false);
    DFile.SetText(DestFile.GetText());
    const Text& name = DestFile.GetText();
    // Such names are possible on some disks, but no one can tell them apart in a list or
    // type them again.
    if (std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; })) {
        Label1.SetCaption(u"Name has a control character");
        return;
    }
    if (!name.empty() && name.find_first_not_of(u' ') == Text::npos) {
        Label1.SetCaption(u"Name cannot be only blanks");
        return;
    }
    // The destination is always a plain name next to the source, so neither the existence
    // test nor the delete can ever reach the source through another spelling, nor another
    // folder.
    switch (platform::CheckFileName(name)) {
        case platform::NameProblem::None:
            break;
        case platform::NameProblem::Empty:
            Label1.SetCaption(u"Enter a destination file name");
            return;
        case platform::NameProblem::DotName:
            Label1.SetCaption(u"Not a plain file name");
            ShowNotice(u"\".\" and \"..\" stand for folders: type a name for the new file.");
            return;
        case platform::NameProblem::FolderPart:
            Label1.SetCaption(u"Not a plain file name");
            ShowNotice(
                u"Type a name without folders: the destination is written next to the source.");
            return;
        case platform::NameProblem::BadCharacter:
            Label1.SetCaption(u"Not a plain file name");
            ShowNotice(u"The name holds a character that file names cannot hold here.");
            return;
        case platform::NameProblem::DeviceName:
            Label1.SetCaption(u"Not a plain file name");
            ShowNotice(u"The system keeps that name for a device: type another name.");
            return;
        case platform::NameProblem::TooLong:
            Label1.SetCaption(u"Name too long, choose a shorter one");
            ShowNotice(u"The file system takes no file name that long.");
            return;
    }
    // Letter case counts where the system tells such names apart; where the names differ but
    // the files are one, the existence test below and the run's identity check refuse it.
    if (platform::SameName(SFile.GetText(), DFile.GetText()) ||
        IsSourceUnderAnotherSpelling(name)) {
        Label1.SetCaption(u"Source and destination are the same");
        return;
    }
    // The next start would read the result as the remembered folder, and delete it.
    if (rememberedFolder_.IsItsFile(File1.Path(), name)) {
        Label1.SetCaption(u"LastPath is kept for the program here");
        ShowNotice(
            u"The program keeps the last folder used in a file named LastPath in this folder: "
            u"choose another name.");
        return;
    }
    switch (platform::Classify(InSourceFolder(name))) {
        case platform::EntryKind::OrdinaryFile:
            Label1.SetCaption(u"Destination file exists, choose another name or delete it");
            Murder.SetVisible(true);
            return;
        // Only an ordinary file is offered for deletion; anything else of that name would
        // make the run fail later, so it is refused here with its own message.
        case platform::EntryKind::Folder:
            Label1.SetCaption(u"A folder has that name, choose another");
            return;
        case platform::EntryKind::HiddenFile:
            Label1.SetCaption(u"A hidden file has that name, pick another");
            return;
        case platform::EntryKind::Other:
            Label1.SetCaption(u"That name is taken, choose another");
            return;
        case platform::EntryKind::PathTooLong:
            Label1.SetCaption(u"Name too long, choose a shorter one");
            ShowNotice(
                u"The folder's path and the name together are longer than the system "
                u"takes.");
            return;
        case platform::EntryKind::Missing:
            break;
    }
    go.SetVisible(false);
    filemask.SetVisible(false);
    SFile.SetVisible(true);
    DFile.SetVisible(true);
    Path.SetVisible(true);
    Label2.SetVisible(true);
    Label3.SetVisible(true);
    Label4.SetVisible(true);
    Label1.SetCaption(u"Enter Password");
    DestFile.SetVisible(false);
    Pwd.SetVisible(true);
    Pwd.SetBackColor(kRed);
    Start.SetVisible(true);
    // A button left over from an earlier refusal would delete the file this run writes.
    Murder.SetVisible(false);
    const Text notRemembered = u"The folder could not be remembered for next time: ";
    try {
        switch (rememberedFolder_.Write(Dir1.Path())) {
            case remembered::WriteOutcome::Written:
                break;
            case remembered::WriteOutcome::FolderNameUnfit:
                ShowNotice(notRemembered +
                           u"its name is too long or holds a line break, a double quote or a "
                           u"character the code page lacks.");
                break;
            case remembered::WriteOutcome::ForeignFile:
                ShowNotice(notRemembered +
                           u"the file LastPath in the working folder is not the program's, so "
                           u"it was left as it is.");
                break;
        }
    } catch (const std::system_error& error) {
        ShowNotice(notRemembered + ReasonText(error));
    }
}

bool Form1::IsSourceUnderAnotherSpelling(const Text& name) const {
    // A disk that ignores letter case answers for "PHOTO.JPG" with the entry it lists as
    // "photo.jpg", and may even give each spelling a file number of its own.
    const std::optional<Text> listed = platform::ListedName(File1.Path(), name);
    return listed && platform::SameName(*listed, SFile.GetText());
}

void Form1::Murder_Click() {
    Murder.SetVisible(false);
    Label6.SetVisible(false);
    const Text sourceIsSpared = u"That is the source file, it was not deleted";
    // The entry as the folder lists it: on a disk that ignores letter case, the name typed
    // may be another spelling of it, or of the source.
    const std::optional<Text> listed = platform::ListedName(File1.Path(), DestFile.GetText());
    const Text& name = listed ? *listed : DestFile.GetText();
    const Text destination = InSourceFolder(name);
    // Checked by name, and by identity: another name for the same file (a hard link) is the
    // source too.
    if ((listed && platform::SameName(*listed, SFile.GetText())) ||
        platform::SameFile(destination, InSourceFolder(SFile.GetText()))) {
        Label1.SetCaption(sourceIsSpared);
        return;
    }
    if (platform::Classify(destination) != platform::EntryKind::OrdinaryFile) {
        Label1.SetCaption(u"The file is gone, press OK again");
        return;
    }
    try {
        // The file picked is spared by its identity, also if another program has renamed
        // it onto the destination's name since. A source that could not be looked at when
        // it was picked was gone by then, and has no identity to spare.
        switch (removeFile_(destination, pickedSource_)) {
            case platform::Discarded::MovedToWastebasket:
                ShowNotice(name + u" was moved to the " + platform::WastebasketName() + u".");
                break;
            case platform::Discarded::DeletedForGood:
                ShowNotice(name + u" was deleted for good: this disk has no " +
                           platform::WastebasketName() + u".");
                break;
            case platform::Discarded::Spared:
                Label1.SetCaption(sourceIsSpared);
                break;
        }
    } catch (const std::system_error& error) {
        Label1.SetCaption(u"Could not delete the file");
        ShowNotice(DestFile.GetText() + u": " + ReasonText(error));
    }
}

}  // namespace window
