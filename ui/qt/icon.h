// The window's icon: a page and a padlock, 16 x 16 and 32 x 32 pixels in 16 colours.
#pragma once

#include <QIcon>

namespace ui::qt {

QIcon AppIcon();

}  // namespace ui::qt
