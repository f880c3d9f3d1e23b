#include "ui/CapsLock.h"

// Qt first: the X11 and Windows headers define macros (None, Bool, Status, ...) that Qt's
// headers also use as names.
#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(PG_HAVE_X11) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define PG_READ_X11 1
#endif

namespace pg::ui {

bool KeyboardCapsLockOn() {
#if defined(Q_OS_WIN)
  return (GetKeyState(VK_CAPITAL) & 1) != 0;
#elif defined(PG_READ_X11)
  // Only a program on the X11 platform plugin has a display; under Wayland or offscreen it is
  // not there.
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return false;
  // The indicator the keymap names "Caps Lock"; failing that the first one, which the usual
  // keymaps give to Caps Lock.
  const Atom name = XInternAtom(display, "Caps Lock", True);
  int on = 0;
  if (name != 0 && XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr) == True)
    return on != 0;
  unsigned int state = 0;
  if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) return false;
  return (state & 1U) != 0;
#else
  return false;
#endif
}

}  // namespace pg::ui
