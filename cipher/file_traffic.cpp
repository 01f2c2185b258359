#include "cipher/file_traffic.h"

#include <algorithm>

#include "cipher/source_changed.h"

namespace cipher {
namespace {

// Large enough that system calls cost nothing next to the keystream, small enough to keep a
// run's memory flat whatever the file's size.
constexpr std::size_t BLOCK_BYTES = std::size_t{1} << 20;
// One being enciphered, one being written behind, and the rest read ahead: the reads and
// writes of one block take about as long as its keystream, so slack is what keeps both busy.
constexpr int BLOCKS = 6;
// The helper is woken to write only once half the blocks wait for it (or the last one does):
// waking it costs the enciphering thread a system call, too dear to pay for every block.
constexpr std::size_t WRITE_BATCH = BLOCKS / 2;

}  // namespace

FileTraffic::FileTraffic(platform::InputFile& source, std::u16string_view sourcePath,
                         std::int64_t size, platform::OutputFile& destination)
    : source_(source),
      sourcePath_(sourcePath),
      destination_(destination),
      size_(size),
      memory_(BLOCK_BYTES * BLOCKS) {
    for (int slot = 0; slot < BLOCKS; ++slot) free_.push_back(slot);
    helper_ = std::thread([this] { CarryOrFail(); });
}

FileTraffic::~FileTraffic() { Stop(); }

void FileTraffic::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (helper_.joinable()) helper_.join();
}

void FileTraffic::CarryOrFail() {
    try {
        Carry();
    } catch (...) {
        {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        changed_.notify_all();
    }
}

void FileTraffic::Carry() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] {
            return stop_ || !enciphered_.empty() || (!free_.empty() && readUpTo_ < size_) ||
                   writtenUpTo_ == size_;
        });
        if (stop_) return;
        const bool canRead = !free_.empty() && readUpTo_ < size_;
        // Reading first while the caller waits for a block; otherwise writing, which frees one.
        if (canRead && (read_.empty() || enciphered_.empty())) {
            const int slot = free_.front();
            free_.pop_front();
            const std::int64_t offset = readUpTo_;
            const auto wanted =
                static_cast<std::size_t>(std::min<std::int64_t>(size_ - offset, BLOCK_BYTES));
            const std::span bytes =
                memory_.Bytes().subspan(BLOCK_BYTES * static_cast<std::size_t>(slot), wanted);
            lock.unlock();
            if (source_.Read(bytes) != wanted) {
                throw SourceChangedError(sourcePath_);
            }
            lock.lock();
            readUpTo_ = offset + static_cast<std::int64_t>(wanted);
            read_.push_back({bytes, offset, slot});
        } else if (!enciphered_.empty()) {
            const Block block = enciphered_.front();
            enciphered_.pop_front();
            lock.unlock();
            destination_.Write(block.bytes);
            lock.lock();
            writtenUpTo_ = block.offset + static_cast<std::int64_t>(block.bytes.size());
            free_.push_back(block.slot);
        } else {
            return;  // every byte written
        }
        changed_.notify_all();
    }
}

std::optional<FileTraffic::Block> FileTraffic::Next() {
    std::unique_lock lock(mutex_);
    if (handedOut_ == size_) return std::nullopt;
    changed_.wait(lock, [this] { return failure_ || !read_.empty(); });
    if (failure_) std::rethrow_exception(failure_);
    const Block block = read_.front();
    read_.pop_front();
    handedOut_ = block.offset + static_cast<std::int64_t>(block.bytes.size());
    return block;
}

void FileTraffic::Enciphered(const Block& block) {
    bool wakeHelper = false;
    {
        const std::lock_guard lock(mutex_);
        enciphered_.push_back(block);
        // Never a wait on a helper left asleep: it sleeps only with nothing to write and no
        // block to read into, so the caller runs dry of read blocks only after handing back
        // all of them, and Finish waits for the last, which wakes it.
        wakeHelper = enciphered_.size() >= WRITE_BATCH ||
                     block.offset + static_cast<std::int64_t>(block.bytes.size()) == size_;
    }
    if (wakeHelper) changed_.notify_all();
}

void FileTraffic::Finish() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return failure_ || writtenUpTo_ == size_; });
        if (failure_) std::rethrow_exception(failure_);
    }
    Stop();
}

}  // namespace cipher
