#pragma once

namespace vlp::ui {

// Whether Caps Lock is toggled on. Only an X11 display can tell; elsewhere (the offscreen
// platform, Wayland) the answer is false.
bool CapsLockOn();

}  // namespace vlp::ui
