// Key material is wiped by the types that hold it (BuiltKey, CipherState and the keystream's
// wide copy of it) when they go, all with this one function.
#pragma once

#include <cstddef>
#include <span>

namespace cipher {

// Overwrites the memory with zeros, with volatile stores so that they are not left out as
// writes nothing reads afterwards.
void Wipe(void* memory, std::size_t size);

// Called after every wipe with the memory just wiped, while it still belongs to its object,
// so that a test can see each run's secrets wiped however the run ended. None by default.
using WipeWatcher = void (*)(std::span<const unsigned char> wiped);
void WatchWipes(WipeWatcher watcher);

}  // namespace cipher
