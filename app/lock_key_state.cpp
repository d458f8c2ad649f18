#include "app/lock_key_state.h"

#include <QGuiApplication>

#if defined(TAVRO_HAVE_XKB)
#include <X11/XKBlib.h>
#endif

namespace tavro {

std::optional<LockKeys> QueryLockKeys() {
#if defined(TAVRO_HAVE_XKB) && QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) return std::nullopt;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != 0) return std::nullopt;
    // The core keyboard's indicators: Caps Lock, Num Lock, Scroll Lock.
    return LockKeys{(state & 0x1) != 0, (state & 0x2) != 0, (state & 0x4) != 0};
#else
    return std::nullopt;
#endif
}

}  // namespace tavro
