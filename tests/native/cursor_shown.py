#!/usr/bin/env python3
"""Whether the X server shows a mouse pointer where the pointer is: the
cursor image it would draw there (XFixes), fully transparent when the window
under the pointer has hidden it. Exits 0 when a pointer is shown, 1 when it
is hidden, 2 when the display cannot be asked. Screenshots never hold the
pointer; this is how the suite sees it. Plain ctypes, on $DISPLAY.
"""
import ctypes
import ctypes.util
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short), ("y", ctypes.c_short),
        ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
        ("cursor_serial", ctypes.c_ulong),
        ("pixels", ctypes.POINTER(ctypes.c_ulong)),  # ARGB, one in each long
    ]


def main():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        return 2
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        x11.XCloseDisplay(display)
        return 2
    c = image.contents
    shown = any(c.pixels[i] >> 24 for i in range(c.width * c.height))
    x11.XFree(image)
    x11.XCloseDisplay(display)
    return 0 if shown else 1


if __name__ == "__main__":
    sys.exit(main())
