// The window's fonts on this machine.
#pragma once

#include <QFont>

#include "window/design.h"

namespace ui::qt {

// The designed face where it is installed, otherwise the nearest plain sans-serif face at
// the designed size and weight.
QFont ResolveFont(const window::Font& font);

}  // namespace ui::qt
