// The failure of a run whose source changed while it was read.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace cipher {

// Names the source, with SourceChanged() as the reason.
platform::FileError SourceChangedError(std::u16string_view sourcePath);

}  // namespace cipher
