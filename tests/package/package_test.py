#!/usr/bin/env python3
"""Makes the release zip with cpack (or takes one made already) and checks it: exactly
toolbar1.exe, toolbar1.mld, README.md and LICENSE at its top, each the file that was built or
is in the repository, and an exe that is a 64-bit Windows program carrying its version block,
its manifest (run as the user, asInvoker) and its icon, built for ASLR and DEP with no
section both writable and executable, needing no MinGW runtime DLL beside it, stripped
(its debug symbols in toolbar1.exe.debug, which stays in the build folder, found through the
exe's debug link) and at most 1.5 MB.

  package_test.py --build BUILD_DIR --source SOURCE_DIR [--cpack CPACK] [--zip ZIP]

Exit status 0 when every check passes; every failed check is printed."""
import argparse
import glob
import os
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile
import zlib

EXPECTED_FILES = ["LICENSE", "README.md", "toolbar1.exe", "toolbar1.mld"]
RT_ICON_GROUP, RT_VERSION, RT_MANIFEST = 14, 16, 24
# DllCharacteristics and section flags of the PE format.
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x0020, 0x0040, 0x0100
SCN_MEM_EXECUTE, SCN_MEM_WRITE = 0x20000000, 0x80000000
IMAGE_DIRECTORY_ENTRY_BASERELOC = 5
MAX_EXE_BYTES = 3 * 1024 * 1024 // 2  # 1.5 MB

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)
    return ok


class PeFile:
    """Just enough of the PE format: sections, the resource tree and the imported DLLs."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, self.symbol_table, self.symbols, opt_size, _ = \
            struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        if self.magic != 0x20B:
            raise ValueError("not PE32+")
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        directories = opt + 112
        self.dirs = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = opt + opt_size
        self.section_flags = {}
        self.section_data = {}
        for i in range(sections):
            name, vsize, va, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((va, max(vsize, raw_size), raw_ptr, raw_size))
            flags = struct.unpack_from("<I", data, table + 40 * i + 36)[0]
            name = self.section_name(name.rstrip(b"\0").decode("ascii", "replace"))
            self.section_flags[name] = flags
            self.section_data[name] = data[raw_ptr:raw_ptr + (min(vsize, raw_size) if vsize else raw_size)]

    def section_name(self, name):
        """A name longer than 8 characters is "/offset" into the string table after the symbols."""
        if not name.startswith("/") or not name[1:].isdigit() or not self.symbol_table:
            return name
        start = self.symbol_table + 18 * self.symbols + int(name[1:])
        end = self.data.find(b"\0", start)
        return self.data[start:end].decode("ascii", "replace") if end > start else name

    def offset(self, rva):
        for va, size, raw_ptr, raw_size in self.sections:
            if va <= rva < va + size and rva - va < raw_size:
                return raw_ptr + rva - va
        raise ValueError("RVA %#x outside the file" % rva)

    def resources(self):
        """{(type, name): data} of the first language of each resource; ids are ints, names str."""
        rva, size = self.dirs[2]
        if not rva:
            return {}
        base = self.offset(rva)
        found = {}

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
            for i in range(named + ids):
                key, value = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
                if key & 0x80000000:
                    length = struct.unpack_from("<H", self.data, base + (key & 0x7FFFFFFF))[0]
                    start = base + (key & 0x7FFFFFFF) + 2
                    key = self.data[start:start + 2 * length].decode("utf-16-le")
                yield key, value

        for rtype, to_names in entries(0):
            for name, to_langs in entries(to_names & 0x7FFFFFFF):
                for _, leaf in entries(to_langs & 0x7FFFFFFF):
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((rtype, name), self.data[start:start + data_size])
        return found

    def imports(self):
        rva, _ = self.dirs[1]
        names = []
        if not rva:
            return names
        at = self.offset(rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, at)
            if not any(descriptor):
                return names
            start = self.offset(descriptor[3])
            names.append(self.data[start:self.data.index(b"\0", start)].decode("ascii"))
            at += 20


def version_block(data):
    """The fixed part (file and product versions) and the strings of a version resource."""
    strings = {}
    fixed = None

    def node(at, end):
        nonlocal fixed
        length, value_length, text = struct.unpack_from("<HHH", data, at)
        key_end = at + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        if key == "VS_VERSION_INFO":
            signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIIIII", data, value_at)
            if signature == 0xFEEF04BD:
                fixed = {"file": (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF),
                         "product": (product_ms >> 16, product_ms & 0xFFFF, product_ls >> 16, product_ls & 0xFFFF)}
        elif text == 1 and value_length:
            strings[key] = data[value_at:value_at + 2 * value_length].decode("utf-16-le").rstrip("\0")
        value_size = value_length * (2 if text == 1 else 1)
        child = (value_at + value_size + 3) & ~3
        while child < min(at + length, end):
            child_length = struct.unpack_from("<H", data, child)[0]
            if child_length == 0:
                break
            node(child, at + length)
            child = (child + child_length + 3) & ~3

    node(0, len(data))
    return fixed, strings


def check_stripped(pe, exe, debug_path):
    """No symbols or debug sections in the exe; a debug link to the symbol file beside it."""
    check(len(exe) <= MAX_EXE_BYTES, "toolbar1.exe is at most 1.5 MB (%d bytes)" % len(exe))
    check(pe.symbols == 0, "toolbar1.exe carries no symbol table (%d symbols)" % pe.symbols)
    debug = sorted(n for n in pe.section_flags if n.startswith(".debug"))
    check(not debug, "toolbar1.exe carries no debug sections (found: %s)" % ", ".join(debug))
    link = pe.section_data.get(".gnu_debuglink")
    if not check(link is not None, "toolbar1.exe links to its debug symbols (.gnu_debuglink)"):
        return
    name = link[:link.index(b"\0")].decode("ascii", "replace") if b"\0" in link else ""
    check(name == "toolbar1.exe.debug", "the link names toolbar1.exe.debug (found %r)" % name)
    if not check(os.path.isfile(debug_path), "%s is in the build folder" % debug_path):
        return
    with open(debug_path, "rb") as f:
        symbols = f.read()
    crc_at = (len(name) + 1 + 3) & ~3
    crc = struct.unpack_from("<I", link, crc_at)[0] if len(link) >= crc_at + 4 else None
    check(crc == zlib.crc32(symbols) & 0xFFFFFFFF, "the link's checksum is that of %s" % debug_path)
    check(b".debug_info" in symbols, "%s holds the debug information" % debug_path)


def check_exe(exe, version, debug_path):
    try:
        pe = PeFile(exe)
    except (ValueError, struct.error) as e:
        check(False, "toolbar1.exe is a PE32+ file (%s)" % e)
        return
    check_stripped(pe, exe, debug_path)
    check(pe.machine == 0x8664, "toolbar1.exe is an x86-64 program")
    check(pe.subsystem == 2, "toolbar1.exe is a windowed (GUI) program")
    # What the system's exploit defences need of the file: without them it is loaded at a
    # fixed address, or data it reads could be run as code.
    check(pe.dll_characteristics & DYNAMIC_BASE, "toolbar1.exe may be loaded at any address (ASLR: dynamic base)")
    check(pe.dll_characteristics & HIGH_ENTROPY_VA, "toolbar1.exe takes a 64-bit random address (high-entropy ASLR)")
    check(pe.dirs[IMAGE_DIRECTORY_ENTRY_BASERELOC][1] > 0, "toolbar1.exe keeps its relocations, so it can be moved")
    check(pe.dll_characteristics & NX_COMPAT, "toolbar1.exe runs with data execution prevention (NX compatible)")
    both = [name for name, flags in pe.section_flags.items() if flags & SCN_MEM_EXECUTE and flags & SCN_MEM_WRITE]
    check(not both, "no section of toolbar1.exe is both writable and executable (found: %s)" % ", ".join(both))
    try:
        resources = pe.resources()
    except (ValueError, struct.error) as e:
        check(False, "toolbar1.exe's resource directory reads (%s)" % e)
        resources = {}

    data = resources.get((RT_VERSION, 1))
    if check(data is not None, "toolbar1.exe carries a version resource"):
        fixed, strings = version_block(data)
        dotted = ".".join(str(n) for n in version + (0,) * (4 - len(version)))
        check(fixed is not None and fixed["file"] == fixed["product"] == tuple(int(n) for n in dotted.split(".")),
              "its file and product versions are %s, the package's version" % dotted)
        expected = {"ProductName": "Velmora System Info", "CompanyName": "Velmora",
                    "FileDescription": "Velmora System Info", "OriginalFilename": "toolbar1.exe",
                    "FileVersion": dotted, "ProductVersion": dotted}
        for key, value in expected.items():
            check(strings.get(key) == value, "its %s is %r (found %r)" % (key, value, strings.get(key)))

    data = resources.get((RT_MANIFEST, 1))
    if check(data is not None, "toolbar1.exe carries its manifest (resource 24/1)"):
        try:
            root = ElementTree.fromstring(data)
            text = data.decode("utf-8")
            check(root.tag.endswith("assembly"), "the manifest is an assembly description")
            check("Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text,
                  "the manifest asks for common controls 6")
            levels = [e.attrib for e in root.iter() if e.tag.endswith("requestedExecutionLevel")]
            check(len(levels) == 1 and levels[0].get("level") == "asInvoker" and
                  levels[0].get("uiAccess", "false") == "false",
                  "the manifest runs the program as the user who starts it, asInvoker (found %s)" % levels)
        except (ElementTree.ParseError, UnicodeDecodeError) as e:
            check(False, "the manifest is well-formed XML (%s)" % e)

    check((RT_ICON_GROUP, 1) in resources and (RT_ICON_GROUP, "MAINICON") in resources,
          "toolbar1.exe carries its icon (1 and MAINICON)")
    try:
        imports = pe.imports()
    except (ValueError, struct.error) as e:
        check(False, "toolbar1.exe's import directory reads (%s)" % e)
        return
    runtime = [name for name in imports if name.lower().startswith("lib")]
    check(not runtime, "toolbar1.exe needs no MinGW runtime DLL (imports: %s)" % ", ".join(imports))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the MinGW build folder (toolbar1.exe, CPackConfig.cmake)")
    parser.add_argument("--source", required=True, help="the top of the repository")
    parser.add_argument("--cpack", default="cpack")
    parser.add_argument("--zip", help="check this zip instead of making one")
    args = parser.parse_args()

    if args.zip:
        zip_path = args.zip
    else:
        # An old zip must not pass for a new one.
        for old in glob.glob(os.path.join(args.build, "velmora-system-info-*-win64.zip")):
            os.remove(old)
        made = subprocess.run([args.cpack, "--config", os.path.join(args.build, "CPackConfig.cmake")],
                              cwd=args.build)
        if not check(made.returncode == 0, "cpack made the package"):
            return 1
        zips = glob.glob(os.path.join(args.build, "velmora-system-info-*-win64.zip"))
        if not check(len(zips) == 1, "one velmora-system-info-<version>-win64.zip in %s (%s)" % (args.build, zips)):
            return 1
        zip_path = zips[0]

    name = os.path.basename(zip_path)
    version_text = name[len("velmora-system-info-"):-len("-win64.zip")]
    check(name.startswith("velmora-system-info-") and name.endswith("-win64.zip") and
          all(part.isdigit() for part in version_text.split(".")), "%s names the program and its version" % name)
    version = tuple(int(part) for part in version_text.split(".") if part.isdigit())

    with zipfile.ZipFile(zip_path) as archive:
        check(archive.testzip() is None, "every member of the zip reads back intact")
        listing = sorted(archive.namelist())
        check(listing == EXPECTED_FILES, "the zip holds exactly %s (found %s)" % (EXPECTED_FILES, listing))
        members = {n: archive.read(n) for n in listing if n in EXPECTED_FILES}

    sources = {"toolbar1.exe": os.path.join(args.build, "toolbar1.exe"),
               "toolbar1.mld": os.path.join(args.build, "toolbar1.mld"),
               "README.md": os.path.join(args.source, "README.md"),
               "LICENSE": os.path.join(args.source, "LICENSE")}
    for member, path in sources.items():
        if member in members:
            with open(path, "rb") as f:
                check(members[member] == f.read(), "%s in the zip is %s" % (member, path))

    licence = members.get("LICENSE", b"").decode("utf-8", "replace")
    check(licence.startswith("MIT License") and "Copyright (c) 2026 Velmora" in licence,
          "LICENSE is the MIT licence of Velmora")
    check(members.get("toolbar1.mld", b"")[:1] != b"", "toolbar1.mld is not empty")
    if "toolbar1.exe" in members:
        check_exe(members["toolbar1.exe"], version, os.path.join(args.build, "toolbar1.exe.debug"))

    print("%s: %s" % (zip_path, "FAILED: %d check(s)" % len(failures) if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
