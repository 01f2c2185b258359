// The one line "LastPath" holds, as the program writes it, and how to tell a file the
// program could have written from someone else's file that happens to have that name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace remembered {

// The longest file the reader takes whole; a folder path is at most a few KiB.
inline constexpr std::size_t kLineLimit = 64 * 1024;

// The file's bytes for a folder's bytes: the folder, in double quotes when it holds a comma
// (an unquoted field ends at the first comma), then carriage return and line feed. Nothing
// for a folder no line can hold: one with a line break or a double quote, or too long.
std::optional<std::string> LineFor(std::string_view folder);

// True if the bytes are a file the program could have written: a short single line of text
// (no zero byte, no line break but a final one), or nothing at all. Anything else named
// "LastPath" belongs to someone else.
bool CouldHaveWritten(std::string_view bytes);

}  // namespace remembered
