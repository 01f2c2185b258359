// The system's reasons for failures on Windows: GetLastError()'s numbers, in the system's
// own words.
#include <windows.h>

#include <string>
#include <system_error>

#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

std::error_code detail::SystemReason(int number) {
    return std::error_code(number, std::system_category());
}

// The system's own words for its error codes, in the user's language; other reasons (the
// program's own, from the C library's list) come in the ANSI code page.
std::u16string ReasonText(const std::error_code& reason) {
    std::u16string text;
    if (reason.category() == std::system_category()) {
        wchar_t* message = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(reason.value()), 0,
                           reinterpret_cast<wchar_t*>(&message), 0, nullptr);
        if (length > 0 && message != nullptr) text = FromWide({message, length});
        LocalFree(message);
        if (text.empty()) text = u"Error " + DecodeLine(std::to_string(reason.value()));
    } else {
        text = DecodeLine(reason.message());
    }
    // The status line reads as one sentence: no line break, and no full stop of its own.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                             text.back() == u'.')) {
        text.pop_back();
    }
    return text;
}

}  // namespace platform
