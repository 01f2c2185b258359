#include "window/open_from_outside.h"

#include <algorithm>
#include <system_error>

#include "platform/platform.h"
#include "window/host.h"
#include "window/texts.h"

namespace window {
namespace {

// The notice line says why; the status line goes on saying what to do.
void Refuse(Form1& form, const Text& notice) {
    form.Label6.SetCaption(notice);
    form.Label6.SetVisible(true);
}

// Why a path that is not a folder is not among the files its folder's list shows.
Text WhyNotListed(platform::EntryKind kind) {
    switch (kind) {
        case platform::EntryKind::Missing:
            return u": there is no such file or folder";
        case platform::EntryKind::HiddenFile:
            return u": a hidden file, which the file list does not offer";
        default:
            return u": not an ordinary file (a device, a pipe, a socket or a broken link)";
    }
}

// The drive and folder lists moved to the folder, as start-up opens the remembered one. If
// the folder cannot be shown, the lists go back to where they were and the error goes on.
void OpenFolder(Form1& form, const Text& folder) {
    const Text drive = form.Drive1.Drive();
    const Text shown = form.Dir1.Path();
    try {
        form.Drive1.SetDrive(form.Drive1.DriveOf(folder));
        form.Dir1.SetPath(folder);
    } catch (const std::system_error&) {
        try {
            if (!drive.empty()) form.Drive1.SetDrive(drive);
            if (!shown.empty()) form.Dir1.SetPath(shown);
        } catch (const std::system_error&) {
            // The way back is gone too; the lists show what they could reach.
        }
        throw;
    }
}

// The name as listed, or else one the system takes for it (on Windows, in other letter case,
// as a path typed by hand or handed on by another program may spell it).
int IndexOf(const std::vector<Text>& names, const Text& name) {
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) {
        found = std::find_if(names.begin(), names.end(),
                             [&](const Text& listed) { return platform::SameName(listed, name); });
    }
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// Everything is checked before the lists move, so a refusal leaves them as they were.
void OpenFile(Form1& form, platform::EntryKind kind, const Text& folder, const Text& name) {
    std::vector<Text> listed;
    try {
        platform::NameList names;
        platform::ListOrdinaryFiles(folder, names);
        listed = names.Texts();
    } catch (const std::system_error& error) {
        Refuse(form, name + u": its folder cannot be read (" + ReasonText(error) + u")");
        return;
    }
    // Only what the file list would offer for a double-click is taken, so every way in
    // leads to the same sources.
    if (IndexOf(listed, name) < 0) {
        Refuse(form, name + WhyNotListed(kind));
        return;
    }
    try {
        platform::InputFile readable(platform::JoinPath(folder, name));
    } catch (const std::system_error& error) {
        Refuse(form, name + u": cannot be read (" + ReasonText(error) + u")");
        return;
    }
    try {
        OpenFolder(form, folder);
    } catch (const std::system_error& error) {
        Refuse(form, name + u": its folder cannot be opened (" + ReasonText(error) + u")");
        return;
    }
    // A mask typed while browsing may hide the file; the mask is not shown past this stage.
    if (IndexOf(form.File1.Names(), name) < 0) form.filemask.SetText(u"*.*");
    const int index = IndexOf(form.File1.Names(), name);
    if (index < 0) {
        // Gone since it was looked at.
        Refuse(form, name + WhyNotListed(platform::EntryKind::Missing));
        return;
    }
    form.File1.Select(index);
    form.File1.DblClick();
}

}  // namespace

bool TakesPathsFromOutside(const Form1& form) { return form.File1.Visible(); }

void OpenFromOutside(Form1& form, const std::vector<Text>& paths) {
    if (!TakesPathsFromOutside(form) || paths.empty()) return;
    // A new way in replaces what was said about the last one.
    form.Label6.SetVisible(false);
    if (paths.size() > 1) {
        Refuse(form, Text(kApplicationName) + u" takes one file at a time: open a single file.");
        return;
    }
    const Text& path = paths.front();
    const std::vector<platform::FolderStep> chain = platform::FolderChain(path);
    if (chain.empty()) {
        Refuse(form, path + WhyNotListed(platform::EntryKind::Missing));
        return;
    }
    const Text& whole = chain.back().path;
    if (platform::FolderExists(whole)) {
        try {
            OpenFolder(form, whole);
        } catch (const std::system_error& error) {
            Refuse(form, chain.back().name + u": the folder cannot be opened (" +
                             ReasonText(error) + u")");
        }
        return;
    }
    const platform::EntryKind kind = platform::Classify(whole);
    if (kind == platform::EntryKind::Missing) {
        Refuse(form, chain.back().name + WhyNotListed(kind));
        return;
    }
    OpenFile(form, kind, chain[chain.size() - 2].path, chain.back().name);
}

}  // namespace window
