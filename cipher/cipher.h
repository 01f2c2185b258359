// The cipher engine: an RC4-family keystream, the key built from a password, and the
// streaming transform of one file into another. One transform serves both directions.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace cipher {

// Longest password used, in UTF-16 code units; longer ones are cut.
inline constexpr std::size_t MAX_PASSWORD_CHARS = 48;
// Fixed text appended to every password.
inline constexpr std::array<std::uint8_t, 6> SALT{'4', '2', 'm', 'o', 'R', 'v'};
// Appended after the salt. Fixed for good: files written with it restore only with it.
inline constexpr std::uint8_t MARKER_BYTE = 0xA5;
// Added to the password length to form the key's last byte.
inline constexpr std::uint8_t LENGTH_OFFSET = 0x40;
// The transform reports progress every this many bytes.
inline constexpr std::int64_t PROGRESS_STEP = 10000;

// Wiped when it goes: the table is the key in another form.
struct CipherState {
    std::array<std::uint8_t, 256> S;
    std::uint8_t i;
    std::uint8_t j;
    ~CipherState();
};

// The RC4 key schedule; j keeps the value the schedule ends with (it is not reset to 0).
void KeySchedule(CipherState& state, std::span<const std::uint8_t> key);
std::uint8_t NextKeyByte(CipherState& state);
// XORs the next data.size() keystream bytes into data, as NextKeyByte would one by one.
void ApplyKeystream(CipherState& state, std::span<std::uint8_t> data);

// The bytes are wiped when the key goes.
struct BuiltKey {
    std::vector<std::uint8_t> bytes;
    bool cut;
    ~BuiltKey();
};
// Password characters (each its platform::SingleByteCode), SALT, MARKER_BYTE, then
// length + LENGTH_OFFSET.
BuiltKey BuildKey(std::u16string_view password);

// True if every character of the password has a code in the system's single-byte character
// set, and so a byte of its own in the key. BuildKey turns any other character into '?',
// which makes the password another one: "пароль" and "??????" would give the same key.
bool EveryCharacterHasAKeyByte(std::u16string_view password);

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void Begin(std::int64_t total) = 0;
    virtual void Update(std::int64_t count) = 0;
};

// Writes the source, every byte but the last enciphered, to a new destination that must not
// exist; returns the number of bytes. Throws platform::FileError naming the path and reason,
// and leaves no destination behind on any failure (an exception from the sink included).
//
// The source is the bytes of its size when the run starts. If fewer or more can be read, or
// if by the end the open file no longer has the same size and modification time or has lost
// its name (another program truncated, rewrote, grew, deleted or replaced it meanwhile), the
// run fails with SourceChanged() as its reason and writes nothing: the result could be a mix
// of two versions. Where the source holds a read lease (Linux), another program opening it
// for writing fails the run with platform::BeingWritten() as its reason, also where neither
// the size nor the time would show the change. Renaming or moving the folders on the way to
// either file changes nothing.
//
// A helper thread reads ahead and writes behind while the calling thread enciphers; the
// sink is called on the calling thread only, and the helper has ended when the call returns
// or throws.
std::int64_t TransformFile(std::u16string_view sourcePath, std::u16string_view destinationPath,
                           CipherState& state, ProgressSink& sink);

// The reason a run fails with when its source changed while it was read.
std::error_code SourceChanged();

}  // namespace cipher
