#include <algorithm>
#include <utility>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/wipe.h"
#include "platform/platform.h"

namespace cipher {
namespace {

constexpr std::uint8_t kNoCode = '?';

bool HasCode(char16_t unit) { return platform::SingleByteCode(unit).has_value(); }

}  // namespace

BuiltKey::~BuiltKey() { Wipe(bytes.data(), bytes.size()); }

BuiltKey BuildKey(std::u16string_view password) {
    // Counted in UTF-16 units, as the window's text box delivers them: a character outside
    // the Basic Multilingual Plane takes two of the 48 places.
    const std::size_t kept = std::min(password.size(), MAX_PASSWORD_CHARS);
    // Room for every byte from the start: a buffer outgrown would be freed unwiped.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kept + SALT.size() + 2);
    for (const char16_t unit : password.substr(0, kept)) {
        bytes.push_back(platform::SingleByteCode(unit).value_or(kNoCode));
    }
    bytes.insert(bytes.end(), SALT.begin(), SALT.end());
    bytes.push_back(MARKER_BYTE);
    bytes.push_back(static_cast<std::uint8_t>(kept + LENGTH_OFFSET));
    // Moved into the key, buffer and all: no copy is left behind.
    return {std::move(bytes), password.size() > MAX_PASSWORD_CHARS};
}

bool EveryCharacterHasAKeyByte(std::u16string_view password) {
    return std::all_of(password.begin(), password.end(), HasCode);
}

}  // namespace cipher
