// The same password and file give the same bytes on every system this program is built for.
#include <gtest/gtest.h>

#include "cipher/cipher.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shared_vectors.h"
#include "tests/support/whole_files.h"

namespace {

using support::kSharedDestination;
using support::kSharedKey;
using support::kSharedPassword;
using support::kSharedSource;

struct QuietSink : cipher::ProgressSink {
    void Begin(std::int64_t) override {}
    void Update(std::int64_t) override {}
};

TEST(SharedVectors, PasswordBeyondAsciiGivesTheSameKeyAndFileEverywhere) {
    const cipher::BuiltKey key = cipher::BuildKey(kSharedPassword);
    EXPECT_EQ(key.bytes, kSharedKey);

    const support::ScratchFolder folder;
    support::WriteFile(folder / "plain.txt", kSharedSource);
    cipher::CipherState state;
    cipher::KeySchedule(state, key.bytes);
    QuietSink sink;
    EXPECT_EQ(
        cipher::TransformFile(folder.Text("plain.txt"), folder.Text("plain_XXX.txt"), state, sink),
        std::int64_t(kSharedSource.size()));
    const std::string written = support::ReadFile(folder / "plain_XXX.txt");
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()), kSharedDestination);
}

}  // namespace
