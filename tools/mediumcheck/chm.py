"""The directory of a compiled HTML Help file (ITSF) and the size of its
help-context map (/#IVB), which HtmlHelpW's HH_HELP_CONTEXT looks up."""
import struct


def _encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def entries(data):
    """{name: (section, offset, length)} of the file's directory."""
    if data[:4] != b"ITSF":
        raise ValueError("not a compiled help file")
    version = struct.unpack_from("<I", data, 4)[0]
    dir_offset, _dir_length = struct.unpack_from("<QQ", data, 0x48)
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ValueError("no directory")
    header_len, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    count = struct.unpack_from("<I", data, dir_offset + 0x2C)[0]
    result = {}
    base = dir_offset + header_len
    for i in range(count):
        chunk = data[base + i * chunk_size: base + (i + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        free = struct.unpack_from("<I", chunk, 4)[0]
        pos, end = 0x14, chunk_size - free
        while pos < end:
            n, pos = _encint(chunk, pos)
            name = chunk[pos:pos + n].decode("utf-8", "replace")
            pos += n
            section, pos = _encint(chunk, pos)
            offset, pos = _encint(chunk, pos)
            length, pos = _encint(chunk, pos)
            result[name] = (section, offset, length)
    if version >= 3:
        content0 = struct.unpack_from("<Q", data, 0x58)[0]
    else:
        content0 = base + count * chunk_size
    return result, content0


def context_count(path):
    """How many help contexts the file maps (its /#IVB list holds one
    8-byte pair per context after a 4-byte size); None when it is no help
    file. The list itself is LZX-compressed, so the ids are checked by
    opening them with HtmlHelpW under Wine."""
    data = open(path, "rb").read()
    try:
        found, _ = entries(data)
    except (ValueError, struct.error, IndexError):
        return None
    if "/#IVB" not in found:
        return 0
    return max(0, (found["/#IVB"][2] - 4) // 8)
