"""A small reader of PE files (Windows executables), enough for the file checks.

Reads the headers, the section table, the import and delay-import tables, the
resource tree and the base relocations. Every read is bounds-checked; a damaged
file raises PeError instead of yielding half-read values.
"""
import struct
from dataclasses import dataclass, field

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
MAGIC_PE32 = 0x10B
MAGIC_PE32_PLUS = 0x20B

FILE_RELOCS_STRIPPED = 0x0001

DLL_DYNAMIC_BASE = 0x0040
DLL_NX_COMPAT = 0x0100
DLL_NO_SEH = 0x0400

SCN_CNT_CODE = 0x00000020
SCN_MEM_EXECUTE = 0x20000000
SCN_MEM_READ = 0x40000000
SCN_MEM_WRITE = 0x80000000

DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_BASERELOC = 5
DIR_DEBUG = 6
DIR_DELAY_IMPORT = 13

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24


class PeError(Exception):
    pass


@dataclass
class Section:
    name: str
    virtual_address: int
    virtual_size: int
    raw_offset: int
    raw_size: int
    characteristics: int

    def contains_rva(self, rva):
        return self.virtual_address <= rva < self.virtual_address + max(self.virtual_size, self.raw_size)

    def flag_names(self):
        names = [("CODE", SCN_CNT_CODE), ("EXECUTE", SCN_MEM_EXECUTE),
                 ("READ", SCN_MEM_READ), ("WRITE", SCN_MEM_WRITE)]
        return "|".join(n for n, bit in names if self.characteristics & bit) or "-"


@dataclass
class Resource:
    type: object      # int id or str name
    name: object      # int id or str name
    language: int
    data: bytes
    code_page: int


@dataclass
class RelocationBlock:
    page_rva: int
    entries: list = field(default_factory=list)  # (type, offset in page)


class PeFile:
    def __init__(self, data):
        self.data = bytes(data)
        self._parse_headers()

    # --- raw access -------------------------------------------------------------

    def unpack(self, fmt, offset):
        size = struct.calcsize(fmt)
        if offset < 0 or offset + size > len(self.data):
            raise PeError(f"read of {size} bytes at file offset {offset:#x} is past the end ({len(self.data):#x})")
        return struct.unpack_from(fmt, self.data, offset)

    def rva_to_offset(self, rva):
        if rva < self.size_of_headers:
            return rva
        for s in self.sections:
            if s.contains_rva(rva):
                delta = rva - s.virtual_address
                if delta >= s.raw_size:
                    raise PeError(f"RVA {rva:#x} is in the uninitialised part of {s.name}")
                return s.raw_offset + delta
        raise PeError(f"RVA {rva:#x} is in no section")

    def read(self, rva, size):
        offset = self.rva_to_offset(rva)
        if offset + size > len(self.data):
            raise PeError(f"{size} bytes at RVA {rva:#x} run past the end of the file")
        return self.data[offset:offset + size]

    def unpack_rva(self, fmt, rva):
        return self.unpack(fmt, self.rva_to_offset(rva))

    def read_cstring(self, rva, limit=512):
        offset = self.rva_to_offset(rva)
        end = self.data.find(b"\0", offset, offset + limit)
        if end < 0:
            raise PeError(f"no terminated string at RVA {rva:#x}")
        return self.data[offset:end].decode("ascii", "replace")

    def section_of_rva(self, rva):
        return next((s for s in self.sections if s.contains_rva(rva)), None)

    # --- headers ----------------------------------------------------------------

    def _parse_headers(self):
        if self.data[:2] != b"MZ":
            raise PeError("no MZ signature")
        (self.pe_offset,) = self.unpack("<I", 0x3C)
        if self.unpack("<4s", self.pe_offset)[0] != b"PE\0\0":
            raise PeError(f"no PE signature at {self.pe_offset:#x}")
        coff = self.pe_offset + 4
        (self.machine, self.number_of_sections, self.time_date_stamp, _, _,
         self.size_of_optional_header, self.characteristics) = self.unpack("<HHIIIHH", coff)
        opt = coff + 20
        (self.magic,) = self.unpack("<H", opt)
        if self.magic == MAGIC_PE32:
            (self.image_base,) = self.unpack("<I", opt + 28)
            dirs_at = opt + 96
        elif self.magic == MAGIC_PE32_PLUS:
            (self.image_base,) = self.unpack("<Q", opt + 24)
            dirs_at = opt + 112
        else:
            raise PeError(f"unknown optional header magic {self.magic:#x}")
        (self.size_of_headers, self.checksum, self.subsystem,
         self.dll_characteristics) = self.unpack("<IIHH", opt + 60)
        (count,) = self.unpack("<I", dirs_at - 4)
        self.directories = [self.unpack("<II", dirs_at + 8 * i) for i in range(min(count, 16))]
        self.directories += [(0, 0)] * (16 - len(self.directories))
        self.optional_header_offset = opt
        self.section_table_offset = opt + self.size_of_optional_header
        self.sections = []
        for i in range(self.number_of_sections):
            at = self.section_table_offset + 40 * i
            raw_name, vsize, va, raw_size, raw_offset, _, _, _, _, flags = self.unpack("<8sIIIIIIHHI", at)
            name = raw_name.rstrip(b"\0").decode("ascii", "replace")
            self.sections.append(Section(name, va, vsize, raw_offset, raw_size, flags))

    def directory(self, index):
        return self.directories[index]

    # --- imports ----------------------------------------------------------------

    def imported_dlls(self):
        """Names of the DLLs in the import table, in file order."""
        rva, size = self.directory(DIR_IMPORT)
        names = []
        at = rva
        while rva:
            lookup, _, _, name_rva, thunk = self.unpack_rva("<IIIII", at)
            if not (lookup or name_rva or thunk):
                break
            names.append(self.read_cstring(name_rva))
            at += 20
        return names

    def delay_imported_dlls(self):
        rva, _ = self.directory(DIR_DELAY_IMPORT)
        names = []
        if not rva:
            return names
        at = rva
        while True:
            attributes, name = self.unpack_rva("<II", at)
            if not name:
                break
            # Old linkers wrote virtual addresses instead of RVAs (attribute bit 0 clear).
            names.append(self.read_cstring(name if attributes & 1 else name - self.image_base))
            at += 32
        return names

    def debug_time_stamps(self):
        rva, size = self.directory(DIR_DEBUG)
        return [self.unpack_rva("<I", rva + i + 4)[0] for i in range(0, size if rva else 0, 28)]

    # --- resources --------------------------------------------------------------

    def _resource_name(self, base, value):
        if value & 0x80000000:
            at = self.rva_to_offset(base + (value & 0x7FFFFFFF))
            (length,) = self.unpack("<H", at)
            return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return value

    def _resource_entries(self, base, offset):
        """(name, offset, is_directory) of the entries of one resource directory."""
        _, stamp, _, _, named, ids = self.unpack_rva("<IIHHHH", base + offset)
        self.resource_directory_stamps.append(stamp)
        entries = []
        for i in range(named + ids):
            name, target = self.unpack_rva("<II", base + offset + 16 + 8 * i)
            entries.append((self._resource_name(base, name), target & 0x7FFFFFFF, bool(target & 0x80000000)))
        return entries

    def resources(self):
        """Every resource as type / name / language, the standard three levels."""
        base, _ = self.directory(DIR_RESOURCE)
        self.resource_directory_stamps = []
        found = []
        if not base:
            return found
        for rtype, type_at, type_is_dir in self._resource_entries(base, 0):
            if not type_is_dir:
                raise PeError(f"resource type {rtype!r} is not a directory")
            for name, name_at, name_is_dir in self._resource_entries(base, type_at):
                if not name_is_dir:
                    raise PeError(f"resource {rtype!r}/{name!r} is not a directory")
                for lang, data_at, lang_is_dir in self._resource_entries(base, name_at):
                    if lang_is_dir:
                        raise PeError(f"resource {rtype!r}/{name!r}/{lang!r} nests too deep")
                    data_rva, size, code_page, _ = self.unpack_rva("<IIII", base + data_at)
                    found.append(Resource(rtype, name, lang, self.read(data_rva, size), code_page))
        return found

    def resource_time_stamps(self):
        """The TimeDateStamp of every directory in the resource tree."""
        self.resources()
        return self.resource_directory_stamps

    # --- base relocations ---------------------------------------------------------

    def relocation_blocks(self):
        rva, size = self.directory(DIR_BASERELOC)
        blocks = []
        at, end = rva, rva + size
        while rva and at < end:
            page, block_size = self.unpack_rva("<II", at)
            if block_size < 8 or at + block_size > end:
                raise PeError(f"relocation block at RVA {at:#x} has a bad size {block_size}")
            words = struct.unpack_from(f"<{(block_size - 8) // 2}H", self.read(at + 8, block_size - 8))
            blocks.append(RelocationBlock(page, [(w >> 12, w & 0xFFF) for w in words]))
            at += block_size
        return blocks

    # --- where a byte lies ----------------------------------------------------------

    COFF_FIELDS = [(0, 2, "Machine"), (2, 2, "NumberOfSections"), (4, 4, "TimeDateStamp"),
                   (8, 4, "PointerToSymbolTable"), (12, 4, "NumberOfSymbols"),
                   (16, 2, "SizeOfOptionalHeader"), (18, 2, "Characteristics")]

    def describe_offset(self, offset):
        """Where a file offset lies (a header field or a section), for reports."""
        coff = self.pe_offset + 4
        for start, size, name in self.COFF_FIELDS:
            if coff + start <= offset < coff + start + size:
                return f"COFF header {name}"
        opt = self.optional_header_offset
        if opt + 64 <= offset < opt + 68:
            return "optional header CheckSum"
        if opt <= offset < opt + self.size_of_optional_header:
            return f"optional header +{offset - opt:#x}"
        if offset < self.section_table_offset + 40 * self.number_of_sections:
            return "headers"
        for s in self.sections:
            if s.raw_offset <= offset < s.raw_offset + s.raw_size:
                return f"section {s.name} +{offset - s.raw_offset:#x}"
        return "outside every section"
