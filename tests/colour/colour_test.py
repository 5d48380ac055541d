#!/usr/bin/env python3
"""Slides in their makers' colours: pictures made by ImageMagick in a space with its profile,
rendered through the saver's decoder under Wine (render_slides.exe), each within a mean of one
level of ImageMagick's conversion into the monitor's profile, with 99.5 % of its pixels within 3.

  colour_test.py CASES RENDER_SLIDES WINE_STATE SCRATCH
  CASES: tagged, lookup-table, camera, monitor or untagged (see their functions)
"""

import contextlib
import ctypes
import struct
import subprocess
import sys
from pathlib import Path

SCREEN = (1024, 768)
PICTURE = (320, 240)  # smaller than the screen: shown at its own size in the middle
ICC = Path("/usr/share/color/icc")
SRGB = ICC / "sRGB.icc"
ADOBE_RGB = ICC / "colord/AdobeRGB1998.icc"
PROPHOTO_RGB = ICC / "colord/ProPhotoRGB.icc"
DISPLAY_P3 = Path("/usr/share/color/argyll/ref/DisplayP3.icm")
TOOLS = Path(__file__).resolve().parents[2] / "tools"


def convert(*arguments):
    subprocess.run(["convert", *map(str, arguments)], check=True)


def rgb_pixels(picture):
    return subprocess.run(["convert", str(picture), "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout


class Session:
    def __init__(self, render_slides, wine_state, scratch):
        self.render_slides, self.wine_state, self.scratch = render_slides, wine_state, Path(scratch)
        self.scratch.mkdir(parents=True, exist_ok=True)
        self.failures = []

    def path(self, name):
        return self.scratch / name

    def render(self, slides):
        """Each slide's screen through the saver's decoder: raw B, G, R, x rows, or None."""
        arguments = []
        for slide in slides:
            screen = slide.with_suffix(slide.suffix + ".screen")
            screen.unlink(missing_ok=True)
            arguments += [windows_path(slide), windows_path(screen)]
        subprocess.run([TOOLS / "wine-session.sh", "run", self.wine_state, self.render_slides, *map(str, SCREEN), *arguments],
                       check=True, stdout=subprocess.DEVNULL)
        screens = [slide.with_suffix(slide.suffix + ".screen") for slide in slides]
        return [screen.read_bytes() if screen.exists() else None for screen in screens]

    def expect_near(self, name, screen, reference, mean_at_most=1.0, within_three_at_least=99.5):
        """The picture in the middle of the screen against the reference's pixels."""
        if screen is None:
            self.failures.append(f"{name}: not shown")
            return
        width, height = PICTURE
        left, top = (SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2
        shown = bytearray()
        for y in range(top, top + height):
            row, rgb = screen[(y * SCREEN[0] + left) * 4:(y * SCREEN[0] + left + width) * 4], bytearray(3 * width)
            rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
            shown += rgb
        differences = [abs(a - b) for a, b in zip(shown, rgb_pixels(reference))]
        largest = [max(differences[i:i + 3]) for i in range(0, len(differences), 3)]
        mean, share = sum(differences) / len(differences), 100.0 * sum(d <= 3 for d in largest) / len(largest)
        print(f"| {name} | {mean:.2f} | {share:.2f} % | {max(largest)} |")
        if mean > mean_at_most or share < within_three_at_least:
            self.failures.append(f"{name}: mean {mean:.2f} levels, {share:.2f} % within 3, worst {max(largest)}")


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def monitor_profile(wine_state):
    """The profile Wine gives a monitor without one of its own: its sRGB."""
    folder = Path(wine_state) / "prefix/drive_c/windows/system32/spool/drivers/color"
    return next(p for p in folder.iterdir() if p.name.lower() == "srgb color space profile.icm")


def photo(session):
    """A photo-like picture, sRGB without a profile: clouds of colour, softened, eight bits a
    channel as photos have."""
    source = session.path("photo.png")
    if not source.exists():
        convert("-size", f"{PICTURE[0]}x{PICTURE[1]}", "-seed", "4", "plasma:fractal", "-blur", "0x1.5", "-depth", "8", source)
    return source


def tagged(session, profile, name, extension, source=None):
    """The photo converted into profile's space and tagged with it."""
    picture = session.path(f"{name}.{extension}")
    options = ["-quality", "95", "-sampling-factor", "1x1"] if extension == "jpg" else ["-define", "png:exclude-chunk=cHRM,gAMA"]
    convert(source or photo(session), "-profile", SRGB, "-profile", profile, *options, picture)
    return picture


def reference(session, picture, target):
    result = session.path(picture.stem + "-" + picture.suffix[1:] + "-reference.png")
    convert(picture, "-profile", target, result)
    return result


def jpeg_segments(jpeg):
    """The marker segments before the first scan, and the rest."""
    at, segments = 2, []
    while jpeg[at] == 0xFF and jpeg[at + 1] != 0xDA:
        length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        segments.append(jpeg[at:at + 2 + length])
        at += 2 + length
    return segments, jpeg[at:]


# --- cases ---------------------------------------------------------------------------------------

def case_tagged(session):
    """Adobe RGB, Display P3 and ProPhoto RGB, as PNG and JPEG, and gray."""
    target = monitor_profile(session.wine_state)
    pictures = [tagged(session, profile, name, extension)
                for profile, name in ((ADOBE_RGB, "adobe-rgb"), (DISPLAY_P3, "display-p3"), (PROPHOTO_RGB, "prophoto-rgb"))
                for extension in ("png", "jpg")]
    gray = session.path("gray.jpg")  # gray pixels, tagged with a gray profile
    convert(photo(session), "-colorspace", "Gray", "-profile", ICC / "Gray.icc", "-quality", "95", gray)
    pictures.append(gray)
    for picture, screen in zip(pictures, session.render(pictures)):
        session.expect_near(picture.name, screen, reference(session, picture, target))


def lookup_table_profile(path):
    """An RGB profile of lookup tables alone: Adobe RGB sampled at 33 x 33 x 33 points, into XYZ
    and back, 430 KB."""
    lcms = ctypes.CDLL("liblcms2.so.2")
    for function in ("cmsOpenProfileFromFile", "cmsCreateXYZProfile", "cmsCreateTransform", "cmsCreateProfilePlaceholder",
                     "cmsPipelineAlloc", "cmsStageAllocCLut16bit", "cmsMLUalloc", "cmsD50_XYZ"):
        getattr(lcms, function).restype = ctypes.c_void_p
    lcms.cmsSetProfileVersion.argtypes = [ctypes.c_void_p, ctypes.c_double]
    type_rgb_16, type_xyz_16 = (4 << 16) | (3 << 3) | 2, (9 << 16) | (3 << 3) | 2
    adobe = ctypes.c_void_p(lcms.cmsOpenProfileFromFile(str(ADOBE_RGB).encode(), b"r"))
    xyz = ctypes.c_void_p(lcms.cmsCreateXYZProfile())
    grid = 33
    points = grid ** 3
    nodes = (ctypes.c_uint16 * (3 * points))()
    for i in range(points):
        for channel, index in enumerate((i // (grid * grid), i // grid % grid, i % grid)):
            nodes[3 * i + channel] = index * 65535 // (grid - 1)
    profile = ctypes.c_void_p(lcms.cmsCreateProfilePlaceholder(None))
    lcms.cmsSetProfileVersion(profile, 2.1)
    lcms.cmsSetDeviceClass(profile, 0x6D6E7472)  # 'mntr'
    lcms.cmsSetColorSpace(profile, 0x52474220)  # 'RGB '
    lcms.cmsSetPCS(profile, 0x58595A20)  # 'XYZ '
    for tag, source, source_type, target, target_type in ((0x41324230, adobe, type_rgb_16, xyz, type_xyz_16),   # 'A2B0'
                                                          (0x42324130, xyz, type_xyz_16, adobe, type_rgb_16)):  # 'B2A0'
        table = (ctypes.c_uint16 * (3 * points))()
        transform = ctypes.c_void_p(lcms.cmsCreateTransform(source, source_type, target, target_type, 0, 0))
        lcms.cmsDoTransform(transform, nodes, table, points)
        pipeline = ctypes.c_void_p(lcms.cmsPipelineAlloc(None, 3, 3))
        lcms.cmsPipelineInsertStage(pipeline, 1, ctypes.c_void_p(lcms.cmsStageAllocCLut16bit(None, grid, 3, 3, table)))
        lcms.cmsWriteTag(profile, tag, pipeline)
    lcms.cmsWriteTag(profile, 0x77747074, ctypes.c_void_p(lcms.cmsD50_XYZ()))  # 'wtpt'
    description = ctypes.c_void_p(lcms.cmsMLUalloc(None, 1))
    lcms.cmsMLUsetASCII(description, b"en", b"US", b"Adobe RGB in tables")
    lcms.cmsWriteTag(profile, 0x64657363, description)  # 'desc'
    if not lcms.cmsSaveProfileToFile(profile, str(path).encode()):
        raise RuntimeError("lcms could not save the profile")


def case_lookup_table(session):
    """An RGB profile of tables over 64 KB, in several JPEG segments."""
    profile = session.path("tables.icc")
    lookup_table_profile(profile)
    assert profile.stat().st_size > 65535, "the profile must need several JPEG segments"
    picture = tagged(session, profile, "tables", "jpg")
    segments = [s for s in jpeg_segments(picture.read_bytes())[0] if s[1] == 0xE2 and s[4:16] == b"ICC_PROFILE\0"]
    assert len(segments) > 1, "ImageMagick wrote the profile in one segment"
    session.expect_near(picture.name, session.render([picture])[0], reference(session, picture, monitor_profile(session.wine_state)))


def camera_exif():
    """EXIF as a camera that records Adobe RGB writes it: colour space uncalibrated (0xFFFF) and
    interoperability index R03; little-endian, the directories one after another."""
    def directory(entries, next_at):
        return struct.pack("<H", len(entries)) + b"".join(struct.pack("<HHI", *e[:3]) + e[3] for e in entries) + struct.pack("<I", next_at)
    exif_at = 8 + 2 + 12 + 4
    interoperability_at = exif_at + 2 + 2 * 12 + 4
    first = directory([(0x8769, 4, 1, struct.pack("<I", exif_at))], 0)
    exif = directory([(0xA001, 3, 1, struct.pack("<HH", 0xFFFF, 0)), (0xA005, 4, 1, struct.pack("<I", interoperability_at))], 0)
    interoperability = directory([(0x0001, 2, 4, b"R03\0")], 0)
    tiff = b"II*\0" + struct.pack("<I", 8) + first + exif + interoperability
    body = b"Exif\0\0" + tiff
    return b"\xFF\xE1" + struct.pack(">H", 2 + len(body)) + body


def case_camera(session):
    """Adobe RGB without a profile, by the EXIF camera rule."""
    profiled = tagged(session, ADOBE_RGB, "camera-adobe-rgb", "jpg")
    segments, rest = jpeg_segments(profiled.read_bytes())
    untagged = [s for s in segments if not (s[1] == 0xE2 and s[4:16] == b"ICC_PROFILE\0")]
    picture = session.path("camera.jpg")
    picture.write_bytes(b"\xFF\xD8" + camera_exif() + b"".join(untagged) + rest)
    session.expect_near(picture.name, session.render([picture])[0], reference(session, profiled, monitor_profile(session.wine_state)))


@contextlib.contextmanager
def root_window_profile(wine_state, profile):
    """A profile on the X screen's root window, where colour managers put it: Wine gives it to the monitor."""
    display = next(line.split("=", 1)[1] for line in (Path(wine_state) / "session.env").read_text().splitlines()
                   if line.startswith("export DISPLAY="))
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    connection = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))
    root = ctypes.c_ulong(x11.XDefaultRootWindow(connection))
    atom = ctypes.c_ulong(x11.XInternAtom(connection, b"_ICC_PROFILE", 0))
    data = profile.read_bytes()
    x11.XChangeProperty(connection, root, atom, ctypes.c_ulong(6), 8, 0, data, len(data))  # CARDINAL, bytes, replace
    x11.XSync(connection, 0)
    try:
        yield
    finally:
        x11.XDeleteProperty(connection, root, atom)
        x11.XCloseDisplay(connection)


def case_monitor(session):
    """A wide-gamut profile for the monitor, on the X root window."""
    plain = photo(session)
    adobe = tagged(session, ADOBE_RGB, "monitor-adobe-rgb", "png")
    with root_window_profile(session.wine_state, DISPLAY_P3):
        screens = session.render([plain, adobe])
    untagged_reference = session.path("photo-on-display-p3.png")
    convert(plain, "-profile", SRGB, "-profile", DISPLAY_P3, untagged_reference)
    session.expect_near("untagged, monitor Display P3", screens[0], untagged_reference)
    session.expect_near("Adobe RGB, monitor Display P3", screens[1], reference(session, adobe, DISPLAY_P3))


def case_untagged(session):
    """No profile, or sRGB on the sRGB monitor: exactly as decoded."""
    plain = photo(session)
    srgb = tagged(session, SRGB, "srgb", "png")
    screens = session.render([plain, srgb])
    for name, screen, picture in (("untagged", screens[0], plain), ("sRGB on the sRGB monitor", screens[1], srgb)):
        session.expect_near(name, screen, picture, mean_at_most=0.0, within_three_at_least=100.0)


CASES = {"tagged": case_tagged, "lookup-table": case_lookup_table, "camera": case_camera, "monitor": case_monitor,
         "untagged": case_untagged}


def main(cases, render_slides, wine_state, scratch):
    session = Session(render_slides, wine_state, scratch)
    print("| picture | mean error (levels) | pixels within 3 | worst |\n|---|---|---|---|")
    CASES[cases](session)
    for failure in session.failures:
        print("FAILED:", failure)
    return 1 if session.failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] not in CASES:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
