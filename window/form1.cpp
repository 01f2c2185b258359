// Placeholder until its issue lands.
#include "window/form1.h"
namespace window {
Form1::Form1(Host& host, const remembered::RememberedFolder& rememberedFolder)
    : host_(host), rememberedFolder_(rememberedFolder) {}
void Form1::Load() { Form_Load(); }
Control* Form1::Find(const std::string&) { return nullptr; }
}  // namespace window
