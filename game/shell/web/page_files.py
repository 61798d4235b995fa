#!/usr/bin/python3
"""The page's own files, made at build time from what the painter wrote, in
forms a browser reads by itself. The same input gives the same bytes in any
folder: fixed encoder options, a fixed Ogg serial, no dates, no paths (lame
writes none).

  page_files.py assets PAINTED PAGE FONT INDEX SOUNDS
      PAINTED is the painter's out folder, PAGE the page's folder. Writes
      pictures/ID.webp for every bitmap and plate of manifest.txt and
      pictures/ID@2x.webp for every twin the painter drew at twice the size; the cursor
      (pictures/ID.ico, and its twin pictures/ID@2x.png); sounds/ID.ogg and
      sounds/ID.mp3 for every line "ID FILE" of the list SOUNDS (FILE a WAVE
      of PAINTED); labels.ttf, the labels' face FONT cut to printable ASCII;
      icons/192.png and icons/512.png; manifest.webmanifest; and index.html from the
      template INDEX, in the painted frame's colour and naming the scene
      picture (the largest), which the page fetches first.

  page_files.py worker PAGE TEMPLATE
      Writes PAGE/sw.js from TEMPLATE: the offline copy's worker, with the
      page's files and a version that is a hash of all of them, so that a
      new build is a new worker and a new cache.
"""
import concurrent.futures
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile

# Near-lossless WebP: no pixel more than two levels off its painted value,
# and none of the blocks or smeared colours of the lossy kind. 60 is where
# the scene shrinks to three fifths of its lossless size.
WEBP_OPTIONS = ["-quiet", "-near_lossless", "60", "-z", "8", "-metadata", "none"]
# The scene's twin is lossy, a third of its near-lossless size: at twice the
# density its halved colour detail and softened grass go unseen, and it
# comes in a third of the time. (sharp_yuv keeps thin coloured lines.)
SCENE_TWIN_OPTIONS = ["-quiet", "-q", "90", "-m", "6", "-sharp_yuv", "-metadata", "none"]
# Vorbis decodes to exactly the painted samples' count at their own rate,
# so the meadow loop loops without a gap; the serial is fixed, as oggenc
# would otherwise pick one at random.
VORBIS_OPTIONS = ["-Q", "-q", "3", "--serial", "20260"]
# MP3 for the browsers that cannot decode Ogg (Safari). Variable bit rate:
# at a constant 32 kbit/s the first frame of a 22 kHz sound is too small
# for the LAME tag, which says how many samples were painted, and the page
# needs that to find them among the encoder's delay and padding. -V 6
# weighs what the Ogg files weigh; the rate stays the painted one.
MP3_OPTIONS = ["--quiet", "--noreplaygain", "-V", "6"]
# The labels show counters and two banners; printable ASCII holds them all.
LABEL_CHARACTERS = range(0x20, 0x7F)
# The face's names, which a cut-down copy of it may not keep: the licence
# reserves the original name for the original font.
LABEL_FACE = "Plinkfield Labels"
ICON_SIZES = (192, 512)
# The painted title strip: the top rows of the scene, whose colour the
# browser shows around an installed page.
TITLE_STRIP_ROWS = 30


def read_bitmaps(painted):
    """[(id, width, height, painted file, its twin)] of the catalogue's
    bitmaps, then of the best score's plate."""
    bitmaps = []
    with open(os.path.join(painted, "manifest.txt")) as f:
        for line in f:
            row = line.split()
            if row[:1] == ["bitmap"]:
                ident = int(row[1])
                bitmaps.append((ident, int(row[2]), int(row[3]), "game/%d.bmp" % ident, "game/%d@2x.png" % ident))
            elif row[:1] == ["plate"]:
                bitmaps.append((int(row[1]), int(row[4]), int(row[5]), row[6], row[7]))
    return bitmaps


def read_sounds(listed):
    """[(wave id, painted file)] of the list plinkfield-page-sounds wrote."""
    with open(listed) as f:
        return [(int(ident), file) for ident, file in (line.split() for line in f if line.strip())]


def bmp_rows(path):
    """(width, height, rows of RGB bytes, top row first) of a 24-bit or an
    8-bit palette BMP, as the painter writes them."""
    with open(path, "rb") as f:
        data = f.read()
    at = int.from_bytes(data[10:14], "little")
    info = int.from_bytes(data[14:18], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    bits = int.from_bytes(data[28:30], "little")
    stride = (width * bits + 31) // 32 * 4
    palette = data[14 + info:at]
    rows = []
    for y in range(abs(height)):
        start = at + stride * (abs(height) - 1 - y if height > 0 else y)
        if bits == 24:
            bgr = data[start:start + 3 * width]
            row = bytearray(3 * width)
            row[0::3], row[1::3], row[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        else:
            row = bytearray()
            for i in data[start:start + width]:
                row += bytes((palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]))
        rows.append(bytes(row))
    return width, abs(height), rows


def write_ppm(path, width, height, rows):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.writelines(rows)


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError("%s failed: %s" % (command[0], result.stderr.strip()))


def frame_colour(rows):
    """The painted frame's colour: the median of each channel over the title
    strip, which is wood with a few letters on it."""
    strip = b"".join(rows[:TITLE_STRIP_ROWS])
    channels = [sorted(strip[c::3]) for c in range(3)]
    return "#%02x%02x%02x" % tuple(ch[len(ch) // 2] for ch in channels)


def cut_label_face(font, out):
    from fontTools import subset  # python3-fonttools

    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.drop_tables += ["FFTM"]  # a font editor's timestamps
    face = subset.load_font(font, options)
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=LABEL_CHARACTERS)
    cutter.subset(face)
    names = face["name"]
    # Family, unique, full and PostScript names, and the typographic ones.
    names.names = [n for n in names.names if n.nameID not in (1, 3, 4, 6, 16, 17, 18, 21, 22)]
    for ident, text in ((1, LABEL_FACE), (3, LABEL_FACE + " Regular"), (4, LABEL_FACE + " Regular"),
                        (6, LABEL_FACE.replace(" ", "") + "-Regular")):
        names.setName(text, ident, 3, 1, 0x409)
        names.setName(text, ident, 1, 0, 0)
    subset.save_font(face, out, options)


def assets(painted, page, font, index, sounds):
    bitmaps = read_bitmaps(painted)
    for folder in ("pictures", "sounds", "icons"):
        shutil.rmtree(os.path.join(page, folder), ignore_errors=True)
        os.makedirs(os.path.join(page, folder))
    game = os.path.join(painted, "game")
    # The scene picture is the largest: the field's own size.
    scene, field_width, field_height = max(bitmaps, key=lambda b: b[1] * b[2])[:3]
    jobs = []
    with tempfile.TemporaryDirectory(prefix="plinkfield-page-") as scratch:
        for ident, width, height, file, twin in bitmaps:
            w, h, rows = bmp_rows(os.path.join(painted, file))
            if (w, h) != (width, height):
                raise RuntimeError("bitmap %d is %d x %d, the catalogue says %d x %d" % (ident, w, h, width, height))
            if ident == scene:
                colour = frame_colour(rows)
            ppm = os.path.join(scratch, "%d.ppm" % ident)
            write_ppm(ppm, w, h, rows)
            jobs.append(["cwebp"] + WEBP_OPTIONS + [ppm, "-o", os.path.join(page, "pictures", "%d.webp" % ident)])
            twin = os.path.join(painted, twin)
            if os.path.exists(twin):
                options = SCENE_TWIN_OPTIONS if ident == scene else WEBP_OPTIONS
                jobs.append(["cwebp"] + options + [twin, "-o", os.path.join(page, "pictures", "%d@2x.webp" % ident)])
        for ident, file in sounds:
            wave = os.path.join(painted, file)
            jobs.append(["oggenc"] + VORBIS_OPTIONS + ["-o", os.path.join(page, "sounds", "%d.ogg" % ident), wave])
            jobs.append(["lame"] + MP3_OPTIONS + [wave, os.path.join(page, "sounds", "%d.mp3" % ident)])
        # Two at a time: the machines this builds on have two cores.
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            list(pool.map(run, jobs))
    # The cursor, and its twin where the painter drew one.
    for name in sorted(os.listdir(game)):
        if name.endswith(".ico"):
            shutil.copyfile(os.path.join(game, name), os.path.join(page, "pictures", name))
            twin = name[:-len(".ico")] + "@2x.png"
            if os.path.exists(os.path.join(game, twin)):
                shutil.copyfile(os.path.join(game, twin), os.path.join(page, "pictures", twin))
    cut_label_face(font, os.path.join(page, "labels.ttf"))

    icons = []
    for size in ICON_SIZES:
        apps = os.path.join(painted, "icons", "hicolor", "%dx%d" % (size, size), "apps")
        drawn = sorted(os.listdir(apps))
        if len(drawn) != 1:
            raise RuntimeError("%s should hold the one desktop icon: %s" % (apps, drawn))
        shutil.copyfile(os.path.join(apps, drawn[0]), os.path.join(page, "icons", "%d.png" % size))
        icons.append({"src": "icons/%d.png" % size, "sizes": "%dx%d" % (size, size), "type": "image/png"})
    manifest = {
        "name": "Plinkfield",
        "short_name": "Plinkfield",
        "description": "A shooting gallery in a painted meadow.",
        "id": "./",
        "start_url": "./",
        "scope": "./",
        "display": "fullscreen",
        "orientation": "landscape",
        "theme_color": colour,
        "background_color": colour,
        "icons": icons,
    }
    with open(os.path.join(page, "manifest.webmanifest"), "w") as f:
        json.dump(manifest, f, indent=2)
        f.write("\n")
    with open(index) as f:
        html = f.read()
    for name, value in (("FRAME_COLOUR", colour), ("SCENE", str(scene)), ("FIELD_WIDTH", str(field_width)),
                        ("FIELD_TWIN_WIDTH", str(2 * field_width)),
                        ("FIELD_ASPECT", "%.4f" % (100 * field_width / field_height))):
        html = html.replace("@%s@" % name, value)
    with open(os.path.join(page, "index.html"), "w") as f:
        f.write(html)


def page_files(page):
    """Every file of the page but the worker, by its path in the page, in a
    fixed order."""
    found = []
    for folder, dirs, files in os.walk(page):
        dirs.sort()
        for name in sorted(files):
            path = os.path.relpath(os.path.join(folder, name), page).replace(os.sep, "/")
            if path != "sw.js":
                found.append(path)
    return found


def worker(page, template):
    files = page_files(page)
    digest = hashlib.sha256()
    for path in files:
        with open(os.path.join(page, path), "rb") as f:
            digest.update(path.encode() + b"\0" + f.read() + b"\0")
    pictures = [p for p in files if p.startswith("pictures/") and p.endswith(".webp")]
    sounds = [p for p in files if p.startswith("sounds/")]
    shell = [p for p in files if p not in pictures and p not in sounds]
    with open(template) as f:
        text = f.read()
    text = (text.replace("@VERSION@", digest.hexdigest()[:16])
                .replace("@SHELL@", json.dumps(shell))
                .replace("@PICTURES@", json.dumps(pictures))
                .replace("@SOUNDS@", json.dumps(sounds)))
    with open(os.path.join(page, "sw.js"), "w") as f:
        f.write(text)


def main(argv):
    if len(argv) == 7 and argv[1] == "assets":
        assets(argv[2], argv[3], argv[4], argv[5], read_sounds(argv[6]))
    elif len(argv) == 4 and argv[1] == "worker":
        worker(argv[2], argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
