#include <system_error>
#include <vector>

#include "cipher/cipher.h"
#include "platform/platform.h"

namespace cipher {
namespace {

// Large enough that system calls cost nothing next to the keystream, small enough to keep a
// run's memory flat whatever the file's size.
constexpr std::size_t BLOCK_BYTES = std::size_t{1} << 20;

[[noreturn]] void RefuseDestination(std::u16string doing, std::u16string_view destinationPath) {
    throw platform::FileError(std::make_error_code(std::errc::file_exists), std::move(doing),
                              std::u16string(destinationPath));
}

// Enciphers bytes that sit at file offsets [position, position + bytes.size()), calling
// Update before every offset that is a multiple of PROGRESS_STEP, just as a byte-by-byte run
// would: the window's progress bar, and its chance to cancel, keep their pace.
void EncipherWithProgress(std::span<std::uint8_t> bytes, std::int64_t position, CipherState& state,
                          ProgressSink& sink) {
    while (!bytes.empty()) {
        const std::int64_t intoStep = position % PROGRESS_STEP;
        if (intoStep == 0) {
            sink.Update(position);
        }
        const auto stepLeft = static_cast<std::size_t>(PROGRESS_STEP - intoStep);
        const std::size_t now = std::min(stepLeft, bytes.size());
        ApplyKeystream(state, bytes.first(now));
        bytes = bytes.subspan(now);
        position += static_cast<std::int64_t>(now);
    }
}

}  // namespace

std::int64_t TransformFile(std::u16string_view sourcePath, std::u16string_view destinationPath,
                           CipherState& state, ProgressSink& sink) {
    platform::InputFile source(sourcePath);
    if (source.IsSameFileAs(destinationPath)) {
        RefuseDestination(u"Will not write over the source file", destinationPath);
    }
    if (platform::Classify(destinationPath) != platform::EntryKind::Missing) {
        RefuseDestination(u"Will not write over", destinationPath);
    }
    platform::OutputFile destination(destinationPath);
    sink.Begin(source.Size());

    // The last byte of the file stays plain, as in every file this program has ever written,
    // so one byte is always held back until the next read shows whether it was the last.
    std::vector<std::uint8_t> buffer(BLOCK_BYTES + 1);
    std::size_t heldBack = 0;
    std::int64_t position = 0;
    for (;;) {
        const std::size_t got = source.Read(std::span(buffer).subspan(heldBack, BLOCK_BYTES));
        if (got == 0) {
            break;
        }
        const std::size_t ready = heldBack + got - 1;
        EncipherWithProgress(std::span(buffer).first(ready), position, state, sink);
        destination.Write(std::span(buffer).first(ready));
        position += static_cast<std::int64_t>(ready);
        buffer[0] = buffer[ready];
        heldBack = 1;
    }
    if (heldBack == 0) {
        // An empty source still gets its one progress report, as the step loop would give it.
        sink.Update(0);
    } else {
        // The last byte's position gets its report too, if a step begins there.
        if (position % PROGRESS_STEP == 0) {
            sink.Update(position);
        }
        destination.Write(std::span(buffer).first(1));
        ++position;
    }
    destination.Commit();
    return position;
}

}  // namespace cipher
