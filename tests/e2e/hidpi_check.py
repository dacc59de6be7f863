#!/usr/bin/env python3
"""Checks screenshots of both windows taken at a screen scale of 2 against the same windows at a
scale of 1: the layout in device pixels, to the pixel, and text drawn at the device's resolution
rather than enlarged.

usage: hidpi_check.py MAIN1 MAIN2 FULL1 FULL2
  MAINn: shot.png,x,y (the main window's top-left corner on the screen at scale n)
  FULLn: shot.png     (the full-screen window at scale n)
"""
import subprocess
import sys

TWIPS_PER_PIXEL = 15  # at the X server's 96 dots per inch
BLACK = (0, 0, 0)
PANEL = (40, 40, 48)
PANEL_EDGE = (128, 128, 128)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


class Shot:
    def __init__(self, path, left=0, top=0, width=None, height=None):
        size = subprocess.run(['identify', '-format', '%w %h', path], capture_output=True, text=True,
                              check=True).stdout.split()
        self.w = width or int(size[0]) - left
        self.h = height or int(size[1]) - top
        self.data = subprocess.run(['convert', path, '-crop', f'{self.w}x{self.h}+{left}+{top}', '+repage',
                                    '-depth', '8', 'rgb:-'], capture_output=True, check=True).stdout
        assert len(self.data) == 3 * self.w * self.h, path

    def rgb(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.data[i:i + 3])

    def gray(self, x0, y0, x1, y1):
        """Rows of luminance (0 to 255) of the rectangle [x0, x1) x [y0, y1)."""
        d = self.data
        rows = []
        for y in range(y0, y1):
            base = 3 * y * self.w
            rows.append([(299 * d[base + 3 * x] + 587 * d[base + 3 * x + 1] + 114 * d[base + 3 * x + 2]) // 1000
                         for x in range(x0, x1)])
        return rows


def logical(twips):
    """Twips to the logical pixel the layout rounds to (halves away from zero)."""
    return int(twips / TWIPS_PER_PIXEL + 0.5)


def run(shot, x, y, dx, dy, colours):
    """The extent [start, end) of the pixels in one of the colours through (x, y) along a line."""
    if shot.rgb(x, y) not in colours:
        return None
    lo, hi = (x, y), (x, y)
    while 0 <= lo[0] - dx < shot.w and 0 <= lo[1] - dy < shot.h and shot.rgb(lo[0] - dx, lo[1] - dy) in colours:
        lo = (lo[0] - dx, lo[1] - dy)
    while 0 <= hi[0] + dx < shot.w and 0 <= hi[1] + dy < shot.h and shot.rgb(hi[0] + dx, hi[1] + dy) in colours:
        hi = (hi[0] + dx, hi[1] + dy)
    return (lo[0], hi[0] + 1) if dx else (lo[1], hi[1] + 1)


def check_area(shot, scale, name, left, top, right, bottom, through, colours=(BLACK,)):
    """A plain area whose edges in twips are known: a horizontal and a vertical line through a
    point of it (twips) that holds no text must cross exactly those edges."""
    x, y = scale * logical(through[0]), scale * logical(through[1])
    want_x = (scale * logical(left), scale * logical(right))
    want_y = (scale * logical(top), scale * logical(bottom))
    got_x, got_y = run(shot, x, y, 1, 0, colours), run(shot, x, y, 0, 1, colours)
    check(got_x == want_x, f'{name} at scale {scale}: spans x {got_x}, expected {want_x}')
    check(got_y == want_y, f'{name} at scale {scale}: spans y {got_y}, expected {want_y}')


def check_frame(shot, scale, name, left, top, width, height, edge, inside):
    """A panel with a one-pixel edge line: the whole edge ring, in device pixels, is the edge
    colour and the ring just inside it the panel's own."""
    x0, y0 = scale * logical(left), scale * logical(top)
    x1, y1 = x0 + scale * logical(width), y0 + scale * logical(height)
    for inset, colour, what in ((0, edge, 'edge'), (scale, inside, 'inside of the edge')):
        ring = [(x, y) for x in range(x0 + inset, x1 - inset) for y in (y0 + inset, y1 - 1 - inset)]
        ring += [(x, y) for y in range(y0 + inset, y1 - inset) for x in (x0 + inset, x1 - 1 - inset)]
        wrong = [p for p in ring if shot.rgb(*p) != colour]
        check(not wrong, f'{name} at scale {scale}: {len(wrong)} pixels of its {what} at ({x0}, {y0}, {x1}, {y1})'
              f' are not {colour}, first {wrong[:3]}')


# Sharpness of text at device resolution.

def steepness(img):
    """Gradient-weighted mean step between neighbours: about the full contrast where edges are
    one pixel wide, about half of it where an enlargement has spread them over two."""
    s1 = s2 = 0
    for row in img:
        for a, b in zip(row, row[1:]):
            d = abs(a - b)
            s1 += d
            s2 += d * d
    return s2 / s1 if s1 else 0.0


def detail_within_pixel_pairs(img):
    """Share of the 2x2 blocks holding ink that are not of one colour: none in a nearest-neighbour
    enlargement, which draws every pixel of the smaller image as a 2x2 block."""
    inked = mixed = 0
    for y in range(0, len(img) - 1, 2):
        top, bottom = img[y], img[y + 1]
        for x in range(0, len(top) - 1, 2):
            block = (top[x], top[x + 1], bottom[x], bottom[x + 1])
            if max(block) > 0:
                inked += 1
                mixed += len(set(block)) > 1
    return mixed / inked if inked else 0.0


def nearest_enlargement(img):
    return [[v for v in row for _ in (0, 1)] for row in img for _ in (0, 1)]


def bilinear_enlargement(img):
    h, w = len(img), len(img[0])

    def taps(n, size):
        f = (n + 0.5) / 2 - 0.5
        i = min(max(int(f // 1), 0), size - 1)
        return i, min(i + 1, size - 1), min(max(f - i, 0.0), 1.0)

    cols = [taps(x, w) for x in range(2 * w)]
    out = []
    for y in range(2 * h):
        y0, y1, ty = taps(y, h)
        a, b = img[y0], img[y1]
        out.append([round((a[x0] * (1 - tx) + a[x1] * tx) * (1 - ty) + (b[x0] * (1 - tx) + b[x1] * tx) * ty)
                    for x0, x1, tx in cols])
    return out


def ink_rows(img, threshold=128):
    """The bands of rows that hold text, as [start, end) pairs."""
    bands, start = [], None
    for y, row in enumerate(img + [[0]]):
        inked = max(row) >= threshold
        if inked and start is None:
            start = y
        elif not inked and start is not None:
            bands.append((start, y))
            start = None
    return bands


def check_text(name, at1, at2):
    """at1 and at2: the same rectangle of text at scale 1 and at scale 2."""
    reference = steepness(at1)
    need_steep, need_detail = 0.75 * reference, 0.2

    def sharp(img):
        return steepness(img) >= need_steep and detail_within_pixel_pairs(img) >= need_detail

    check(bool(ink_rows(at1)), f'{name}: no text found to compare')
    check(sharp(at2), f'{name}: text at scale 2 is not drawn at device resolution: steepness '
          f'{steepness(at2):.0f} (needs {need_steep:.0f}), detail {detail_within_pixel_pairs(at2):.2f}'
          f' (needs {need_detail})')
    # The measure must tell an enlargement of the scale-1 drawing from a real one.
    check(not sharp(nearest_enlargement(at1)), f'{name}: the check passes a pixel-doubled enlargement')
    check(not sharp(bilinear_enlargement(at1)), f'{name}: the check passes a smoothed enlargement')
    # Proportions: each line of text lies twice as low and is twice as tall, give or take the
    # rounding of a glyph's edge: a pixel at scale 1, doubled, and one at scale 2.
    doubled = [(2 * a, 2 * b) for a, b in ink_rows(at1)]
    bands = ink_rows(at2)
    check(len(bands) == len(doubled) and all(abs(a - c) <= 3 and abs(b - d) <= 3
                                             for (a, b), (c, d) in zip(bands, doubled)),
          f'{name}: text rows at scale 2 {bands}, expected about {doubled}')


def main(main1, main2, full1, full2):
    def window(argument, width, height):
        path, x, y = argument.split(',')
        return Shot(path, int(x), int(y), width, height)

    # The main window: 10935 x 6975 twips.
    mains = {1: window(main1, 729, 465), 2: window(main2, 1458, 930)}
    for scale, shot in mains.items():
        # The script area (240, 480, 9975, 4815) shows between the top strip's lower edge (495)
        # and the controls area (from 5280); the navigation bar (10440, 480, 255, 3975) likewise.
        check_area(shot, scale, 'script area', 240, 495, 240 + 9975, 5280, through=(9800, 1000))
        check_area(shot, scale, 'navigation bar', 10440, 495, 10440 + 255, 480 + 3975, through=(10560, 2000))
    # The text box starts 120 twips into the script area; the few pixels right of its edge are
    # left out, where the blinking text cursor stands under a window manager that gives focus.
    left, top, right, bottom = (logical(t) for t in (240 + 120 + 90, 495, 240 + 9975, 5280))
    check_text('main window script', mains[1].gray(left, top, right, bottom),
               mains[2].gray(2 * left, 2 * top, 2 * right, 2 * bottom))

    # The full-screen window covers the screen, 1280 x 800 logical pixels at either scale, and
    # centres its Control Panel (10935 x 1815 twips) 480 twips above the bottom.
    fulls = {1: Shot(full1), 2: Shot(full2)}
    width, height = 1280 * TWIPS_PER_PIXEL, 800 * TWIPS_PER_PIXEL
    for scale, shot in fulls.items():
        check((shot.w, shot.h) == (1280 * scale, 800 * scale), f'full screen at scale {scale}: {shot.w} x {shot.h}')
        check_frame(shot, scale, 'Control Panel', width / 2 - 10935 / 2, height - 1815 - 480, 10935, 1815,
                    PANEL_EDGE, PANEL)
    bottom = logical(height - 1815 - 480)
    margin = logical(90)  # clear of the text cursor, as above
    check_text('full-screen script', fulls[1].gray(margin, 0, 800, bottom),
               fulls[2].gray(2 * margin, 0, 1600, 2 * bottom))


if __name__ == '__main__':
    main(*sys.argv[1:5])
    for failure in failures:
        print('FAIL:', failure, file=sys.stderr)
    sys.exit(1 if failures else 0)
