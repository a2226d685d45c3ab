# What GLib (the library GTK file dialogs read the desktop's recent files with)
# reads from a recently-used.xbel for one URI, on one line:
#   <entries> uris | <mime type> | <ZAM1 exec, %u expanded> <count> | <added> | <modified>
# "unreadable" when GLib refuses the file.
#   glib_bookmarks.py LIST URI
import ctypes, sys
g = ctypes.CDLL("libglib-2.0.so.0")
g.g_bookmark_file_new.restype = ctypes.c_void_p
g.g_bookmark_file_load_from_file.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_void_p]
g.g_bookmark_file_get_size.argtypes = [ctypes.c_void_p]
g.g_bookmark_file_get_mime_type.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_void_p]
g.g_bookmark_file_get_mime_type.restype = ctypes.c_char_p
g.g_bookmark_file_get_application_info.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
    ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_void_p), ctypes.c_void_p]
for name in ("g_bookmark_file_get_added_date_time", "g_bookmark_file_get_modified_date_time"):
    getattr(g, name).argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_void_p]
    getattr(g, name).restype = ctypes.c_void_p
g.g_date_time_format_iso8601.argtypes = [ctypes.c_void_p]
g.g_date_time_format_iso8601.restype = ctypes.c_char_p
b = g.g_bookmark_file_new()
if not g.g_bookmark_file_load_from_file(b, sys.argv[1].encode(), None):
    print("unreadable"); sys.exit(0)
u = sys.argv[2].encode()
execs = ctypes.c_char_p(); count = ctypes.c_uint(); stamp = ctypes.c_void_p()
g.g_bookmark_file_get_application_info(b, u, b"ZAM1", ctypes.byref(execs), ctypes.byref(count), ctypes.byref(stamp), None)
iso = lambda t: g.g_date_time_format_iso8601(t).decode() if t else "-"
print("%d uris | %s | %s %d | %s | %s" % (g.g_bookmark_file_get_size(b), (g.g_bookmark_file_get_mime_type(b, u, None) or b"-").decode(),
      (execs.value or b"-").decode(), count.value, iso(g.g_bookmark_file_get_added_date_time(b, u, None)),
      iso(g.g_bookmark_file_get_modified_date_time(b, u, None))))
