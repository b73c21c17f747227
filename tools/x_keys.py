#!/usr/bin/env python3
"""Presses keys as the X server's own key events (XTest), for the benchmarks.

A Windows program under Wine cannot reach X itself: it connects to this
helper on 127.0.0.1 and sends one byte per step, "d" (Space down) or "u"
(Space up); the helper answers each with one byte once the event is flushed
to the server, so that the program knows when the key went down.
  tools/x_keys.py PORTFILE    listens on a free port and writes it to PORTFILE
Ends when the connection closes. Needs DISPLAY, libX11 and libXtst.
"""
import ctypes
import socket
import sys

XK_space = 0x20


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x_keys: cannot open the display")
    keycode = x11.XKeysymToKeycode(display, XK_space)
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    with open(sys.argv[1], "w") as portfile:
        portfile.write(str(server.getsockname()[1]))
    connection, _ = server.accept()
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    while True:
        step = connection.recv(1)
        if not step:
            break
        xtst.XTestFakeKeyEvent(display, keycode, 1 if step == b"d" else 0, 0)
        x11.XFlush(display)
        connection.sendall(step)


if __name__ == "__main__":
    main()
