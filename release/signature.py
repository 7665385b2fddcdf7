"""Authenticode signatures of the release's exe and package, by osslsigncode.

With a certificate, RELEASE_SIGN_PKCS12 (a PKCS#12 file), RELEASE_SIGN_PASSWORD_FILE
(a file holding its password) and optionally RELEASE_SIGN_TIMESTAMP_URL (an RFC 3161
time-stamp server), each file is signed: SHA-256, with the product's description and
web address. With RELEASE_SIGNATURES, a folder holding the detached signatures that
a signed release wrote (FILE.sig), each is attached to the file built again instead:
the same commit then gives the signed release's bytes, without the certificate.
Either way FILE.sig is written beside the signed file. Without these variables
nothing is signed.
"""
import calendar
import collections
import os
import shutil
import subprocess
import sys
import time

Signing = collections.namedtuple("Signing", "pkcs12 password_file timestamp_url signatures")
# The signer's signing-time attribute: the OID 1.2.840.113549.1.9.5, then a set of
# one UTCTime of 13 characters (YYMMDDhhmmssZ).
SIGNING_TIME = bytes.fromhex("06092a864886f70d010905" "310f170d")
SYSTEM_CERTIFICATES = "/etc/ssl/certs/ca-certificates.crt"
WIN_CERTIFICATE_PKCS7 = bytes.fromhex("00020200")  # revision 2.0, PKCS#7 signed data


def signing_from(environ):
    """The signing that the environment asks for, checked, or None."""
    pkcs12, password_file, timestamp_url, folder = (environ.get(name, "") for name in (
        "RELEASE_SIGN_PKCS12", "RELEASE_SIGN_PASSWORD_FILE", "RELEASE_SIGN_TIMESTAMP_URL",
        "RELEASE_SIGNATURES"))
    if pkcs12 and folder:
        sys.exit("release: RELEASE_SIGN_PKCS12 signs and RELEASE_SIGNATURES attaches a signed "
                 "release's signatures; set one of them")
    if not pkcs12 and (password_file or timestamp_url):
        sys.exit("release: RELEASE_SIGN_PASSWORD_FILE and RELEASE_SIGN_TIMESTAMP_URL go with "
                 "RELEASE_SIGN_PKCS12, which is not set")
    if pkcs12 and not password_file:
        sys.exit("release: RELEASE_SIGN_PKCS12 needs RELEASE_SIGN_PASSWORD_FILE, "
                 "a file holding the certificate's password")
    for name, path in (("RELEASE_SIGN_PKCS12", pkcs12), ("RELEASE_SIGN_PASSWORD_FILE", password_file)):
        if path and not os.path.isfile(path):
            sys.exit(f"release: {name} names {path}, which is no file")
    if folder and not os.path.isdir(folder):
        sys.exit(f"release: RELEASE_SIGNATURES names {folder}, which is no folder")
    if not pkcs12 and not folder:
        return None
    if shutil.which("osslsigncode") is None:
        sys.exit("release: osslsigncode is missing; scripts/setup.sh installs it")
    signatures = {entry: open(os.path.join(folder, entry), "rb").read()
                  for entry in os.listdir(folder) if entry.endswith(".sig")} if folder else {}
    return Signing(pkcs12, password_file, timestamp_url, signatures)


def osslsigncode(arguments, failure):
    done = subprocess.run(["osslsigncode"] + arguments, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"release: {failure}:\n{done.stdout}{done.stderr}")


def signing_time(signature):
    """The signer's signing time as seconds since 1970, or None."""
    at = signature.find(SIGNING_TIME)
    if at < 0:
        return None
    text = signature[at + len(SIGNING_TIME):at + len(SIGNING_TIME) + 13].decode("ascii", "replace")
    return calendar.timegm(time.strptime(text, "%y%m%d%H%M%SZ"))


def certificates(signature, stage):
    """The certificates that SIGNATURE carries, in PEM. A signature of a PE file may
    come as the file holds it, behind the 8 bytes of its WIN_CERTIFICATE header."""
    if signature[4:8] == WIN_CERTIFICATE_PKCS7:
        signature = signature[8:]
    der = os.path.join(stage, "signature.der")
    open(der, "wb").write(signature)
    return subprocess.run(["openssl", "pkcs7", "-inform", "DER", "-print_certs", "-in", der],
                          capture_output=True, text=True).stdout


def attach(signature, path, name, stage):
    """Attaches SIGNATURE to the file at PATH, which the release names NAME. osslsigncode checks it against the
    file and its certificate chain; the chain is taken as the signature carries it
    (with the system's roots) and as it stood when it was signed: whether to trust
    the signer is the question of whoever verifies the release, and the question
    here is only whether the signature belongs to these bytes."""
    signature_file, chain = os.path.join(stage, "attached.sig"), os.path.join(stage, "chain.pem")
    open(signature_file, "wb").write(signature)
    with open(chain, "w") as f:
        f.write(certificates(signature, stage))
        if os.path.isfile(SYSTEM_CERTIFICATES):
            f.write(open(SYSTEM_CERTIFICATES).read())
    seconds = signing_time(signature)
    osslsigncode(["attach-signature", "-sigin", signature_file, "-CAfile", chain, "-TSA-CAfile", chain]
                 + (["-time", str(seconds)] if seconds is not None else [])
                 + ["-in", path, "-out", path + ".signed"],
                 f"attaching {name}.sig failed (a signature of another commit, or of a build "
                 "with other package versions, does not match)")
    os.replace(path + ".signed", path)


def sign_file(signing, path, name, description, url, dist):
    """Signs the file at PATH, which the release names NAME, or attaches NAME.sig of
    the given signatures; then writes its detached signature to DIST/NAME.sig."""
    if not signing.pkcs12:
        if name + ".sig" not in signing.signatures:
            sys.exit(f"release: RELEASE_SIGNATURES holds no {name}.sig")
        attach(signing.signatures[name + ".sig"], path, name, os.path.dirname(path))
    else:
        osslsigncode(["sign", "-pkcs12", signing.pkcs12, "-readpass", signing.password_file,
                      "-h", "sha256", "-n", description, "-i", url]
                     + (["-ts", signing.timestamp_url] if signing.timestamp_url else [])
                     + ["-in", path, "-out", path + ".signed"], f"signing {name} failed")
        os.replace(path + ".signed", path)
    osslsigncode(["extract-signature", "-in", path, "-out", os.path.join(dist, name + ".sig")],
                 f"the signature of {name} cannot be read back")
