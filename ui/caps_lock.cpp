#include "ui/caps_lock.h"

#include <QGuiApplication>

#if defined(VLP_HAVE_X11) && __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#if QT_CONFIG(xcb)
#define VLP_CAPS_FROM_XKB 1
// Xlib's macros (Bool, Status, None, ...) clash with Qt's names: include it last.
#include <X11/XKBlib.h>
#endif
#endif

namespace vlp::ui {

bool CapsLockOn() {
#ifdef VLP_CAPS_FROM_XKB
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) return false;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success) return false;
    return (state & 1u) != 0;
#else
    return false;
#endif
}

}  // namespace vlp::ui
