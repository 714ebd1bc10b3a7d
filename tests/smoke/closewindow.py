#!/usr/bin/env python3
# Asks an X11 window to close, as a window manager's close button does:
# sends it the WM_DELETE_WINDOW client message. Usage: closewindow.py WINDOW_ID
import ctypes
import ctypes.util
import sys

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XInternAtom.restype = ctypes.c_ulong


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


display = ctypes.c_void_p(xlib.XOpenDisplay(None))
if not display.value:
    sys.exit("cannot open the display")
event = Event()
event.client.type = 33  # ClientMessage
event.client.window = int(sys.argv[1], 0)
event.client.format = 32
event.client.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.client.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
if not xlib.XSendEvent(display, ctypes.c_ulong(event.client.window), 0, ctypes.c_long(0), ctypes.byref(event)):
    sys.exit("cannot send the message")
xlib.XCloseDisplay(display)  # flushes the request first
