#!/usr/bin/env python3
"""The program as a screen reader reads it (pyatspi): "enable" turns the session's screen-reader flag on,
as a screen reader does; "tree APP" prints APP's objects as "role: name", with " (focused)" and
" (selected)" when they are; "names SECONDS" prints each new name told for SECONDS as "role: name".
Fails, saying why, without pyatspi or an accessibility bus."""
import sys

try:
    import pyatspi
    from gi.repository import Gio, GLib
except ImportError as e:
    sys.exit(f"no AT-SPI for Python ({e}): install python3-pyatspi (scripts/deps.sh test)")


def walk(node):
    s = node.getState()
    print(f"{node.getRoleName()}: {node.name}" + (" (focused)" if s.contains(pyatspi.STATE_FOCUSED) else "")
          + (" (selected)" if s.contains(pyatspi.STATE_SELECTED) else ""))
    for child in filter(None, node):
        walk(child)


if sys.argv[1:] == ["enable"]:
    try:
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        for flag in ("IsEnabled", "ScreenReaderEnabled"):
            bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                          GLib.Variant("(ssv)", ("org.a11y.Status", flag, GLib.Variant("b", True))),
                          None, Gio.DBusCallFlags.NONE, 10000, None)
    except GLib.Error as e:
        sys.exit(f"no accessibility bus (org.a11y.Bus; packages dbus, at-spi2-core): {e.message}")
elif sys.argv[1:2] == ["tree"] and len(sys.argv) == 3:
    for app in filter(None, pyatspi.Registry.getDesktop(0)):
        if app.name == sys.argv[2]:
            walk(app)
elif sys.argv[1:2] == ["names"] and len(sys.argv) == 3:
    pyatspi.Registry.registerEventListener(lambda e: print(f"{e.source.getRoleName()}: {e.any_data}", flush=True),
                                           "object:property-change:accessible-name")
    GLib.timeout_add(int(float(sys.argv[2]) * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()
else:
    sys.exit(__doc__)
