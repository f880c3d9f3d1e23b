#pragma once

namespace pg::ui {

// Whether Caps Lock is toggled on, read from the keyboard: on X11 from the server's keyboard
// indicators, on Windows from the key's toggle state. Where the platform does not tell (Wayland,
// offscreen, other systems) the answer is false.
bool KeyboardCapsLockOn();

}  // namespace pg::ui
