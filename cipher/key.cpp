#include <algorithm>

#include "cipher/cipher.h"
#include "platform/platform.h"

namespace cipher {
namespace {

constexpr std::uint8_t kNoCode = '?';

bool HasCode(char16_t unit) { return platform::SingleByteCode(unit).has_value(); }

}  // namespace

BuiltKey BuildKey(std::u16string_view password) {
    // Counted in UTF-16 units, as the window's text box delivers them: a character outside
    // the Basic Multilingual Plane takes two of the 48 places.
    const std::size_t kept = std::min(password.size(), MAX_PASSWORD_CHARS);
    BuiltKey key{{}, password.size() > MAX_PASSWORD_CHARS};
    key.bytes.reserve(kept + SALT.size() + 2);
    for (const char16_t unit : password.substr(0, kept)) {
        key.bytes.push_back(platform::SingleByteCode(unit).value_or(kNoCode));
    }
    key.bytes.insert(key.bytes.end(), SALT.begin(), SALT.end());
    key.bytes.push_back(MARKER_BYTE);
    key.bytes.push_back(static_cast<std::uint8_t>(kept + LENGTH_OFFSET));
    return key;
}

bool EveryCharacterHasAKeyByte(std::u16string_view password) {
    return std::all_of(password.begin(), password.end(), HasCode);
}

}  // namespace cipher
