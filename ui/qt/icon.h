// The window's icon: the program's drawing of a page and a padlock, at every size it is
// rendered in, so that it stays sharp on screens of any scale.
#pragma once

#include <QIcon>

namespace ui::qt {

QIcon AppIcon();

}  // namespace ui::qt
