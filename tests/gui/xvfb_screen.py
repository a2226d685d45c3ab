"""The X screen for the walk through the real program (xvfb_walk.sh), read with PIL.

  xvfb_screen.py shot <file.png>          the whole screen as a PNG
  xvfb_screen.py digest <x> <y> <w> <h>   a digest of the pixels of that rectangle,
                                          to wait until a window's picture changes
"""
import hashlib
import sys

from PIL import ImageGrab


def grab(box=None):
    # None: the display named by $DISPLAY
    return ImageGrab.grab(bbox=box, xdisplay=None)


def main(argv):
    if len(argv) == 3 and argv[1] == "shot":
        grab().save(argv[2])
        return 0
    if len(argv) == 6 and argv[1] == "digest":
        x, y, w, h = (int(v) for v in argv[2:])
        print(hashlib.sha1(grab((x, y, x + w, y + h)).tobytes()).hexdigest())
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
