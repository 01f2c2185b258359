// libFuzzer target for the "LastPath" reader: whatever bytes the file holds, reading its first
// field must neither crash nor return something that cannot be a field of those bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "remembered/first_field.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool quoted = !bytes.empty() && bytes.front() == '"';
    for (const bool wholeFile : {true, false}) {
        const auto field = remembered::FirstField(bytes, wholeFile);
        if (!field) continue;
        const std::size_t begin = quoted ? 1 : 0;
        Require(!field->empty());
        Require(bytes.substr(begin, field->size()) == *field);
        Require(field->find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        Require(quoted ? field->find('"') == std::string::npos
                       : field->find(',') == std::string::npos);
        // A field cut off by the end of a partial read is never returned.
        Require(wholeFile || begin + field->size() < bytes.size());
    }
    return 0;
}
