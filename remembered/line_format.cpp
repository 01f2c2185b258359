#include "remembered/line_format.h"

namespace remembered {

std::optional<std::string> LineFor(std::string_view folder) {
    if (folder.find_first_of("\r\n\"") != std::string_view::npos) return std::nullopt;
    const bool quoted = folder.find(',') != std::string_view::npos;
    std::string line;
    if (quoted) line += '"';
    line += folder;
    if (quoted) line += '"';
    line += "\r\n";
    if (line.size() > kLineLimit) return std::nullopt;
    return line;
}

bool CouldHaveWritten(std::string_view bytes) {
    if (bytes.size() > kLineLimit || bytes.find('\0') != std::string_view::npos) return false;
    const std::size_t lineEnd = bytes.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) return true;
    const std::string_view ending = bytes.substr(lineEnd);
    return ending == "\r\n" || ending == "\n";
}

}  // namespace remembered
