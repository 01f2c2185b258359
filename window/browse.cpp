// The Browse stage: start-up at the remembered folder, and the drive, folder and file lists
// kept in step while the user looks for the source.
#include <system_error>

#include "platform/platform.h"
#include "window/form1.h"

namespace window {

void Form1::Form_Load() {
    Dir1.FollowDrives(Drive1);
    File1.FollowFolders(Dir1);
    bool opened = false;
    if (rememberedFolder_.Exists()) {
        try {
            const Text folder = rememberedFolder_.Read();
            // Empty for an empty or relative folder, which no volume holds: that fails too.
            Drive1.SetDrive(Drive1.DriveOf(folder));
            Dir1.SetPath(folder);
            opened = true;
        } catch (const std::system_error&) {
            try {
                rememberedFolder_.Delete();
            } catch (const std::system_error&) {
                // A file that cannot be deleted is read again next start and fails again;
                // the window opens at the default folder either way.
            }
        }
    }
    if (!opened) {
        try {
            Drive1.SetDrive(platform::DefaultFolder());
            Dir1.SetPath(platform::DefaultFolder());
        } catch (const std::system_error&) {
            // Not even the root can be listed: the window still opens, with empty lists,
            // and the drive list may still reach a volume that can.
        }
    }
    go.SetVisible(false);
    SFile.SetVisible(false);
    DFile.SetVisible(false);
}

void Form1::Drive1_Change() { Dir1.SetPath(Drive1.Drive()); }

void Form1::Dir1_Change() { File1.SetPath(Dir1.Path()); }

void Form1::filemask_Change() { File1.SetFileName(filemask.GetText()); }

}  // namespace window
