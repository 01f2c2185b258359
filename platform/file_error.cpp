#include <string>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace platform {
namespace {

// what() is for a programmer's eyes (a log, a debugger), so UTF-8 is enough there; a unit
// that is no character on its own shows as U+FFFD. The window shows Text().
std::string Utf8ForWhat(std::u16string_view text) {
    return utf8::FromUtf16(text, [](std::string& bytes, char16_t) { utf8::Append(bytes, 0xFFFD); });
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
