#include "window/texts.h"

#include "platform/platform.h"

namespace window {

namespace {

char16_t UpperCaseUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    // Latin-1: à..þ except the division sign; ÿ has its capital in Latin Extended-A.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs capitals and small letters as even and odd code points, with
    // the run from Ĺ to Ň (and Ź to Ž) shifted by one; ı and ĸ have no pair.
    if (c >= 0x100 && c <= 0x137 && c != 0x131 && (c & 1)) return c - 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177 && (c & 1)) return c - 1;
    // Greek and Cyrillic.
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

Text UpperCase(Text text) {
    for (char16_t& c : text) c = UpperCaseUnit(c);
    return text;
}

Text SuggestedDestinationName(const Text& sourceName) {
    constexpr std::u16string_view marker = u"_XXX";
    // The marker goes before the first dot, so the name keeps every extension it had.
    const auto dot = sourceName.find(u'.');
    if (dot == Text::npos) return sourceName + Text(marker);
    return sourceName.substr(0, dot) + Text(marker) + sourceName.substr(dot);
}

Text ReasonText(const std::system_error& error) { return platform::ReasonText(error.code()); }

Text ErrorText(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const platform::FileError*>(&error)) {
        return fileError->Text();
    }
    // Only the program's own texts reach here besides the system's reason, and they are
    // plain ASCII; the reason is worded by the platform.
    std::string_view what = error.what();
    const auto* systemError = dynamic_cast<const std::system_error*>(&error);
    // The reason alone, or after what was being done, is said once, in the platform's words.
    const std::string reason = systemError ? systemError->code().message() : "";
    if (systemError && what == reason) {
        what = {};
    } else if (systemError && what.ends_with(": " + reason)) {
        what.remove_suffix(reason.size() + 2);
    }
    Text text(what.begin(), what.end());
    if (systemError) text += (text.empty() ? u"" : u": ") + ReasonText(*systemError);
    return text;
}

}  // namespace window
