// The one rule for reading "LastPath": the first field of the first line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace remembered {

// The first field of the text's first line: the bytes up to the first comma or line end, or,
// for a field that begins with a double quote, the bytes after it up to the next double quote
// or line end. Nothing if the field is empty or holds a zero byte (no folder does), or if it
// runs to the end of the bytes while more of the file follows them (wholeFile false), since
// it may then be cut short.
std::optional<std::string> FirstField(std::string_view bytes, bool wholeFile);

}  // namespace remembered
