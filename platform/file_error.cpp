#include <string>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace platform {
namespace {

// what() is for a programmer's eyes (a log, a debugger), so UTF-8 is enough there; a unit
// that is no character on its own shows as U+FFFD. The window shows Text().
std::string Utf8ForWhat(std::u16string_view text) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char32_t code = text[at];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        utf8::Append(bytes, code);
    }
    return bytes;
}

// "<doing> "<path>"", without the reason.
std::u16string WhatFailed(std::u16string_view doing, std::u16string_view path) {
    return std::u16string(doing) + u" \"" + std::u16string(path) + u"\"";
}

class SourceCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "source"; }
    std::string message(int) const override { return "Another program is writing the file"; }
};

}  // namespace

std::error_code BeingWritten() {
    static const SourceCategory category;
    return {1, category};
}

FileError::FileError(std::error_code reason, std::u16string_view doing, std::u16string_view path)
    : std::system_error(reason, Utf8ForWhat(WhatFailed(doing, path))), doing_(doing), path_(path) {}

std::u16string FileError::Text() const {
    return WhatFailed(doing_, path_) + u": " + ReasonText(code());
}

}  // namespace platform
