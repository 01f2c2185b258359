// Placeholder until its issue lands.
#include "remembered/remembered_folder.h"
namespace remembered {
RememberedFolder::RememberedFolder(std::filesystem::path workingFolder) : file_(workingFolder / kFileName) {}
}  // namespace remembered
