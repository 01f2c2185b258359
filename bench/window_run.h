// A run made the way a user makes it: through the window, with its progress bar drawn and
// the window repainted during the run.
#pragma once

#include <filesystem>

namespace bench {

// Walks the window to the password stage for source -> destination (same folder), then
// returns the seconds that pressing "Enc/Decrypt" takes.
double SecondsThroughWindow(const std::filesystem::path& source,
                            const std::filesystem::path& destination);

}  // namespace bench
