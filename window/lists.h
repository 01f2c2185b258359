// The drive, folder and file lists. Their contents come from the file system through
// platform/; what a front-end calls on them is the same as what the handlers call.
//
// Every change of a list is all or nothing: if reading the file system fails, or the Change
// handler that the change fires fails, the list is put back as it was and the error goes on
// to the caller. The user's own picks (Choose, OpenEntry) swallow that error, so browsing
// into a folder that cannot be read simply leaves the lists where they were.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "window/controls.h"

namespace window {

// True if the file name matches the mask: patterns with "*" and "?", separated by ";",
// letter case ignored. A pattern ending in ".*" also matches names without that dot, so
// "*.*" shows every file. A mask without any pattern shows every file too.
bool MatchesMask(const Text& name, const Text& mask);

class DriveListBox : public Control {
public:
    using Control::Control;
    using VolumeSource = std::function<std::vector<platform::Volume>()>;

    // The texts of the volumes the list shows, and which one is current (-1: none).
    const std::vector<Text>& Entries() const { return entries_; }
    int ListIndex() const { return listIndex_; }

    // Reads back as the current entry's text.
    const Text& Drive() const;
    // Makes the volume that the text names current and runs the Change handler at once.
    // The text is an entry's text or a volume's path. Throws (std::system_error) on an empty
    // text or a volume that is not available.
    void SetDrive(const Text& drive);
    // The user picks entry index; a volume that has vanished leaves the list as it was.
    void Choose(std::size_t index);
    void OnChange(std::function<void()> handler) { change_ = std::move(handler); }

    // Reads the volumes again (a front-end may call it when the list is opened), keeping the
    // current volume current while it is still mounted.
    void Refresh();
    // The system's volumes unless something else is given (tests give their own).
    void SetVolumeSource(VolumeSource source);

    // The text of the entry whose volume holds the folder (the one with the longest path, as
    // volumes are mounted inside each other), or empty if none does, as for a relative path.
    Text DriveOf(const Text& folder);

    // For the folder list: the folder an entry's text stands for, which is the folder last
    // shown on that volume during this start, else the volume itself. Nothing if the text is
    // not an entry's.
    std::optional<Text> FolderOfEntry(const Text& text) const;
    // For the folder list: remembers the folder as the last one shown on its volume.
    void NoteFolderShown(const Text& folder);

private:
    struct State {
        std::vector<platform::Volume> volumes;
        std::vector<Text> entries;
        int listIndex;
    };
    State Snapshot() const { return {volumes_, entries_, listIndex_}; }
    void Restore(State state);
    void LoadVolumes();
    std::optional<std::size_t> VolumeHolding(const Text& folder) const;

    std::vector<platform::Volume> volumes_;
    std::vector<Text> entries_;
    int listIndex_ = -1;
    std::map<Text, Text> lastFolders_;  // volume path's NameKey -> last folder shown on it
    VolumeSource volumeSource_ = platform::ListVolumes;
    std::function<void()> change_;
};

class DirListBox : public Control {
public:
    using Control::Control;

    struct Entry {
        Text name;  // as shown
        Text path;  // the folder it opens
        int depth;  // indentation: 0 for the root
    };
    // The current folder's ancestors from the root down, the folder itself, then its
    // subfolders; ListIndex is the current folder's entry.
    const std::vector<Entry>& Entries() const { return entries_; }
    int ListIndex() const { return listIndex_; }

    const Text& Path() const { return path_; }
    // Opens the folder and runs the Change handler at once. A drive list entry's text opens
    // the folder that entry stands for (see FollowDrives). Throws (std::system_error) if the
    // folder does not exist or cannot be read.
    void SetPath(const Text& path);
    // The user opens entry index (double-click or Enter); a folder that cannot be shown
    // leaves the list on the last folder that could.
    void OpenEntry(std::size_t index);
    void OnChange(std::function<void()> handler) { change_ = std::move(handler); }

    // Ties the list to a drive list: a Path set to one of its entries' texts opens the
    // folder last shown on that volume, and every folder shown is remembered there.
    void FollowDrives(DriveListBox& drives) { drives_ = &drives; }

    // While the Change handler runs, the ordinary files of the folder just shown, read with
    // its subfolders, for a file list that lists that folder from the handler: swapped into
    // files, once. False (and files untouched) at any other time or for any other folder.
    bool HandOverFiles(const Text& folder, platform::NameList& files);

private:
    void Show(const Text& folder);

    std::vector<Entry> entries_;
    platform::NameList filesShown_;
    bool handingOver_ = false;
    int listIndex_ = -1;
    Text path_;
    DriveListBox* drives_ = nullptr;
    std::function<void()> change_;
};

class FileListBox : public Control {
public:
    using Control::Control;

    const Text& Path() const { return path_; }
    // Lists the folder's files. Throws (std::system_error) if it cannot be read.
    void SetPath(const Text& path);
    // Get: the selected file's name without its folder (empty when none is selected).
    Text FileName() const;
    // Set: the text becomes the list's pattern ("*" and "?", several separated by ";") and
    // the folder is listed again; if it can no longer be read, its last listing is filtered.
    void SetFileName(const Text& pattern);

    // Ties the list to a folder list: a Path set from that list's Change handler to the
    // folder it shows takes the files that list read with it, so the folder is read once.
    void FollowFolders(DirListBox& folders) { folders_ = &folders; }

    // The names shown, sorted, and the selection (-1: none).
    const std::vector<Text>& Names() const { return names_; }
    // Goes up by one at each change of Names, so that a view draws the names again only
    // when they changed.
    std::size_t NamesVersion() const { return namesVersion_; }
    int ListIndex() const { return listIndex_; }
    // A single click: selects only. An index outside the list is ignored.
    void Select(int index);
    // A double-click or Enter; the handler decides what a double-click without a selection
    // means.
    void DblClick();
    void OnDblClick(std::function<void()> handler) { dblClick_ = std::move(handler); }

private:
    // Reads the folder's files into the spare listing, reading_, so that a folder that
    // cannot be read (it throws std::system_error) leaves the last listing as it was.
    void ReadListing(const Text& folder);
    // Makes the spare listing the list's; true if it is not the one listed last.
    bool TakeReading();
    // Shows the files that match the pattern.
    void Filter(bool listingChanged);

    Text path_;
    Text pattern_ = u"*.*";
    // Every file of the folder as last listed, in the folder's own order, and the listing
    // before it, whose storage the next reading reuses; the same in the order the list shows
    // them, with their upper-case keys alongside in one text, so that matching a mask walks
    // memory in order; and those the list shows, as indices into that order.
    platform::NameList listed_;
    platform::NameList reading_;
    std::vector<Text> sorted_;
    platform::NameList sortedKeys_;
    std::vector<std::size_t> shown_;
    std::vector<Text> names_;
    std::size_t namesVersion_ = 0;
    int listIndex_ = -1;
    DirListBox* folders_ = nullptr;
    std::function<void()> dblClick_;
};

}  // namespace window
