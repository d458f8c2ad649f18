// The program's icons. Toolbar icons come from the desktop's icon theme by
// their standard names; where the theme has none, the program draws its own
// so that a bare system still shows recognisable buttons.
#pragma once

#include <QIcon>

namespace tavro {

enum class ToolbarIcon { kNew, kOpen, kSave, kCopy, kFind, kSelectAll };

QIcon LoadToolbarIcon(ToolbarIcon which);

// The same picture the program draws when the theme lacks the icon.
QIcon DrawnToolbarIcon(ToolbarIcon which);

// The program's own icon: the window icon (the desktop entry installs tavro.svg).
QIcon AppIcon();

}  // namespace tavro
