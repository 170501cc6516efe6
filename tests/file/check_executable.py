#!/usr/bin/env python3
"""Checks of the built program file, one check per run:

    check_executable.py CHECK EXE SOURCE_DIR BUILD_DIR

CHECK is one of the names in CHECKS below. Every finding is printed as what was seen
against what was expected; the exit status is 1 if there was any.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_file  # noqa: E402
from pe_file import PeFile  # noqa: E402

# DLLs that come with every Windows the program runs on. Everything else, above all
# the MinGW runtime DLLs, would have to be shipped next to the program.
SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll",
    "dwmapi.dll", "gdi32.dll", "gdiplus.dll", "imm32.dll", "iphlpapi.dll",
    "kernel32.dll", "msimg32.dll", "msvcrt.dll", "mswsock.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "secur32.dll",
    "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "userenv.dll",
    "usp10.dll", "uxtheme.dll", "version.dll", "winhttp.dll", "wininet.dll",
    "winmm.dll", "ws2_32.dll",
}
MINGW_RUNTIME_PREFIXES = ("libgcc", "libstdc++", "libssp", "libwinpthread", "libgomp",
                          "libquadmath", "libatomic", "libgfortran", "libobjc", "mingwm")

LANG_ZH_CN = 0x0804
CODE_PAGE_UTF16 = 1200
VERSION_1_0_0_0 = (0x00010000, 0x00000000)
VS_FFI_SIGNATURE = 0xFEEF04BD
VFT_APP = 1
ICON_SIZE = 64
ICON_BPP = 32


class Findings:
    """Collects failed expectations; each is printed as seen against expected."""

    def __init__(self):
        self.failures = []

    def expect(self, what, seen, expected, ok=None):
        if ok is None:
            ok = seen == expected
        if not ok:
            self.failures.append(f"{what}: seen {seen}, expected {expected}")
        return ok

    def fail(self, message):
        self.failures.append(message)


def hexes(values):
    return "[" + ", ".join(f"{v:#x}" for v in values) + "]"


def first_difference(a, b):
    return next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


# --- headers ------------------------------------------------------------------------

def check_headers(pe, f, ctx):
    f.expect("optional header magic", hex(pe.magic), hex(pe_file.MAGIC_PE32))
    f.expect("machine", hex(pe.machine), hex(pe_file.MACHINE_I386))
    f.expect("subsystem", pe.subsystem, 2)
    f.expect("COFF time stamp", hex(pe.time_date_stamp), "0x0")
    # Other places a linker or resource compiler may put the build time.
    stamps = pe.resource_time_stamps()
    f.expect("resource directory time stamps", hexes(sorted(set(stamps))), "all 0x0", ok=not any(stamps))
    stamps = pe.debug_time_stamps()
    f.expect("debug directory time stamps", hexes(stamps), "all 0x0", ok=not any(stamps))


# --- imports ------------------------------------------------------------------------

def check_imports(pe, f, ctx):
    imports = pe.imported_dlls()
    delayed = pe.delay_imported_dlls()
    print(f"imports: {imports}; delay-loaded: {delayed}")
    # An empty list would pass the allow-list and prove nothing about the reader.
    f.expect("kernel32.dll imported", imports, "a list with KERNEL32.dll",
             ok="kernel32.dll" in (n.lower() for n in imports))
    for name in imports + delayed:
        lower = name.lower()
        if lower.startswith(MINGW_RUNTIME_PREFIXES):
            f.fail(f"imported DLL {name}: a MinGW runtime DLL, expected the runtimes linked in statically")
        elif lower not in SYSTEM_DLLS:
            f.fail(f"imported DLL {name}: not one of Windows' own DLLs {sorted(SYSTEM_DLLS)}")


# --- hardening ----------------------------------------------------------------------

def check_hardening(pe, f, ctx):
    flags = pe.dll_characteristics
    for name, bit in (("DYNAMIC_BASE", pe_file.DLL_DYNAMIC_BASE),
                      ("NX_COMPAT", pe_file.DLL_NX_COMPAT),
                      ("NO_SEH", pe_file.DLL_NO_SEH)):
        f.expect(f"DllCharacteristics {name}", f"{flags:#06x}", f"bit {bit:#x} set", ok=bool(flags & bit))
    # ASLR needs relocations: a dynamic base with relocations stripped loads at the
    # fixed base or not at all.
    f.expect("RELOCS_STRIPPED in COFF characteristics", f"{pe.characteristics:#06x}",
             "bit 0x1 clear", ok=not pe.characteristics & pe_file.FILE_RELOCS_STRIPPED)
    rva, size = pe.directory(pe_file.DIR_BASERELOC)
    if f.expect("base relocation directory", f"RVA {rva:#x} size {size}", "non-empty", ok=rva and size):
        section = pe.section_of_rva(rva)
        f.expect("section of the base relocations", section and section.name, ".reloc")
        blocks = pe.relocation_blocks()
        absolute = [e for b in blocks for e in b.entries if e[0] == 3]  # IMAGE_REL_BASED_HIGHLOW
        f.expect("HIGHLOW relocations", len(absolute), "at least one", ok=bool(absolute))
    for s in pe.sections:
        writable = s.characteristics & pe_file.SCN_MEM_WRITE
        executable = s.characteristics & (pe_file.SCN_MEM_EXECUTE | pe_file.SCN_CNT_CODE)
        f.expect(f"section {s.name} flags", f"{s.characteristics:#010x} ({s.flag_names()})",
                 "not both writable and executable", ok=not (writable and executable))


# --- resources ----------------------------------------------------------------------

def describe_resources(resources):
    return [f"{r.type}/{r.name}/{r.language:#06x} ({len(r.data)} bytes)" for r in resources]


def check_no_manifest(pe, f, ctx):
    resources = pe.resources()
    manifests = [r for r in resources if r.type == pe_file.RT_MANIFEST]
    f.expect("RT_MANIFEST resources", describe_resources(manifests), "none", ok=not manifests)
    # The resource tree must have been read at all for "none" to mean something.
    f.expect("resources in the file", len(resources), "some", ok=bool(resources))


def read_dib(image, f, what):
    """Width, height and BGRA pixels of a 32-bit icon DIB (height counts XOR and AND)."""
    if image[:8] == b"\x89PNG\r\n\x1a\n":
        f.fail(f"{what}: stored as PNG, expected a 32-bit DIB")
        return None
    if len(image) < 40:
        f.fail(f"{what}: {len(image)} bytes, too short for a bitmap header")
        return None
    header_size, width, height, _, bpp, compression = struct.unpack_from("<IiiHHI", image)
    f.expect(f"{what} size", f"{width}x{height // 2}", f"{ICON_SIZE}x{ICON_SIZE}")
    f.expect(f"{what} bits per pixel", bpp, ICON_BPP)
    f.expect(f"{what} compression", compression, "0 (BI_RGB)", ok=compression == 0)
    pixels = image[header_size:header_size + width * (height // 2) * 4]
    if not f.expect(f"{what} colour data", f"{len(pixels)} bytes", f"{ICON_SIZE * ICON_SIZE * 4} bytes",
                    ok=len(pixels) == ICON_SIZE * ICON_SIZE * 4):
        return None
    return pixels


def ico_images(data):
    """Image bytes of each image of an .ico file."""
    _, _, count = struct.unpack_from("<HHH", data)
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        images.append(data[offset:offset + size])
    return images


def check_icon(pe, f, ctx):
    resources = pe.resources()
    groups = [r for r in resources if r.type == pe_file.RT_GROUP_ICON]
    if not f.expect("RT_GROUP_ICON resources", describe_resources(groups), "exactly one", ok=len(groups) == 1):
        return
    group = groups[0]
    f.expect("icon group name", repr(group.name), repr("DEFAULT_ICON"))
    _, kind, count = struct.unpack_from("<HHH", group.data)
    f.expect("icon group resource type", kind, "1 (icon)", ok=kind == 1)
    if not f.expect("icon group entries", count, 1):
        return
    w, h, _, _, _, bpp, size, icon_id = struct.unpack_from("<BBBBHHIH", group.data, 6)
    f.expect("icon group entry size", f"{w}x{h}", f"{ICON_SIZE}x{ICON_SIZE}")
    f.expect("icon group entry bits per pixel", bpp, ICON_BPP)

    icons = [r for r in resources if r.type == pe_file.RT_ICON and r.name == icon_id]
    if not f.expect(f"RT_ICON {icon_id} named by the group", len(icons), 1):
        return
    image = icons[0].data
    f.expect(f"RT_ICON {icon_id} length against the group entry", len(image), size)
    pixels = read_dib(image, f, f"RT_ICON {icon_id}")
    if pixels is not None:
        alphas = set(pixels[3::4])
        partial = alphas - {0, 255}
        f.expect("icon alpha values", f"{len(alphas)} distinct, min {min(alphas)}, max {max(alphas)}",
                 "a real alpha channel (partial alpha, or both transparent and opaque pixels)",
                 ok=bool(partial) or {0, 255} <= alphas)

    # The image in the program must be the one of the source tree's icon file.
    source_images = ico_images(read_bytes(os.path.join(ctx["source"], "res", "default_icon.ico")))
    f.expect("images in res/default_icon.ico", len(source_images), 1)
    if source_images:
        expected_image = source_images[0]
        f.expect(f"RT_ICON {icon_id} against res/default_icon.ico",
                 f"{len(image)} bytes, first difference at byte {first_difference(image, expected_image)}",
                 f"the same {len(expected_image)} bytes", ok=image == expected_image)


def check_icon_source(pe, f, ctx):
    res = os.path.join(ctx["source"], "res")
    committed = read_bytes(os.path.join(res, "default_icon.ico"))
    with tempfile.TemporaryDirectory(prefix="quorvel-icon-") as tmp:
        out = os.path.join(tmp, "icon.ico")
        subprocess.run([sys.executable, os.path.join(res, "make_icon.py"), out], check=True, cwd=tmp)
        made = read_bytes(out)
    if made != committed:
        f.fail(f"res/default_icon.ico: {len(committed)} bytes, make_icon.py writes {len(made)} bytes; "
               f"first difference at offset {first_difference(made, committed)}")


# --- version ------------------------------------------------------------------------

class VersionNode:
    """One node of a version resource: key, value bytes or text, children."""

    def __init__(self, data, offset):
        self.length, self.value_length, self.type = struct.unpack_from("<HHH", data, offset)
        end = offset + self.length
        if self.length < 6 or end > len(data):
            raise ValueError(f"version node at {offset} has a bad length {self.length}")
        at = offset + 6
        key_end = at
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
            if key_end >= end:
                raise ValueError(f"version node at {offset} has an unterminated key")
        self.key = data[at:key_end].decode("utf-16-le")
        at = align4(key_end + 2)
        # Text values count characters (with the terminating NUL), binary ones bytes.
        value_size = self.value_length * (2 if self.type == 1 else 1)
        self.value = data[at:at + value_size]
        at = align4(at + value_size)
        self.children = []
        while at < end:
            child = VersionNode(data, at)
            self.children.append(child)
            at = align4(at + child.length)

    @property
    def text(self):
        return self.value.decode("utf-16-le").rstrip("\0")

    def child_keys(self):
        return [c.key for c in self.children]

    def child(self, key):
        return next((c for c in self.children if c.key == key), None)


def align4(n):
    return (n + 3) & ~3


def rc_string_values(rc_path):
    """VALUE "Key", "Text" lines of a .rc file, read as UTF-8."""
    with open(rc_path, encoding="utf-8") as f:
        text = f.read()
    return dict(re.findall(r'^\s*VALUE\s+"([^"]+)"\s*,\s*"([^"]*)"\s*$', text, re.MULTILINE))


def check_version(pe, f, ctx):
    versions = [r for r in pe.resources() if r.type == pe_file.RT_VERSION]
    if not f.expect("RT_VERSION resources", describe_resources(versions), "exactly one", ok=len(versions) == 1):
        return
    f.expect("RT_VERSION language", f"{versions[0].language:#06x}", f"{LANG_ZH_CN:#06x}")
    root = VersionNode(versions[0].data, 0)
    f.expect("version root key", root.key, "VS_VERSION_INFO")

    if f.expect("VS_FIXEDFILEINFO length", len(root.value), 52):
        (signature, _, file_ms, file_ls, product_ms, product_ls,
         _, _, _, file_type, _, _, _) = struct.unpack("<13I", root.value)
        f.expect("VS_FIXEDFILEINFO signature", hex(signature), hex(VS_FFI_SIGNATURE))
        f.expect("fixed file version", hexes((file_ms, file_ls)), hexes(VERSION_1_0_0_0))
        f.expect("fixed product version", hexes((product_ms, product_ls)), hexes(VERSION_1_0_0_0))
        f.expect("fixed file type", file_type, f"{VFT_APP} (VFT_APP)", ok=file_type == VFT_APP)

    f.expect("version blocks", sorted(root.child_keys()), ["StringFileInfo", "VarFileInfo"])
    var_info = root.child("VarFileInfo")
    translation = var_info and var_info.child("Translation")
    seen = translation and [f"({lang:#06x}, {cp})" for lang, cp in
                            struct.iter_unpack("<HH", translation.value[:len(translation.value) // 4 * 4])]
    f.expect("VarFileInfo Translation", seen, [f"({LANG_ZH_CN:#06x}, {CODE_PAGE_UTF16})"])

    string_info = root.child("StringFileInfo")
    tables = string_info.child_keys() if string_info else []
    if not f.expect("StringFileInfo tables", tables, ["080404B0"]):
        return
    strings = {node.key: node.text for node in string_info.children[0].children}
    expected = rc_string_values(os.path.join(ctx["source"], "res", "program.rc"))
    print("version strings:", strings)

    for key in ("FileVersion", "ProductVersion"):
        f.expect(f"string {key}", repr(strings.get(key)), repr("1.0.0.0"))
    for key in ("FileDescription", "ProductName", "CompanyName", "LegalCopyright"):
        f.expect(f"string {key}", repr(strings.get(key)), "present and non-empty", ok=bool(strings.get(key)))
    # The .rc file is UTF-8; its texts must reach the file as the same characters.
    for key in sorted(set(expected) | set(strings)):
        f.expect(f"string {key} against res/program.rc", repr(strings.get(key)), repr(expected.get(key)))


# --- build paths --------------------------------------------------------------------

def path_forms(path):
    """A path as the compiler or linker could have written it into the file."""
    forms = set()
    for p in {path, os.path.realpath(path)}:
        p = p.rstrip("/")
        for variant in (p, p.replace("/", "\\")):
            forms.add(variant.encode("utf-8"))
            forms.add(variant.encode("utf-16-le"))
    return forms


def check_no_build_paths(pe, f, ctx):
    for label, path in (("source folder", ctx["source"]), ("build folder", ctx["build"])):
        for form in sorted(path_forms(path)):
            at = pe.data.find(form)
            if at >= 0:
                f.fail(f"{label} {path!r} ({form!r}) found at file offset {at:#x} "
                       f"({pe.describe_offset(at)}); expected no build paths in the file")


# --- size -----------------------------------------------------------------------------

# The least program of its kind (bench/wine/baseline.cpp), built with the same flags and
# resources, and how much larger the program may be.
BASELINE = os.path.join("bench", "bench_baseline.exe")
SIZE_GOAL = 1.15

def check_size(pe, f, ctx):
    baseline = PeFile(read_bytes(os.path.join(ctx["build"], BASELINE)))
    ratio = len(pe.data) / len(baseline.data)
    print(f"{len(pe.data)} bytes against the baseline's {len(baseline.data)}: {ratio:.3f}")
    if not f.expect("size against the baseline", f"{ratio:.3f}", f"at most {SIZE_GOAL}", ok=ratio <= SIZE_GOAL):
        # Each section takes whole file-alignment steps: the one over a step shows here.
        theirs = {s.name: s.virtual_size for s in baseline.sections}
        for s in pe.sections:
            print(f"  {s.name:8} {s.virtual_size:6} bytes in {s.raw_size:6}; baseline {theirs.get(s.name, 0):6}")


CHECKS = {
    "headers": check_headers,
    "imports": check_imports,
    "hardening": check_hardening,
    "no_manifest": check_no_manifest,
    "icon": check_icon,
    "icon_source": check_icon_source,
    "version": check_version,
    "no_build_paths": check_no_build_paths,
    "size": check_size,
}


def main(argv):
    if len(argv) != 5 or argv[1] not in CHECKS:
        print(f"usage: {argv[0]} {{{','.join(CHECKS)}}} EXE SOURCE_DIR BUILD_DIR", file=sys.stderr)
        return 2
    check, exe, source, build = argv[1:]
    data = read_bytes(exe)
    print(f"{exe}: {len(data)} bytes")
    findings = Findings()
    try:
        CHECKS[check](PeFile(data), findings, {"source": source, "build": build})
    except (pe_file.PeError, ValueError, struct.error) as e:
        findings.fail(f"unreadable file: {e}")
    for failure in findings.failures:
        print("FAIL", failure)
    if not findings.failures:
        print(f"{check}: ok")
    return 1 if findings.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
