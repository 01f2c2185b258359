#include "cipher/source_changed.h"

#include <string>

#include "cipher/cipher.h"

namespace cipher {
namespace {

class TransformCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "transform"; }
    std::string message(int) const override { return "Source changed during the run"; }
};

}  // namespace

std::error_code SourceChanged() {
    static const TransformCategory category;
    return {1, category};
}

platform::FileError SourceChangedError(std::u16string_view sourcePath) {
    return platform::FileError(SourceChanged(), u"Cannot trust what was read from",
                               std::u16string(sourcePath));
}

}  // namespace cipher
