"""A python-dbusmock template for the desktop's screen saver service, for Halvika's tests."""

import dbus

BUS_NAME = "org.freedesktop.ScreenSaver"
MAIN_OBJ = "/org/freedesktop/ScreenSaver"
MAIN_IFACE = "org.freedesktop.ScreenSaver"
SYSTEM_BUS = False


def load(mock, parameters):
    mock.AddMethods(MAIN_IFACE, [
        ("SetActive", "b", "b", "ret = True"),
        ("GetActive", "", "b", "ret = False"),
    ])
