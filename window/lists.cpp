// Placeholder until its issue lands.
#include "window/lists.h"
namespace window {
const Text& DriveListBox::Drive() const { static const Text none; return none; }
void DriveListBox::SetDrive(const Text&) {}
void DriveListBox::Choose(std::size_t) {}
void DirListBox::SetPath(const Text& path) { path_ = path; }
void DirListBox::OpenEntry(std::size_t) {}
void FileListBox::SetPath(const Text& path) { path_ = path; }
Text FileListBox::FileName() const { return {}; }
void FileListBox::SetFileName(const Text& pattern) { pattern_ = pattern; }
void FileListBox::Select(int) {}
void FileListBox::DblClick() {}
}  // namespace window
