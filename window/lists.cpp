#include "window/lists.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <system_error>
#include <utility>

#include "window/texts.h"

namespace window {

namespace {

// One pattern in upper case, cut at its stars: the piece before the first star must begin a
// name and the piece after the last must end it, and the pieces between are found in turn,
// each as early as it fits, which finds a match whenever there is one; "?" stands for any one
// unit. However many stars a pattern has, a name takes at most its length times the pattern's
// steps, and the common masks ("*.txt") only compare the name's end.
class Pattern {
public:
    explicit Pattern(std::u16string_view pattern) {
        for (std::size_t from = 0;;) {
            const std::size_t star = pattern.find(u'*', from);
            pieces_.emplace_back(pattern.substr(from, star - from));
            if (star == std::u16string_view::npos) break;
            from = star + 1;
        }
    }

    bool Matches(std::u16string_view name) const {
        const std::u16string_view first = pieces_.front();
        if (pieces_.size() == 1) return name.size() == first.size() && PieceAt(name, 0, first);
        const std::u16string_view last = pieces_.back();
        if (name.size() < first.size() + last.size() || !PieceAt(name, 0, first) ||
            !PieceAt(name, name.size() - last.size(), last)) {
            return false;
        }
        std::size_t from = first.size();
        const std::size_t until = name.size() - last.size();
        for (std::size_t k = 1; k + 1 < pieces_.size(); ++k) {
            const std::u16string_view piece = pieces_[k];
            while (from + piece.size() <= until && !PieceAt(name, from, piece)) ++from;
            if (from + piece.size() > until) return false;
            from += piece.size();
        }
        return true;
    }

private:
    static bool PieceAt(std::u16string_view name, std::size_t at, std::u16string_view piece) {
        for (std::size_t k = 0; k < piece.size(); ++k) {
            if (piece[k] != u'?' && piece[k] != name[at + k]) return false;
        }
        return true;
    }

    std::vector<Text> pieces_;
};

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text;
}

std::vector<Text> UpperCaseKeys(const std::vector<Text>& names) {
    std::vector<Text> keys;
    keys.reserve(names.size());
    for (const Text& name : names) keys.push_back(UpperCase(name));
    return keys;
}

// The order in which a list shows names, as indices into them: by their upper-case keys, and
// names that differ only in case by their exact text, so the order never depends on the
// order in which the folder happened to be listed.
std::vector<std::size_t> OrderIgnoringCase(const std::vector<Text>& names,
                                           const std::vector<Text>& keys) {
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    return order;
}

// A mask split into its patterns in upper case, so that a whole listing is matched against
// it with no work on the mask per name. A pattern ending in ".*" also stands for itself
// without those two units, for names without a dot.
class Mask {
public:
    explicit Mask(const Text& mask) {
        const Text upper = UpperCase(mask);
        std::u16string_view rest = upper;
        while (true) {
            const std::size_t end = std::min(rest.find(u';'), rest.size());
            const std::u16string_view pattern = Trimmed(rest.substr(0, end));
            if (!pattern.empty()) {
                patterns_.emplace_back(pattern);
                if (pattern.ends_with(u".*")) {
                    withoutDot_.emplace_back(pattern.substr(0, pattern.size() - 2));
                }
            }
            if (end == rest.size()) break;
            rest.remove_prefix(end + 1);
        }
    }

    bool Matches(std::u16string_view upperName) const {
        for (const Pattern& pattern : patterns_) {
            if (pattern.Matches(upperName)) return true;
        }
        if (!withoutDot_.empty() && upperName.find(u'.') == std::u16string_view::npos) {
            for (const Pattern& pattern : withoutDot_) {
                if (pattern.Matches(upperName)) return true;
            }
        }
        return patterns_.empty();
    }

private:
    std::vector<Pattern> patterns_;
    std::vector<Pattern> withoutDot_;
};

}  // namespace

bool MatchesMask(const Text& name, const Text& mask) { return Mask(mask).Matches(UpperCase(name)); }

// ---------------------------------------------------------------------------------------

const Text& DriveListBox::Drive() const {
    static const Text none;
    return listIndex_ >= 0 ? entries_[static_cast<std::size_t>(listIndex_)] : none;
}

void DriveListBox::SetVolumeSource(VolumeSource source) {
    volumeSource_ = std::move(source);
    Refresh();
}

void DriveListBox::LoadVolumes() {
    const Text current =
        listIndex_ >= 0 ? volumes_[static_cast<std::size_t>(listIndex_)].path : Text();
    volumes_ = volumeSource_();
    entries_.clear();
    listIndex_ = -1;
    for (const platform::Volume& volume : volumes_) {
        if (!current.empty() && platform::SameName(volume.path, current)) {
            listIndex_ = static_cast<int>(entries_.size());
        }
        entries_.push_back(volume.text);
    }
}

void DriveListBox::Refresh() {
    LoadVolumes();
    Notify();
}

void DriveListBox::Restore(State state) {
    volumes_ = std::move(state.volumes);
    entries_ = std::move(state.entries);
    listIndex_ = state.listIndex;
    Notify();
}

void DriveListBox::SetDrive(const Text& drive) {
    if (drive.empty())
        throw std::system_error(std::make_error_code(std::errc::invalid_argument), "no drive");
    State previous = Snapshot();
    LoadVolumes();
    const std::vector<platform::FolderStep> asFolder = platform::FolderChain(drive);
    const auto named = [&](std::size_t k) {
        const std::vector<platform::FolderStep> volume = platform::FolderChain(volumes_[k].path);
        return platform::SameName(entries_[k], drive) ||
               (!asFolder.empty() && !volume.empty() &&
                platform::SameName(volume.back().path, asFolder.back().path));
    };
    std::size_t index = 0;
    while (index < volumes_.size() && !named(index)) ++index;
    if (index == volumes_.size() || !platform::FolderExists(volumes_[index].path)) {
        Restore(std::move(previous));
        throw platform::FileError(std::make_error_code(std::errc::no_such_device),
                                  u"Cannot open folder", drive);
    }
    listIndex_ = static_cast<int>(index);
    Notify();
    try {
        if (change_) change_();
    } catch (...) {
        Restore(std::move(previous));
        throw;
    }
}

void DriveListBox::Choose(std::size_t index) {
    if (index >= entries_.size()) return;
    const Text drive = entries_[index];  // the entries are read again while it is set
    try {
        SetDrive(drive);
    } catch (const std::system_error&) {
        // The list is as it was; the user sees the pick not taken.
    }
}

Text DriveListBox::DriveOf(const Text& folder) {
    if (volumes_.empty()) Refresh();
    const std::optional<std::size_t> index = VolumeHolding(folder);
    return index ? entries_[*index] : Text();
}

std::optional<std::size_t> DriveListBox::VolumeHolding(const Text& folder) const {
    std::optional<std::size_t> holding;
    for (std::size_t k = 0; k < volumes_.size(); ++k) {
        if (platform::VolumeHolds(volumes_[k].path, folder) &&
            (!holding || volumes_[k].path.size() > volumes_[*holding].path.size())) {
            holding = k;
        }
    }
    return holding;
}

std::optional<Text> DriveListBox::FolderOfEntry(const Text& text) const {
    const auto entry = std::find(entries_.begin(), entries_.end(), text);
    if (entry == entries_.end()) return std::nullopt;
    const Text& volume = volumes_[static_cast<std::size_t>(entry - entries_.begin())].path;
    const auto last = lastFolders_.find(platform::NameKey(volume));
    // A folder removed since it was shown is no reason to refuse the whole volume.
    if (last != lastFolders_.end() && platform::FolderExists(last->second)) return last->second;
    return volume;
}

void DriveListBox::NoteFolderShown(const Text& folder) {
    if (volumes_.empty()) LoadVolumes();
    if (const std::optional<std::size_t> index = VolumeHolding(folder)) {
        lastFolders_[platform::NameKey(volumes_[*index].path)] = folder;
    }
}

// ---------------------------------------------------------------------------------------

void DirListBox::SetPath(const Text& path) {
    const std::optional<Text> entryFolder = drives_ ? drives_->FolderOfEntry(path) : std::nullopt;
    Show(entryFolder.value_or(path));
}

void DirListBox::OpenEntry(std::size_t index) {
    if (index >= entries_.size()) return;
    const Text folder = entries_[index].path;  // the entries are replaced while it opens
    try {
        Show(folder);
    } catch (const std::system_error&) {
        // The list stays on the folder it showed.
    }
}

void DirListBox::Show(const Text& folder) {
    const std::vector<platform::FolderStep> chain = platform::FolderChain(folder);
    if (chain.empty())
        throw platform::FileError(std::make_error_code(std::errc::invalid_argument),
                                  u"Cannot open folder", folder);
    const Text& target = chain.back().path;
    if (!platform::FolderExists(target))
        throw platform::FileError(std::make_error_code(std::errc::no_such_file_or_directory),
                                  u"Cannot open folder", folder);
    platform::NameList listed;
    // Into the storage of the files handed over last time, which the file list handed back.
    platform::ListFolder(target, listed, filesShown_);
    std::vector<Text> subfolders = listed.Texts();
    const std::vector<std::size_t> order = OrderIgnoringCase(subfolders, UpperCaseKeys(subfolders));

    std::vector<Entry> entries;
    entries.reserve(chain.size() + subfolders.size());
    for (const platform::FolderStep& step : chain) {
        entries.push_back({step.name, step.path, static_cast<int>(entries.size())});
    }
    const int depth = static_cast<int>(chain.size());
    for (const std::size_t k : order) {
        Text path = platform::JoinPath(target, subfolders[k]);
        entries.push_back({std::move(subfolders[k]), std::move(path), depth});
    }

    std::vector<Entry> previousEntries = std::exchange(entries_, std::move(entries));
    const int previousIndex = std::exchange(listIndex_, depth - 1);
    Text previousPath = std::exchange(path_, target);
    Notify();
    handingOver_ = true;
    try {
        if (change_) change_();
        handingOver_ = false;
    } catch (...) {
        handingOver_ = false;
        entries_ = std::move(previousEntries);
        listIndex_ = previousIndex;
        path_ = std::move(previousPath);
        Notify();
        throw;
    }
    if (drives_) drives_->NoteFolderShown(path_);
}

bool DirListBox::HandOverFiles(const Text& folder, platform::NameList& files) {
    if (!handingOver_ || folder != path_) return false;
    handingOver_ = false;
    std::swap(files, filesShown_);
    return true;
}

// ---------------------------------------------------------------------------------------

void FileListBox::SetPath(const Text& path) {
    const std::vector<platform::FolderStep> chain = platform::FolderChain(path);
    if (chain.empty())
        throw platform::FileError(std::make_error_code(std::errc::invalid_argument),
                                  u"Cannot open folder", path);
    const Text& folder = chain.back().path;
    if (!folders_ || !folders_->HandOverFiles(folder, reading_)) ReadListing(folder);
    const bool listingChanged = TakeReading();
    path_ = folder;
    listIndex_ = -1;
    Filter(listingChanged);
    Notify();
}

Text FileListBox::FileName() const {
    return listIndex_ >= 0 ? names_[static_cast<std::size_t>(listIndex_)] : Text();
}

void FileListBox::SetFileName(const Text& pattern) {
    pattern_ = pattern;
    const Text selected = FileName();
    bool listingChanged = false;
    if (!path_.empty()) {
        try {
            ReadListing(path_);
            listingChanged = TakeReading();
        } catch (const std::system_error&) {
            // Typing a mask must never fail; the last listing is the best there is.
        }
    }
    Filter(listingChanged);
    const auto kept = std::find(names_.begin(), names_.end(), selected);
    listIndex_ =
        !selected.empty() && kept != names_.end() ? static_cast<int>(kept - names_.begin()) : -1;
    Notify();
}

void FileListBox::ReadListing(const Text& folder) { platform::ListOrdinaryFiles(folder, reading_); }

bool FileListBox::TakeReading() {
    // A folder listed as it was last time (as it is while a mask is typed) keeps its keys
    // and its order.
    if (reading_ == listed_) return false;
    std::vector<Text> files = reading_.Texts();
    const std::vector<Text> keys = UpperCaseKeys(files);
    const std::vector<std::size_t> order = OrderIgnoringCase(files, keys);
    std::vector<Text> sorted;
    sorted.reserve(files.size());
    platform::NameList sortedKeys;
    for (const std::size_t k : order) {
        sorted.push_back(std::move(files[k]));
        sortedKeys.Add(keys[k]);
    }
    std::swap(listed_, reading_);
    sorted_ = std::move(sorted);
    sortedKeys_ = std::move(sortedKeys);
    return true;
}

void FileListBox::Filter(bool listingChanged) {
    const Mask mask(pattern_);
    std::vector<std::size_t> shown;
    for (std::size_t k = 0; k < sortedKeys_.size(); ++k) {
        if (mask.Matches(sortedKeys_[k])) shown.push_back(k);
    }
    if (!listingChanged && shown == shown_) return;
    shown_ = std::move(shown);
    names_.clear();
    names_.reserve(shown_.size());
    for (const std::size_t k : shown_) names_.push_back(sorted_[k]);
    ++namesVersion_;
}

void FileListBox::Select(int index) {
    if (index < -1 || index >= static_cast<int>(names_.size()) || index == listIndex_) return;
    listIndex_ = index;
    Notify();
}

void FileListBox::DblClick() {
    if (dblClick_) dblClick_();
}

}  // namespace window
