#include <algorithm>
#include <system_error>

#include "cipher/cipher.h"
#include "cipher/file_traffic.h"
#include "cipher/keystream_loops.h"
#include "cipher/source_changed.h"
#include "platform/platform.h"

namespace cipher {
namespace {

[[noreturn]] void RefuseDestination(std::u16string doing, std::u16string_view destinationPath) {
    throw platform::FileError(std::make_error_code(std::errc::file_exists), std::move(doing),
                              std::u16string(destinationPath));
}

// Enciphers a block that sits at file offset position of a file of size bytes, calling
// Update before every offset that is a multiple of PROGRESS_STEP, just as a byte-by-byte run
// would: the window's progress bar, and its chance to stop the run, keep their pace. The
// file's last byte stays plain, as in every file this program has ever written.
void EncipherWithProgress(std::span<std::uint8_t> bytes, std::int64_t position, std::int64_t size,
                          detail::WideKeystream& keystream, ProgressSink& sink) {
    const std::int64_t plainFrom = size - 1;
    while (!bytes.empty()) {
        const std::int64_t intoStep = position % PROGRESS_STEP;
        if (intoStep == 0) {
            sink.Update(position);
        }
        const auto now = std::min(static_cast<std::size_t>(PROGRESS_STEP - intoStep), bytes.size());
        const auto enciphered = static_cast<std::size_t>(
            std::clamp<std::int64_t>(plainFrom - position, 0, static_cast<std::int64_t>(now)));
        keystream.Apply(bytes.first(enciphered));
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
    // The run is the bytes of the source as it is now, to the size it has now: if it changes
    // in any way before the end (cut short, rewritten, grown, removed), nothing is written,
    // for the result would be a mix of two versions. Every look goes through the open file,
    // so a folder renamed meanwhile changes nothing.
    const platform::FileVersion start = source.SettledVersion();
    const std::int64_t size = start.size;
    platform::OutputFile destination(destinationPath, source);
    sink.Begin(size);
    if (size == 0) {
        // An empty source still gets its one progress report, as the step loop would give it.
        sink.Update(0);
    }
    {
        FileTraffic traffic(source, sourcePath, size, destination);
        detail::WideKeystream keystream(state);
        while (const std::optional<FileTraffic::Block> block = traffic.Next()) {
            EncipherWithProgress(block->bytes, block->offset, size, keystream, sink);
            traffic.Enciphered(*block);
        }
        traffic.Finish();
    }
    // A file that gives more than its size (a pseudo-file whose size says nothing) is not
    // the bytes that were read: one more read tells.
    std::uint8_t beyond = 0;
    if (source.Read({&beyond, 1}) != 0 || source.Version() != start) {
        throw SourceChangedError(sourcePath);
    }
    source.CheckUnwritten();
    destination.Commit();
    return size;
}

}  // namespace cipher
