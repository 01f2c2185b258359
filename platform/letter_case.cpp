// Letter case by one rule on every system, for the file systems that match names without
// regard to it (FAT and exFAT disks on Linux) and for sorting names as the lists show them.
#include "platform/platform.h"

namespace platform {
namespace {

char16_t UpperCaseUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    // Latin-1: à..þ except the division sign; ÿ has its capital in Latin Extended-A.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs capitals and small letters as even and odd code points, with
    // the run from Ĺ to Ň (and Ź to Ž) shifted by one; ı and ĸ have no pair.
    if (c >= 0x100 && c <= 0x137 && c != 0x131 && (c & 1)) return c - 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177 && (c & 1)) return c - 1;
    // Greek and Cyrillic.
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

std::u16string UpperCase(std::u16string text) {
    for (char16_t& c : text) c = UpperCaseUnit(c);
    return text;
}

}  // namespace platform
