// Linux names as the window's text, for the sources of this folder.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// FromNative, onto the end of text, so that a listing decodes every name into one buffer.
void AppendFromNative(std::string_view bytes, std::u16string& text);

}  // namespace platform
