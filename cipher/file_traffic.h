// The file traffic of one run, carried by a helper thread so that it overlaps the keystream:
// the helper reads the source ahead into free blocks and writes enciphered blocks behind, in
// order, while the calling thread enciphers. A few blocks of 1 MiB go round, so a run's
// memory stays flat whatever the file's size.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>

#include "platform/platform.h"

namespace cipher {

class FileTraffic {
public:
    // A stretch of the source, at its offset in the file.
    struct Block {
        std::span<std::uint8_t> bytes;
        std::int64_t offset;
        int slot;
    };

    // Starts the helper, which reads exactly size bytes of source; fewer fails the run with
    // SourceChanged().
    FileTraffic(platform::InputFile& source, std::u16string_view sourcePath, std::int64_t size,
                platform::OutputFile& destination);
    // Stops the helper where it is and waits for it: it never outlives the run.
    ~FileTraffic();
    FileTraffic(const FileTraffic&) = delete;
    FileTraffic& operator=(const FileTraffic&) = delete;

    // The next block of the source in order, read in full; nothing after the last. Throws
    // what the helper failed with.
    std::optional<Block> Next();
    // Hands back the block Next gave last, enciphered, for writing.
    void Enciphered(const Block& block);
    // Waits until every block is written. Throws what the helper failed with.
    void Finish();

private:
    void Carry();
    void CarryOrFail();
    void Stop();

    platform::InputFile& source_;
    const std::u16string_view sourcePath_;
    platform::OutputFile& destination_;
    const std::int64_t size_;
    // The blocks start at a page boundary: the system copies between its file cache and such
    // a buffer about twice as fast as into one that starts anywhere else.
    platform::BlockMemory memory_;

    // Guards everything below it but the thread; both threads wait on changed_.
    std::mutex mutex_;
    std::condition_variable changed_;
    // Blocks by slot, as they go round: free -> read -> enciphered -> written (free again).
    std::deque<int> free_;
    std::deque<Block> read_;
    std::deque<Block> enciphered_;
    std::int64_t readUpTo_ = 0;     // bytes the helper has read
    std::int64_t writtenUpTo_ = 0;  // bytes the helper has written
    std::int64_t handedOut_ = 0;    // bytes handed to the caller
    bool stop_ = false;
    std::exception_ptr failure_;

    std::thread helper_;
};

}  // namespace cipher
