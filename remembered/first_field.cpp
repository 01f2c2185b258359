#include "remembered/first_field.h"

namespace remembered {

std::optional<std::string> FirstField(std::string_view bytes, bool wholeFile) {
    const bool quoted = !bytes.empty() && bytes.front() == '"';
    const std::size_t begin = quoted ? 1 : 0;
    // A quote that is never closed still ends with the line.
    const std::size_t end = bytes.find_first_of(quoted ? "\"\r\n" : ",\r\n", begin);
    const bool terminated = end != std::string_view::npos;
    if (!terminated && !wholeFile) return std::nullopt;
    const std::string_view field =
        bytes.substr(begin, terminated ? end - begin : std::string_view::npos);
    if (field.empty() || field.find('\0') != std::string_view::npos) return std::nullopt;
    return std::string(field);
}

}  // namespace remembered
