// The ANSI code page is the system's single-byte character set: a Russian machine gives
// "пароль" its Windows-1251 codes, a Polish one "łódź" its Windows-1250 codes, as the
// system's other programs of this kind do.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

std::optional<std::uint8_t> SingleByteCode(char16_t unit) {
    const UINT codePage = GetACP();
    // The UTF-8 code page gives one byte to ASCII alone, and takes no question of defaults.
    if (codePage == CP_UTF8) {
        return unit < 0x80 ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(unit))
                           : std::nullopt;
    }
    const wchar_t wide = static_cast<wchar_t>(unit);
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks is not taken as a look-alike ("ł" as "l").
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                         sizeof bytes, nullptr, &usedDefault);
    // A character of two bytes, on a code page of Japanese, Chinese or Korean, has no single
    // byte to give.
    if (size != 1 || usedDefault) return std::nullopt;
    return static_cast<std::uint8_t>(bytes[0]);
}

}  // namespace platform
