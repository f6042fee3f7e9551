#!/usr/bin/env python3
"""Checks the built 32-bit Windows modules without running them.

    check_windows_modules.py GAUGES_DIR
    check_windows_modules.py --self-test GAUGES_DIR

For each of Quillmar.gau, Quillmar_EADI.gau and Quillmar_EHSI.gau, read as
a PE file:
- a 32-bit (PE32) library for the i386, marked as a DLL;
- exports exactly ImportTable and Linkage, under those undecorated names;
- ImportTable lies in a writable section (the simulator writes its host
  table into it);
- imports only Windows system DLLs;
- no thread-local-storage callbacks (a library loaded with LoadLibrary in
  the simulator's era never has them called);
- the two display modules carry bitmap resource 101: 171 x 138 pixels,
  24 bits per pixel, uncompressed, all black.
Prints one line per module and exits 1 when anything does not hold.

--self-test first shows that the check catches faults: it spoils copies of
the built display module in one way each (another machine, a read-only
ImportTable, a foreign import, a lit pixel in the bitmap) and expects each
copy to be refused for exactly that reason.
"""
import os
import struct
import sys

SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "WINMM.DLL", "DSOUND.DLL", "DDRAW.DLL",
               "MSVCRT.DLL", "ADVAPI32.DLL", "OLE32.DLL"}
MODULES = {"Quillmar": False, "Quillmar_EADI": True, "Quillmar_EHSI": True}   # carries bitmap 101

IMAGE_FILE_MACHINE_I386 = 0x14C
IMAGE_FILE_DLL = 0x2000
PE32_MAGIC = 0x10B
IMAGE_SCN_MEM_WRITE = 0x80000000
RT_BITMAP = 2


class PeFile:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        if self.magic != PE32_MAGIC:
            return
        self.image_base = struct.unpack_from("<I", data, optional + 28)[0]
        count = struct.unpack_from("<I", data, optional + 92)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i) for i in range(count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, vaddr, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * i)
            flags = struct.unpack_from("<I", data, table + 40 * i + 36)[0]
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), vaddr, max(vsize, raw_size),
                                  raw_at, raw_size, flags))

    def section_of(self, rva):
        for section in self.sections:
            if section[1] <= rva < section[1] + section[2]:
                return section
        raise ValueError("address 0x%x lies in no section" % rva)

    def offset(self, rva):
        name, vaddr, _, raw_at, raw_size, _ = self.section_of(rva)
        if rva - vaddr >= raw_size:
            raise ValueError("address 0x%x has no bytes in the file" % rva)
        return raw_at + rva - vaddr

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def exports(self):
        rva, size = self.directory(0)
        if not rva:
            return {}
        count, functions = self.u32(rva + 24), self.u32(rva + 28)
        names_at, ordinals_at = self.u32(rva + 32), self.u32(rva + 36)
        result = {}
        for i in range(count):
            name = self.string(self.u32(names_at + 4 * i))
            ordinal = struct.unpack_from("<H", self.data, self.offset(ordinals_at + 2 * i))[0]
            result[name] = self.u32(functions + 4 * ordinal)
        return result

    def imports(self):
        rva, _ = self.directory(1)
        dlls = []
        while rva:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not (lookup or name or thunks):
                break
            dlls.append(self.string(name))
            rva += 20
        return dlls

    def tls_callbacks(self):
        rva, _ = self.directory(9)
        if not rva:
            return []
        table_va = struct.unpack_from("<I", self.data, self.offset(rva) + 12)[0]
        if not table_va:
            return []
        callbacks, at = [], table_va - self.image_base
        while True:
            callback = self.u32(at)
            if not callback:
                return callbacks
            callbacks.append(callback)
            at += 4

    def resource(self, type_id, name_id):
        """The bytes of the first language of resource (type_id, name_id), or None."""
        root, _ = self.directory(2)
        if not root:
            return None

        def entry(directory_rva, wanted):
            at = self.offset(directory_rva)
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if wanted is None or (not ident & 0x80000000 and ident == wanted):
                    return target
            return None

        level = root
        for wanted in (type_id, name_id, None):
            target = entry(level, wanted)
            if target is None:
                return None
            if wanted is None and target & 0x80000000:
                return None
            level = root + (target & 0x7FFFFFFF)
        data_rva, size = struct.unpack_from("<II", self.data, self.offset(level))
        at = self.offset(data_rva)
        return self.data[at:at + size]


def check_bitmap(dib):
    """What is wrong with the blank display bitmap, or None."""
    if dib is None:
        return "has no bitmap resource 101"
    header, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", dib, 0)
    if (width, abs(height), bits, compression) != (171, 138, 24, 0):
        return "bitmap 101 is %d x %d, %d bits, compression %d; expected 171 x 138, 24 bits, none" % (
            width, abs(height), bits, compression)
    row = (width * 3 + 3) // 4 * 4
    pixels = dib[header:header + row * abs(height)]
    if len(pixels) < row * abs(height):
        return "bitmap 101 holds only %d bytes of pixels" % len(pixels)
    if any(pixels[y * row:y * row + width * 3].count(0) != width * 3 for y in range(abs(height))):
        return "bitmap 101 is not all black"
    return None


def check(path, carries_bitmap):
    problems = []
    with open(path, "rb") as f:
        pe = PeFile(f.read())
    if pe.machine != IMAGE_FILE_MACHINE_I386 or pe.magic != PE32_MAGIC:
        return ["is not a 32-bit (PE32) library for the i386"]
    if not pe.characteristics & IMAGE_FILE_DLL:
        problems.append("is not marked as a DLL")
    exports = pe.exports()
    if sorted(exports) != ["ImportTable", "Linkage"]:
        problems.append("exports %s; expected exactly ImportTable and Linkage" % sorted(exports))
    if "ImportTable" in exports:
        section = pe.section_of(exports["ImportTable"])
        if not section[5] & IMAGE_SCN_MEM_WRITE:
            problems.append("ImportTable lies in %s, which is not writable" % section[0])
    for dll in pe.imports():
        if dll.upper() not in SYSTEM_DLLS:
            problems.append("imports %s, which is not a Windows system DLL" % dll)
    callbacks = pe.tls_callbacks()
    if callbacks:
        problems.append("has %d thread-local-storage callbacks" % len(callbacks))
    if carries_bitmap:
        problem = check_bitmap(pe.resource(RT_BITMAP, 101))
        if problem:
            problems.append(problem)
    return problems


def spoiled_copies(data):
    """(what was spoiled, the expected complaint, the spoiled bytes) for each way."""
    pe = PeFile(data)
    header = struct.unpack_from("<I", data, 0x3C)[0]
    copies = []

    machine = bytearray(data)
    struct.pack_into("<H", machine, header + 4, 0x8664)
    copies.append(("machine", "not a 32-bit", machine))

    read_only = bytearray(data)
    name = pe.section_of(pe.exports()["ImportTable"])[0]
    table = header + 24 + struct.unpack_from("<H", data, header + 20)[0]
    index = [s[0] for s in pe.sections].index(name)
    flags_at = table + 40 * index + 36
    struct.pack_into("<I", read_only, flags_at, pe.sections[index][5] & ~IMAGE_SCN_MEM_WRITE)
    copies.append(("ImportTable section", "not writable", read_only))

    foreign = bytearray(data)
    dll = next(d for d in pe.imports() if d.upper() == "USER32.DLL")
    at = data.index(dll.encode("latin-1") + b"\0")
    foreign[at:at + len(dll)] = b"EVIL32.dll"[:len(dll)]
    copies.append(("an import", "not a Windows system DLL", foreign))

    lit = bytearray(data)
    dib = pe.resource(RT_BITMAP, 101)
    at = data.index(dib)
    lit[at + 40 + 3 * 85] = 0xFF
    copies.append(("a bitmap pixel", "not all black", lit))
    return copies


def self_test(gauges_dir):
    import tempfile
    with open(os.path.join(gauges_dir, "Quillmar_EADI.gau"), "rb") as f:
        data = f.read()
    ok = True
    with tempfile.TemporaryDirectory() as work:
        for what, complaint, spoiled in spoiled_copies(data):
            path = os.path.join(work, "spoiled.gau")
            with open(path, "wb") as f:
                f.write(spoiled)
            problems = check(path, True)
            if len(problems) != 1 or complaint not in problems[0]:
                print("self-test: spoiling %s gave %s, expected one complaint '%s'" % (what, problems, complaint))
                ok = False
    print("self-test: %s" % ("every spoiled copy refused" if ok else "FAILED"))
    return ok


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--self-test":
        if not self_test(sys.argv[2]):
            sys.exit(1)
        del sys.argv[1]
    if len(sys.argv) != 2:
        sys.exit("usage: check_windows_modules.py [--self-test] GAUGES_DIR")
    failed = False
    for module, carries_bitmap in MODULES.items():
        path = os.path.join(sys.argv[1], module + ".gau")
        try:
            problems = check(path, carries_bitmap) if os.path.isfile(path) else ["%s is missing" % path]
        except (ValueError, struct.error, IndexError) as error:
            problems = ["cannot be read as a PE file: %s" % error]
        failed = failed or bool(problems)
        print("%s: %s" % (module, "; ".join(problems) if problems else "as expected"))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
