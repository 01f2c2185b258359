#include "window/texts.h"

#include "platform/platform.h"

namespace window {

Text SuggestedDestinationName(const Text& sourceName) {
    constexpr std::u16string_view marker = u"_XXX";
    // The marker goes before the first dot, so the name keeps every extension it had.
    const auto dot = sourceName.find(u'.');
    if (dot == Text::npos) return sourceName + Text(marker);
    return sourceName.substr(0, dot) + Text(marker) + sourceName.substr(dot);
}

Text ReasonText(const std::system_error& error) { return platform::ReasonText(error.code()); }

Text RunFailedStatus(const std::system_error& error) {
    if (error.code() == std::errc::file_exists) return u"Destination file exists, nothing written";
    return u"Failed: " + ReasonText(error);
}

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
