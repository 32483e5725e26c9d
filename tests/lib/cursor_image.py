#!/usr/bin/python3
"""Prints the size and hotspot of the cursor the X server shows now, as
"WIDTH HEIGHT XHOT YHOT": with the pointer over a window, that window's
cursor. The XFixes extension gives it; libXfixes comes with GStreamer's
good plugins and Mesa.
Usage: cursor_image.py   (DISPLAY names the server)"""
import ctypes
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p), ("atom", ctypes.c_ulong),
                ("name", ctypes.c_char_p)]


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cursor_image.py: cannot open the display")
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("cursor_image.py: the server tells no cursor")
    shown = image.contents
    print(shown.width, shown.height, shown.xhot, shown.yhot)
    x11.XCloseDisplay(display)


main()
