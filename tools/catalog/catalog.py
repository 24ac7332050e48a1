#!/usr/bin/python3
"""Makes and reads the driver package's security catalog (.cat).

A catalog is a PKCS#7 SignedData whose content is a certificate trust list
(szOID_CTL) of catalog members. Each member is tagged by the hexadecimal
text of a file's hash and carries the hash as SpcIndirectDataContent: the
Authenticode image hash for PE files (checksum, certificate-table entry and
certificate table left out), the hash of the whole file otherwise. Every
file gets a SHA-1 and a SHA-256 member, as Windows looks a file up by the
hash of either algorithm. The catalog's OS attribute names Windows 10 and
later for both word sizes.

Without a signer the SignedData has no certificates and no signer infos:
osslsigncode signs such a catalog in place, and Windows stages a package
only once its catalog is signed by a certificate it trusts.

usage: catalog.py make OUT.cat ROOT [--list FILE | NAME...]
       catalog.py verify CAT ROOT [--list FILE | NAME...]
       catalog.py files MEDIUM     (the files the driver package's catalog covers)
       catalog.py content CAT OUT  (the bytes its signature covers, for openssl smime -verify -content)
NAMEs are relative to ROOT; --list reads them one a line.
"""
import hashlib
import os
import struct
import sys
import time

try:
    from asn1crypto import algos, core
except ImportError:
    sys.exit("catalog: python3-asn1crypto is not installed (apt-get install python3-asn1crypto)")

OID_SIGNED_DATA = "1.2.840.113549.1.7.2"
OID_CTL = "1.3.6.1.4.1.311.10.1"
OID_CATALOG_LIST = "1.3.6.1.4.1.311.12.1.1"
OID_CATALOG_LIST_MEMBER2 = "1.3.6.1.4.1.311.12.1.3"
OID_NAME_VALUE = "1.3.6.1.4.1.311.12.2.1"
OID_MEMBER_INFO = "1.3.6.1.4.1.311.12.2.2"
OID_INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
OID_PE_IMAGE_DATA = "1.3.6.1.4.1.311.2.1.15"
OID_FLAT_DATA = "1.3.6.1.4.1.311.2.1.25"
# Subject interface packages that hash a member: PE images, flat files.
SIP_PE = "{C689AAB8-8E78-11D0-8C47-00C04FC295EE}"
SIP_FLAT = "{DE351A42-8E59-11D0-8C47-00C04FC295EE}"
# Name-value flags: text attribute, authenticated, stored as given.
NAME_VALUE_FLAGS = 0x10010001
OS_ATTRIBUTE = "_v100,_v100_X64"
MEMBER_OS_ATTRIBUTE = "2:10.0"
# No file of this package comes near this; a bigger one is a packaging
# mistake that every installation would copy into the driver store.
MAX_FILE_SIZE = 64 * 1024 * 1024
CHUNK = 1 << 20


class CatalogError(Exception):
    pass


class NameValue(core.Sequence):
    _fields = [("tag", core.BMPString), ("flags", core.Integer), ("value", core.OctetString)]


class MemberInfo(core.Sequence):
    _fields = [("guid", core.BMPString), ("cert_version", core.Integer)]


class AttributeTypeAndValue(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("value", core.Any, {"optional": True})]


class DigestInfo(core.Sequence):
    _fields = [("algorithm", algos.DigestAlgorithm), ("digest", core.OctetString)]


class IndirectData(core.Sequence):
    _fields = [("data", AttributeTypeAndValue), ("message_digest", DigestInfo)]


class SpcString(core.Choice):
    _alternatives = [("unicode", core.BMPString, {"implicit": 0}), ("ascii", core.IA5String, {"implicit": 1})]


class SpcLink(core.Choice):
    _alternatives = [("url", core.IA5String, {"implicit": 0}), ("moniker", core.Any, {"implicit": 1}),
                     ("file", SpcString, {"explicit": 2})]


class PeImageData(core.Sequence):
    _fields = [("flags", core.BitString), ("file", SpcLink, {"explicit": 0, "optional": True})]


class MemberAttribute(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("values", core.SetOf, {"spec": core.Any})]


class MemberAttributes(core.SetOf):
    _child_spec = MemberAttribute


class Member(core.Sequence):
    _fields = [("tag", core.OctetString), ("attributes", MemberAttributes)]


class Members(core.SequenceOf):
    _child_spec = Member


class UsageList(core.SequenceOf):
    _child_spec = core.ObjectIdentifier


class Extension(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("critical", core.Boolean, {"default": False}),
               ("value", core.OctetString)]


class Extensions(core.SequenceOf):
    _child_spec = Extension


class TrustList(core.Sequence):
    _fields = [("usage", UsageList), ("identifier", core.OctetString), ("this_update", core.UTCTime),
               ("algorithm", AttributeTypeAndValue), ("members", Members),
               ("extensions", Extensions, {"explicit": 0, "optional": True})]


class TrustListInfo(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", TrustList, {"explicit": 0})]


class AnySet(core.SetOf):
    _child_spec = core.Any


class SignedData(core.Sequence):
    """PKCS#7 SignedData; its content is the trust list itself, not an
    OCTET STRING around it as CMS would have it."""
    _fields = [("version", core.Integer), ("digest_algorithms", AnySet), ("content", TrustListInfo),
               ("certificates", AnySet, {"implicit": 0, "optional": True}),
               ("crls", AnySet, {"implicit": 1, "optional": True}), ("signer_infos", AnySet)]


class ContentInfo(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", SignedData, {"explicit": 0})]


def utf16z(text):
    return (text + "\0").encode("utf-16-le")


def name_value(tag, value):
    return NameValue({"tag": tag, "flags": NAME_VALUE_FLAGS, "value": utf16z(value)})


def pe_layout(path, size):
    """(checksum offset, security entry offset, certificate table offset,
    length) of a PE image, or None for a file that is none."""
    with open(path, "rb") as f:
        head = f.read(4096)
    if len(head) < 0x40 or head[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    if pe + 24 + 2 > len(head) or head[pe:pe + 4] != b"PE\0\0":
        return None
    opt = pe + 24
    magic = struct.unpack_from("<H", head, opt)[0]
    if magic not in (0x10B, 0x20B):
        return None
    directories = opt + (96 if magic == 0x10B else 112)
    count = struct.unpack_from("<I", head, directories - 4)[0]
    security = directories + 4 * 8
    if count < 5 or security + 8 > len(head):
        return None
    cert_offset, cert_length = struct.unpack_from("<II", head, security)
    if cert_length and (cert_offset + cert_length > size or cert_offset < security + 8):
        raise CatalogError("%s: its certificate table lies outside the file" % path)
    return opt + 64, security, cert_offset if cert_length else size, cert_length


def file_hashes(path, shown):
    """{"sha1": digest, "sha256": digest} and whether the file is a PE image."""
    try:
        size = os.path.getsize(path)
    except OSError:
        raise CatalogError("%s: no such file" % shown)
    if not os.path.isfile(path):
        raise CatalogError("%s: not a file" % shown)
    if size == 0:
        raise CatalogError("%s: the file is empty (0 bytes)" % shown)
    if size > MAX_FILE_SIZE:
        raise CatalogError("%s: %d bytes, more than the %d a file of this package may have" % (shown, size, MAX_FILE_SIZE))
    hashes = {"sha1": hashlib.sha1(), "sha256": hashlib.sha256()}
    layout = pe_layout(path, size)
    ranges = [(0, size)]
    if layout:
        checksum, security, cert_offset, _ = layout
        ranges = [(0, checksum), (checksum + 4, security), (security + 8, cert_offset)]
    with open(path, "rb") as f:
        for start, end in ranges:
            f.seek(start)
            left = end - start
            while left > 0:
                block = f.read(min(CHUNK, left))
                if not block:
                    raise CatalogError("%s: the file shrank while it was read" % shown)
                for h in hashes.values():
                    h.update(block)
                left -= len(block)
    if layout and layout[3] == 0 and size % 8:
        # An unsigned image is hashed as if padded to the 8 bytes signing adds.
        for h in hashes.values():
            h.update(b"\0" * (8 - size % 8))
    return {k: h.digest() for k, h in hashes.items()}, bool(layout)


def member(name, algorithm, digest, is_pe):
    if is_pe:
        data = {"type": OID_PE_IMAGE_DATA, "value": PeImageData({
            "flags": core.BitString(()), "file": SpcLink("file", SpcString("unicode", "<<<Obsolete>>>"))})}
    else:
        data = {"type": OID_FLAT_DATA, "value": core.Null()}
    indirect = IndirectData({"data": data, "message_digest": {"algorithm": {"algorithm": algorithm, "parameters": core.Null()},
                                                             "digest": digest}})
    attributes = [
        {"type": OID_NAME_VALUE, "values": [core.Any.load(name_value("File", name).dump())]},
        {"type": OID_NAME_VALUE, "values": [core.Any.load(name_value("OSAttr", MEMBER_OS_ATTRIBUTE).dump())]},
        {"type": OID_MEMBER_INFO, "values": [core.Any.load(MemberInfo({"guid": SIP_PE if is_pe else SIP_FLAT,
                                                                        "cert_version": 512}).dump())]},
        {"type": OID_INDIRECT_DATA, "values": [core.Any.load(indirect.dump())]},
    ]
    return Member({"tag": utf16z(digest.hex().upper()), "attributes": attributes})


def make(out_path, root, names):
    """Writes the catalog of the files, or raises CatalogError naming the
    file at fault; a catalog is written only whole."""
    if not names:
        raise CatalogError("the file list is empty")
    members, seen, listing = [], set(), hashlib.sha256()
    for name in names:
        path = os.path.join(root, name.replace("\\", "/"))
        digests, is_pe = file_hashes(path, name)
        listing.update(name.encode() + digests["sha256"])
        for algorithm in ("sha1", "sha256"):
            if digests[algorithm] in seen:
                continue  # the same bytes under another folder: one member serves both
            seen.add(digests[algorithm])
            members.append(member(os.path.basename(name), algorithm, digests[algorithm], is_pe))
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", time.time()))
    trust_list = TrustList({
        "usage": [OID_CATALOG_LIST],
        "identifier": listing.digest()[:16],
        "this_update": core.UTCTime(time.strftime("%y%m%d%H%M%SZ", time.gmtime(stamp))),
        "algorithm": {"type": OID_CATALOG_LIST_MEMBER2, "value": core.Null()},
        "members": members,
        "extensions": [{"type": OID_NAME_VALUE, "value": name_value("OS", OS_ATTRIBUTE).dump()}],
    })
    signed = ContentInfo({
        "content_type": OID_SIGNED_DATA,
        "content": {
            "version": 1,
            "digest_algorithms": [],
            "content": {"content_type": OID_CTL, "content": trust_list},
            "signer_infos": [],
        },
    })
    temp = out_path + ".part"
    try:
        with open(temp, "wb") as f:
            f.write(signed.dump())
        os.replace(temp, out_path)
    except OSError as e:
        if os.path.exists(temp):
            os.remove(temp)
        raise CatalogError("%s: cannot write: %s" % (out_path, e.strerror))
    return len(members)


def read_members(cat_path):
    """{hash: file name} of the catalog's members, and its OS attribute."""
    try:
        data = open(cat_path, "rb").read()
        info = ContentInfo.load(data, strict=True)
        if info["content_type"].dotted != OID_SIGNED_DATA:
            raise CatalogError("%s: not a PKCS#7 SignedData" % cat_path)
        encap = info["content"]["content"]
        if encap["content_type"].dotted != OID_CTL:
            raise CatalogError("%s: its content is no certificate trust list" % cat_path)
        trust_list = encap["content"]
        found = {}
        for m in trust_list["members"]:
            name = ""
            digest = None
            for attribute in m["attributes"]:
                kind = attribute["type"].dotted
                for value in attribute["values"]:
                    if kind == OID_NAME_VALUE:
                        nv = NameValue.load(value.dump())
                        if nv["tag"].native == "File":
                            name = nv["value"].native.decode("utf-16-le").rstrip("\0")
                    elif kind == OID_INDIRECT_DATA:
                        digest = IndirectData.load(value.dump())["message_digest"]["digest"].native
            tag = m["tag"].native.decode("utf-16-le").rstrip("\0")
            if digest is None or tag != digest.hex().upper():
                raise CatalogError("%s: member %s has no hash of its tag" % (cat_path, tag))
            found[digest] = name
        os_attr = ""
        for e in trust_list["extensions"] or []:
            if e["type"].dotted == OID_NAME_VALUE:
                nv = NameValue.load(e["value"].native)
                if nv["tag"].native == "OS":
                    os_attr = nv["value"].native.decode("utf-16-le").rstrip("\0")
        return found, os_attr
    except OSError as e:
        raise CatalogError("%s: cannot read: %s" % (cat_path, e.strerror))
    except (ValueError, TypeError, KeyError) as e:
        raise CatalogError("%s: not a catalog (%s)" % (cat_path, e))


def verify(cat_path, root, names):
    """Faults: every file's SHA-1 and SHA-256 hash must be a member."""
    found, os_attr = read_members(cat_path)
    faults = []
    if os_attr != OS_ATTRIBUTE:
        faults.append("%s: OS attribute \"%s\" is not \"%s\"" % (os.path.basename(cat_path), os_attr, OS_ATTRIBUTE))
    for name in names:
        try:
            digests, _ = file_hashes(os.path.join(root, name.replace("\\", "/")), name)
        except CatalogError as e:
            faults.append(str(e))
            continue
        for algorithm, digest in sorted(digests.items()):
            if digest not in found:
                faults.append("%s: its %s hash is no member of %s: changed since the catalog was made, or never in it"
                              % (name, algorithm.upper(), os.path.basename(cat_path)))
                break
    return faults


def names_from(args):
    if args[:1] == ["--list"] and len(args) == 2:
        try:
            return [l.strip() for l in open(args[1], encoding="utf-8") if l.strip()]
        except OSError as e:
            raise CatalogError("%s: cannot read the file list: %s" % (args[1], e.strerror))
    return args


def main(argv):
    try:
        if len(argv) >= 4 and argv[1] == "make":
            count = make(argv[2], argv[3], names_from(argv[4:]))
            print("catalog %s: %d members" % (argv[2], count))
            return 0
        if len(argv) >= 4 and argv[1] == "verify":
            faults = verify(argv[2], argv[3], names_from(argv[4:]))
            for f in faults:
                print("fault: " + f)
            if faults:
                return 1
            print("catalog ok")
            return 0
        if len(argv) == 4 and argv[1] == "content":
            # What a signature of the catalog covers: the trust list's
            # contents without its SEQUENCE header, as Authenticode signs it.
            try:
                info = ContentInfo.load(open(argv[2], "rb").read(), strict=True)
                data = info["content"]["content"]["content"].contents
                open(argv[3], "wb").write(data)
            except (OSError, ValueError, TypeError) as e:
                raise CatalogError("%s: cannot take the signed content out: %s" % (argv[2], e))
            return 0
        if len(argv) == 3 and argv[1] == "files":
            sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mediumcheck"))
            import check_medium
            for name in check_medium.package_files(argv[2]):
                print(name)
            return 0
    except CatalogError as e:
        print("error: %s" % e, file=sys.stderr)
        return 1
    print(__doc__.strip().split("usage:")[1].strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
