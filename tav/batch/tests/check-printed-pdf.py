#!/usr/bin/env python3
"""Checks a PDF that came out of a printer queue against what the page engine
should have drawn: one solid-coloured picture per page, scaled to fit the
printable area with its proportions kept and centred in it.

Usage: check-printed-pdf.py PDF CAPS RENDER_FOLDER PICTURE...
  CAPS     the line tavbatch --caps printed: "caps dpi horzRes vertRes physicalWidth
           physicalHeight offsetX offsetY" (printer dots)
  PICTURE  WIDTHxHEIGHT:COLOUR of the picture on each page, in page order

Every page is rendered at 100 dpi; the bounding box of the pixels of the
picture's colour must lie within 1 mm of the expected box on every edge, the
box must be filled with that colour, and nothing else may be printed.
Prints one line per check; exits 1 if any check failed.
"""
import re
import subprocess
import sys

RENDER_DPI = 100
TOLERANCE_MM = 1.0
COLOURS = {"red": (255, 0, 0), "blue": (0, 0, 255)}
CHANNEL_SLACK = 60   # rendering and JPEG may shift a channel this far
INK_BELOW = 200      # a channel darker than this on a white page is ink


def mm(dots, dpi):
    return dots * 25.4 / dpi


def expected_box(caps, width, height):
    """The engine's rule: s = min(horzRes / w, vertRes / h), the drawn size
    truncated, centred in the printable area whose origin is at the offsets."""
    dpi, horz, vert, _, _, off_x, off_y = caps
    s = min(horz / width, vert / height)
    dw, dh = int(width * s), int(height * s)
    left, top = off_x + (horz - dw) // 2, off_y + (vert - dh) // 2
    return tuple(mm(v, dpi) for v in (left, top, left + dw, top + dh))


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    if not match:
        raise ValueError(f"{path} is not an 8-bit PPM")
    width, height = int(match.group(1)), int(match.group(2))
    pixels = data[match.end():]
    if len(pixels) != width * height * 3:
        raise ValueError(f"{path} is truncated")
    return width, height, pixels


def pixel_mask(pixels, wanted):
    """One byte per pixel, 1 where every channel satisfies its test."""
    n = len(pixels) // 3
    combined = (1 << (8 * n)) - 1
    for channel, test in enumerate(wanted):
        table = bytes(1 if test(v) else 0 for v in range(256))
        plane = pixels[channel::3].translate(table)
        combined &= int.from_bytes(plane, "big")
    return combined.to_bytes(n, "big")


def any_ink_mask(pixels):
    """1 where any channel is dark; the complement of 'every channel light'."""
    light = pixel_mask(pixels, [lambda v: v >= INK_BELOW] * 3)
    return light.translate(bytes([1, 0] + [0] * 254))


def bounding_box(mask, width, height):
    """(x0, y0, x1, y1) exclusive, and the number of set pixels; None if none."""
    x0, y0, x1, y1, count = width, None, 0, 0, 0
    for y in range(height):
        row = mask[y * width:(y + 1) * width]
        first = row.find(1)
        if first < 0:
            continue
        if y0 is None:
            y0 = y
        y1 = y + 1
        x0, x1 = min(x0, first), max(x1, row.rfind(1) + 1)
        count += row.count(1)
    return (None, 0) if y0 is None else ((x0, y0, x1, y1), count)


def count_outside(mask, width, box):
    """Set pixels outside box widened by one pixel (anti-aliased edges)."""
    x0, y0, x1, y1 = box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1
    inside = 0
    for y in range(max(y0, 0), min(y1, len(mask) // width)):
        inside += mask[y * width + max(x0, 0):y * width + min(x1, width)].count(1)
    return mask.count(1) - inside


def page_sizes(pdf):
    out = subprocess.run(["pdfinfo", "-f", "1", "-l", "9999", pdf], capture_output=True, text=True,
                         check=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", out, re.M).group(1))
    found = re.findall(r"^Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts", out, re.M)
    sizes = [(float(w), float(h)) for w, h in found]
    return pages, sizes


class Checks:
    def __init__(self):
        self.failed = 0

    def report(self, ok, text):
        print(f"{'ok  ' if ok else 'FAIL'} {text}")
        self.failed += not ok


def fmt(box):
    return "(" + ", ".join(f"{v:.1f}" for v in box) + ") mm"


def parse_picture(text):
    match = re.fullmatch(r"([1-9]\d*)x([1-9]\d*):(\w+)", text)
    if not match or match.group(3) not in COLOURS:
        raise ValueError(f"picture {text!r} is not WIDTHxHEIGHT:COLOUR with a colour of {', '.join(COLOURS)}")
    return int(match.group(1)), int(match.group(2)), match.group(3)


def check_page(checks, pdf, number, caps, picture, render_folder):
    width, height, colour = picture
    target = COLOURS[colour]
    stem = f"{render_folder}/page-{number}"
    subprocess.run(["pdftoppm", "-r", str(RENDER_DPI), "-f", str(number), "-l", str(number), "-singlefile",
                    pdf, stem], check=True)
    img_w, img_h, pixels = read_ppm(stem + ".ppm")
    mask = pixel_mask(pixels, [lambda v, t=t: abs(v - t) <= CHANNEL_SLACK for t in target])
    box, count = bounding_box(mask, img_w, img_h)
    want = expected_box(caps, width, height)
    name = f"page {number} ({colour} {width}x{height})"
    if box is None:
        checks.report(False, f"{name}: no {colour} pixels; expected box {fmt(want)}")
        return
    found = tuple(mm(v, RENDER_DPI) for v in box)
    worst = max(abs(a - b) for a, b in zip(found, want))
    checks.report(worst <= TOLERANCE_MM,
                  f"{name}: box (left, top, right, bottom) expected {fmt(want)}, found {fmt(found)}, "
                  f"worst edge {worst:.2f} mm")
    area = (box[2] - box[0]) * (box[3] - box[1])
    checks.report(count >= 0.98 * area, f"{name}: {count} of {area} pixels in the box are {colour}")
    stray = count_outside(any_ink_mask(pixels), img_w, box)
    checks.report(stray == 0, f"{name}: {stray} inked pixels outside the picture")


def main(argv):
    if len(argv) < 5:
        print("usage: check-printed-pdf.py PDF CAPS RENDER_FOLDER WIDTHxHEIGHT:COLOUR...", file=sys.stderr)
        return 2
    pdf, caps_line, render_folder, pictures = argv[1], argv[2], argv[3], argv[4:]
    fields = caps_line.split()
    if len(fields) != 8 or fields[0] != "caps" or not all(f.isdigit() for f in fields[1:]):
        print(f"FAIL unreadable caps line: {caps_line!r}")
        return 1
    caps = tuple(int(f) for f in fields[1:])
    try:
        pictures = [parse_picture(text) for text in pictures]
        return check_pdf(pdf, caps, render_folder, pictures)
    except (ValueError, OSError, subprocess.CalledProcessError) as error:
        print(f"FAIL {error}")
        return 1


def check_pdf(pdf, caps, render_folder, pictures):
    dpi, _, _, phys_w, phys_h, _, _ = caps
    checks = Checks()
    pages, sizes = page_sizes(pdf)
    checks.report(pages == len(pictures), f"{pages} pages printed, {len(pictures)} expected")
    sheet = (mm(phys_w, dpi), mm(phys_h, dpi))
    for number, (w, h) in enumerate(sizes, 1):
        got = (w * 25.4 / 72, h * 25.4 / 72)
        checks.report(all(abs(a - b) <= TOLERANCE_MM for a, b in zip(got, sheet)),
                      f"page {number}: sheet {got[0]:.1f} x {got[1]:.1f} mm, "
                      f"the printer reported {sheet[0]:.1f} x {sheet[1]:.1f} mm")
    for number, picture in enumerate(pictures[:pages], 1):
        check_page(checks, pdf, number, caps, picture, render_folder)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
