// A process for the Recycle Bin tests, which need the shell's Recycle Bin found afresh (wine
// looks for its own once per process): it discards the file named in its argument and ends
// with 10 if it went to the Recycle Bin, 11 if it was deleted for good, 12 on a failure.
#include <exception>

#include "platform/platform.h"

int main(int argc, char* argv[]) {
    if (argc < 2) return 2;
    try {
        switch (platform::Discard(platform::DecodeLine(argv[1]), std::nullopt)) {
            case platform::Discarded::MovedToWastebasket:
                return 10;
            case platform::Discarded::DeletedForGood:
                return 11;
            case platform::Discarded::Spared:
                break;
        }
    } catch (const std::exception&) {
    }
    return 12;
}
