// The state of the Caps, Num and Scroll Lock keys, for the status bar's CAP,
// NUM and SCRL panes. Only an X11 display can be asked; elsewhere (Wayland,
// offscreen) the state is unknown and the panes stay blank.
#pragma once

#include <optional>

namespace tavro {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

std::optional<LockKeys> QueryLockKeys();

}  // namespace tavro
