#!/usr/bin/env python3
"""Renders the photo tests' pictures of a cube with POV-Ray and writes what is
known about each: the face's outer corners in the picture and its stickers'
true colours.

    python3 tests/core/photo/render_photos.py [--again] [OUTPUT_FOLDER]

needs povray and ImageMagick's convert; the pictures (640x480 JPEG and one
larger, sensor noise and compression added after rendering) and photos.tsv
go to OUTPUT_FOLDER (default: the photos folder beside this script). Only
the pictures missing there are rendered, all of them with --again. The tests read
only the JPEGs and photos.tsv, so they never need povray.

Geometry (right-handed here, converted to POV-Ray's left-handed frame when
written): x right, y up, z toward the camera; the cube spans -1.5..1.5 and its
faces are laid out as in the project's net (faces T F R L B D, each row by
row as seen from outside; T's row 2 and D's row 0 border F).
"""

import math
import os
import random
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 640, 480
ASPECT = WIDTH / HEIGHT
CAMERA_DISTANCE = 14.0
FOCAL = 2.0  # POV-Ray's direction length; the picture spans x in [-ASPECT/2, ASPECT/2] at it

# Sticker colours of the six faces as sRGB 0..1 (yellow, blue, red, orange,
# green, white: T F R L B D).
STICKER_RGB = [
    (0.98, 0.84, 0.05),
    (0.02, 0.28, 0.85),
    (0.78, 0.04, 0.08),
    (1.00, 0.40, 0.02),
    (0.02, 0.62, 0.22),
    (0.95, 0.95, 0.93),
]

# Per face: the outward normal, the axis along a row (to the right as seen
# from outside) and the axis down a column.
FACE_AXES = {
    0: ((0, 1, 0), (1, 0, 0), (0, 0, 1)),     # T
    1: ((0, 0, 1), (1, 0, 0), (0, -1, 0)),    # F
    2: ((1, 0, 0), (0, 0, -1), (0, -1, 0)),   # R
    3: ((-1, 0, 0), (0, 0, 1), (0, -1, 0)),   # L
    4: ((0, 0, -1), (-1, 0, 0), (0, -1, 0)),  # B
    5: ((0, -1, 0), (1, 0, 0), (0, 0, -1)),   # D
}


def mat_mul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]


def mat_vec(m, v):
    return tuple(sum(m[i][k] * v[k] for k in range(3)) for i in range(3))


def rot_x(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [[1, 0, 0], [0, c, -s], [0, s, c]]


def rot_y(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [[c, 0, s], [0, 1, 0], [-s, 0, c]]


def rot_z(deg):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [[c, -s, 0], [s, c, 0], [0, 0, 1]]


def face_to_camera(face):
    """The rotation that turns face's outside toward the camera, its row 0 on top."""
    normal, right, down = FACE_AXES[face]
    up = tuple(-d for d in down)
    # Rows of the matrix: where right, up and normal go are x, y and z.
    return [list(right), list(up), list(normal)]


def sticker_centre(face, element):
    normal, right, down = FACE_AXES[face]
    u, v = element % 3 - 1, element // 3 - 1
    return tuple(1.5 * normal[i] + u * right[i] + v * down[i] for i in range(3))


def face_corners(face):
    """The outer corners TL, TR, BR, BL of a face (seen from outside, row 0 on top)."""
    normal, right, down = FACE_AXES[face]
    return [tuple(1.5 * normal[i] + u * right[i] + v * down[i] for i in range(3))
            for u, v in ((-1.5, -1.5), (1.5, -1.5), (1.5, 1.5), (-1.5, 1.5))]


def project(p):
    """A camera-frame point to picture pixels (x right, y down; pixel k's
    middle at k, as image libraries count)."""
    depth = CAMERA_DISTANCE - p[2]
    u = p[0] * FOCAL / depth / ASPECT
    v = p[1] * FOCAL / depth
    return ((u + 0.5) * WIDTH - 0.5, (0.5 - v) * HEIGHT - 0.5)


def pov_vec(v):
    return "<%.6f, %.6f, %.6f>" % (v[0], v[1], -v[2])


def pov_matrix(m, t):
    # POV-Ray's matrix takes rows of the transposed matrix; S M S converts the
    # right-handed rotation to the left-handed frame.
    s = [1, 1, -1]
    pm = [[s[i] * m[i][j] * s[j] for j in range(3)] for i in range(3)]
    vals = [pm[r][c] for c in range(3) for r in range(3)] + [t[0], t[1], -t[2]]
    return "matrix <" + ", ".join("%.6f" % x for x in vals) + ">"


LIGHTS = {
    "warm": [((-8, 10, 12), (1.15, 0.92, 0.68))],
    "cool": [((7, 9, 12), (0.78, 0.90, 1.20))],
    "dim": [((-6, 8, 12), (0.42, 0.40, 0.38))],
    "glare": [((-3, 6, 14), (0.95, 0.95, 0.95)), ((1.0, 1.2, 13.0), (0.9, 0.9, 0.9))],
    "daylight": [((-5, 12, 10), (1.0, 1.0, 1.0))],
}

BACKGROUNDS = ("grey", "wood", "green", "clutter")


def background(kind, rng):
    if kind == "grey":
        return "plane { z, 6 pigment { rgb <0.55, 0.55, 0.57> } finish { diffuse 0.8 } }\n"
    if kind == "wood":
        return ("plane { z, 6 pigment { wood turbulence 0.3 color_map { [0 rgb <0.55, 0.32, 0.14>]"
                " [1 rgb <0.36, 0.19, 0.07>] } scale 0.6 rotate <10, 80, 0> } finish { diffuse 0.8 } }\n")
    if kind == "green":
        return "plane { z, 6 pigment { rgb <0.12, 0.42, 0.20> } finish { diffuse 0.8 } }\n"
    # Clutter: a checked table cloth and coloured things lying about.
    out = ("plane { z, 7 pigment { checker rgb <0.85, 0.82, 0.75>, rgb <0.25, 0.3, 0.55> scale 1.3 "
           "rotate <0, 0, 17> } finish { diffuse 0.8 } }\n")
    for _ in range(14):
        x, y = rng.uniform(-9, 9), rng.uniform(-7, 7)
        if abs(x) < 3.2 and abs(y) < 3.2:
            continue
        col = (rng.random(), rng.random(), rng.random())
        size = rng.uniform(0.5, 1.6)
        if rng.random() < 0.5:
            out += ("box { <-1, -1, -1>, <1, 1, 1> scale <%.2f, %.2f, 0.4> rotate <0, 0, %.1f> "
                    "translate <%.2f, %.2f, 5.5> pigment { rgb <%.2f, %.2f, %.2f> } }\n"
                    % (size, size * rng.uniform(0.4, 1.4), rng.uniform(0, 90), x, y, *col))
        else:
            out += ("sphere { <%.2f, %.2f, 5.5>, %.2f pigment { rgb <%.2f, %.2f, %.2f> } "
                    "finish { phong 0.6 } }\n" % (x, y, size * 0.7, *col))
    return out


def scene(state, face, roll, tilt_x, tilt_y, shift, lights, back, rng):
    """POV-Ray text of one picture and the face's corners in it."""
    m = mat_mul(rot_z(roll), mat_mul(rot_y(tilt_y), mat_mul(rot_x(tilt_x), face_to_camera(face))))
    t = (shift[0], shift[1], shift[2] if len(shift) > 2 else 0.0)  # toward the camera
    out = ["camera { perspective location <0, 0, %.3f> direction <0, 0, %.3f> right x*%.6f up y }\n"
           % (-CAMERA_DISTANCE, FOCAL, ASPECT),
           "global_settings { assumed_gamma 1.0 }\n",
           "#default { finish { ambient 0.04 } }\n"]
    for pos, col in lights:
        out.append("light_source { %s color rgb <%.3f, %.3f, %.3f> }\n" % (pov_vec(pos), *col))
    out.append(background(back, rng))
    out.append("union {\n")
    # The body: 27 slightly rounded black cubies.
    for i in range(-1, 2):
        for j in range(-1, 2):
            for k in range(-1, 2):
                out.append("  superellipsoid { <0.12, 0.12> scale 0.495 translate %s "
                           "pigment { rgb 0.015 } finish { specular 0.3 roughness 0.02 } }\n"
                           % pov_vec((i, j, k)))
    # The stickers: thin rounded tiles, glossy.
    for f in range(6):
        normal, right, down = FACE_AXES[f]
        rot = [list(right), [-d for d in down], list(normal)]
        rot = [[rot[r][c] for r in range(3)] for c in range(3)]  # tile frame to cube frame
        for e in range(9):
            c = sticker_centre(f, e)
            c = tuple(c[i] + 0.002 * normal[i] for i in range(3))
            rgb = STICKER_RGB[state[f * 9 + e] - 1]
            out.append("  superellipsoid { <0.15, 0.3> scale <0.44, 0.44, 0.012> %s "
                       "pigment { rgb <%.3f, %.3f, %.3f> } "
                       "finish { diffuse 0.75 specular 0.9 roughness 0.004 reflection 0.03 } }\n"
                       % (pov_matrix(rot, c), *rgb))
    out.append("  " + pov_matrix(m, t) + "\n}\n")
    corners = [project(tuple(a + b for a, b in zip(mat_vec(m, p), t))) for p in face_corners(face)]
    return "".join(out), corners


def render(pov_text, jpeg_path, noise, quality, work, again=True):
    if not again and os.path.exists(jpeg_path):
        return
    pov = os.path.join(work, "scene.pov")
    png = os.path.join(work, "scene.png")
    with open(pov, "w") as f:
        f.write(pov_text)
    subprocess.run(["povray", "+I" + pov, "+O" + png, "+W%d" % WIDTH, "+H%d" % HEIGHT, "+WT1",
                    "+A0.1", "+R2", "-D", "+FN", "Display_Gamma=2.2", "-GA"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["convert", png, "-seed", "7", "-attenuate", "%.2f" % noise, "+noise", "Gaussian",
                    "-sampling-factor", "4:2:0", "-quality", str(quality), jpeg_path], check=True)


# Two scrambled cubes (real ones), each photographed face by face under its
# own conditions: (light, background, noise, JPEG quality, per face: roll,
# tilt about x, tilt about y, shift).
CUBE_A = "653512243412224116611535535331244465265156346434362261"
CUBE_B = "524213543665524111116135356443641124236353255222664463"

SESSIONS = [
    ("a", CUBE_A, "warm", "wood", 0.6, 85,
     [(5, 12, -8, (0.3, 0.2)), (-12, 8, 15, (-0.8, 0.4)), (20, -10, 6, (0.6, -0.3)),
      (-30, 14, -12, (0.0, 0.0)), (33, 6, 18, (-0.4, -0.5)), (-4, -18, -10, (1.0, 0.5))]),
    ("b", CUBE_B, "cool", "clutter", 1.0, 75,
     [(-32, 10, 20, (0.5, 0.0)), (25, 20, -15, (-0.6, -0.3)), (0, -22, 10, (0.2, 0.6)),
      (15, 8, 25, (-1.2, 0.3)), (-20, -12, -20, (0.8, -0.6)), (33, 16, 8, (0.0, 0.2))]),
    ("c", CUBE_A, "dim", "green", 1.4, 70,
     [(10, 10, 10, (0.0, 0.0)), (-25, -8, 12, (0.4, 0.3)), (35, 12, -6, (-0.3, 0.2)),
      (-8, 20, 18, (0.2, -0.4)), (18, -14, -16, (-0.7, 0.1)), (-36, 6, 6, (0.5, 0.5))]),
    ("d", CUBE_B, "glare", "grey", 0.8, 80,
     [(3, 6, -4, (0.2, 0.1)), (-15, 10, 8, (-0.3, 0.0)), (22, -6, 12, (0.4, -0.2)),
      (-6, 4, -14, (0.0, 0.3)), (12, -10, 6, (-0.5, -0.1)), (-28, 8, 10, (0.1, 0.2))]),
]


# Single photos beside the sessions: (name, cube, face, view, light,
# background, noise, quality, size).
SINGLES = [
    ("hires-F.jpg", CUBE_A, 1, (-18, 14, 12, (0.4, -0.3, 2.0)), "warm", "clutter", 1.2, 70, (1280, 960)),
]


def main():
    global WIDTH, HEIGHT
    args = [a for a in sys.argv[1:] if a != "--again"]
    again = "--again" in sys.argv[1:]
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = args[0] if args else os.path.join(here, "photos")
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(20261208)
    rows = ["# name\tface (0-5: T F R L B D)\tcube (54 digits)\tcorners TL TR BR BL as x,y pixels\n"]
    with tempfile.TemporaryDirectory() as work:
        for name, cube, light, back, noise, quality, views in SESSIONS:
            state = [int(ch) for ch in cube]
            for face, (roll, tx, ty, shift) in enumerate(views):
                text, corners = scene(state, face, roll, tx, ty, shift, LIGHTS[light], back, rng)
                file_name = "%s-%s.jpg" % (name, "TFRLBD"[face])
                render(text, os.path.join(out_dir, file_name), noise, quality, work, again)
                rows.append("%s\t%d\t%s\t%s\n" % (file_name, face, cube,
                                                   " ".join("%.1f,%.1f" % c for c in corners)))
        for file_name, cube, face, (roll, tx, ty, shift), light, back, noise, quality, size in SINGLES:
            WIDTH, HEIGHT = size
            text, corners = scene([int(ch) for ch in cube], face, roll, tx, ty, shift, LIGHTS[light], back, rng)
            render(text, os.path.join(out_dir, file_name), noise, quality, work, again)
            rows.append("%s\t%d\t%s\t%s\n" % (file_name, face, cube,
                                               " ".join("%.1f,%.1f" % c for c in corners)))
            WIDTH, HEIGHT = 640, 480
        # No cube at all: the cluttered table alone.
        text = ("camera { perspective location <0, 0, %.3f> direction <0, 0, %.3f> right x*%.6f up y }\n"
                "global_settings { assumed_gamma 1.0 }\n" % (-CAMERA_DISTANCE, FOCAL, ASPECT))
        for pos, col in LIGHTS["daylight"]:
            text += "light_source { %s color rgb <%.3f, %.3f, %.3f> }\n" % (pov_vec(pos), *col)
        text += background("clutter", random.Random(5))
        render(text, os.path.join(out_dir, "no-cube.jpg"), 1.0, 80, work, again)
    with open(os.path.join(out_dir, "photos.tsv"), "w") as f:
        f.writelines(rows)


if __name__ == "__main__":
    main()
