"""Authenticode signatures of the release's programs, with Debian's osslsigncode (2.5).

A signature is kept apart from the program as a detached PKCS#7 file (PEM), so that anyone who
rebuilds the unsigned program from the source can attach it and get the signed bytes. A
passphrase or PIN reaches osslsigncode only through a file (-readpass), never on its command
line.
"""

import os
import pathlib
import subprocess
import tempfile

from . import Refused

DEBIAN_AUTHORITIES = pathlib.Path("/etc/ssl/certs/ca-certificates.crt")


def osslsigncode(*arguments):
    """Runs osslsigncode; it writes its output file even when it fails, so the caller reads
    that file only on success. What it printed goes into the error."""
    result = subprocess.run(["osslsigncode", *arguments], capture_output=True, text=True)
    if result.returncode != 0:
        raise Refused(f"osslsigncode {arguments[0]} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def key_arguments(environment):
    """osslsigncode's arguments for the key named by the environment: a PKCS#12 file with the
    file of its password, or a key on a PKCS#11 token (a PKCS#11 URI, RFC 7512) with the file
    of its PIN; the certificate is the one stored on the token beside the key."""
    pkcs12, module = environment.get("SIGN_PKCS12"), environment.get("SIGN_PKCS11_MODULE")
    if bool(pkcs12) == bool(module):
        raise Refused("name one key: SIGN_PKCS12 (with SIGN_PASSWORD_FILE), or "
                            "SIGN_PKCS11_MODULE with SIGN_PKCS11_KEY and SIGN_PIN_FILE")
    if pkcs12:
        return ["-pkcs12", pkcs12, "-readpass", required(environment, "SIGN_PASSWORD_FILE")]
    key = required(environment, "SIGN_PKCS11_KEY")
    attributes = key.removeprefix("pkcs11:").replace("?", ";").split(";")
    if not key.startswith("pkcs11:") or any(a.startswith(("pin-value=", "pin-source="))
                                             for a in attributes):
        raise Refused("SIGN_PKCS11_KEY must be a PKCS#11 URI without its PIN (the PIN "
                            "comes from SIGN_PIN_FILE)")
    certificate = ";".join(a for a in attributes if not a.startswith("type=")) + ";type=cert"
    return ["-pkcs11module", module, "-pkcs11cert", "pkcs11:" + certificate,
            "-key", key, "-readpass", required(environment, "SIGN_PIN_FILE")]


def required(environment, name):
    value = environment.get(name)
    if not value:
        raise Refused(f"{name} is not set")
    if name.endswith("_FILE") and not os.path.isfile(value):
        raise Refused(f"{name} names no file: {value}")
    return value


def sign(exe, key, timestamp_url=None):
    """The detached signature (PEM) of the program at `exe`: SHA-256, and an RFC 3161 time
    stamp from `timestamp_url` when given, so that it stays valid after the certificate
    expires."""
    stamp = ["-ts", timestamp_url] if timestamp_url else []
    with tempfile.TemporaryDirectory(prefix="hotkeys-sign-") as work:
        signed = pathlib.Path(work) / "signed.exe"
        osslsigncode("sign", *key, "-h", "sha256", *stamp, "-in", str(exe), "-out", str(signed))
        return extract(signed)


def extract(signed):
    with tempfile.TemporaryDirectory(prefix="hotkeys-extract-") as work:
        signature = pathlib.Path(work) / "signature.pem"
        osslsigncode("extract-signature", "-pem", "-in", str(signed), "-out", str(signature))
        return signature.read_bytes()


def attach(exe, signature, ca_file=None):
    """The signed program: `signature` attached to the unsigned program at `exe`. osslsigncode
    verifies the result, against Debian's certificate authorities and `ca_file`, and refuses a
    signature made for other bytes. Removing it must give back the unsigned bytes exactly."""
    with tempfile.TemporaryDirectory(prefix="hotkeys-attach-") as work:
        signed = pathlib.Path(work) / "signed.exe"
        osslsigncode("attach-signature", "-sigin", str(signature),
                     *trusted_authorities(ca_file, pathlib.Path(work)),
                     "-in", str(exe), "-out", str(signed))
        if remove(signed) != pathlib.Path(exe).read_bytes():
            raise Refused(f"{exe}: removing the signature does not give back these bytes")
        return signed.read_bytes()


def trusted_authorities(ca_file, work):
    """osslsigncode's arguments that trust `ca_file` beside Debian's authorities, for the
    signer's certificate and the time stamp's alike (osslsigncode trusts Debian's alone by
    default)."""
    if not ca_file:
        return []
    bundle = work / "authorities.pem"
    debian = DEBIAN_AUTHORITIES.read_bytes() if DEBIAN_AUTHORITIES.is_file() else b""
    bundle.write_bytes(pathlib.Path(ca_file).read_bytes() + b"\n" + debian)
    return ["-CAfile", str(bundle), "-TSA-CAfile", str(bundle)]


def remove(signed):
    with tempfile.TemporaryDirectory(prefix="hotkeys-remove-") as work:
        unsigned = pathlib.Path(work) / "unsigned.exe"
        osslsigncode("remove-signature", "-in", str(signed), "-out", str(unsigned))
        return unsigned.read_bytes()
