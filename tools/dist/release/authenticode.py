"""Authenticode signatures of the release's programs, with Debian's osslsigncode (2.5).

A signature is kept apart from the program as a detached PKCS#7 file (PEM), so that anyone who
rebuilds the unsigned program from the source can attach it and get the signed bytes. A
passphrase or PIN reaches osslsigncode only through a pipe it reads as a file (-readpass
/dev/fd/N), never on its command line or on a disk.
"""

import pathlib
import re
import ssl
import subprocess
import tempfile
import typing

from . import Refused, passwords

DEBIAN_AUTHORITIES = pathlib.Path("/etc/ssl/certs/ca-certificates.crt")


def osslsigncode(*arguments, pass_fds=(), **context):
    """Runs osslsigncode; it writes its output file even when it fails, so the caller reads
    that file only on success. A failure says why in the releaser's words where it can, else
    with what osslsigncode printed, the refusal last."""
    result = subprocess.run(["osslsigncode", *arguments], capture_output=True, text=True,
                            errors="replace", pass_fds=pass_fds)
    if result.returncode != 0:
        # The token library repeats the key's URI; the releaser knows it as SIGN_PKCS11_KEY.
        output = re.sub(r"pkcs11:\S*", "<SIGN_PKCS11_KEY>", result.stdout + result.stderr)
        raise Refused(fault(output, **context) or f"{output.rstrip()}\n"
                      f"osslsigncode {arguments[0]} failed (its output is above)")
    return result.stdout


UNTRUSTED = "the certificate's issuer is not trusted: give SIGN_CA_FILE"
# What osslsigncode (through OpenSSL) prints for each fault, and what the releaser reads.
NOT_FOR_CODE_SIGNING = "the certificate is not for code signing"
FAULTS = (("RFC 3161 timestamping failed", "no time stamp from {timestamp_url} "
           "(SIGN_TIMESTAMP_URL): the server cannot be reached or gave none; try again, or name "
           "another RFC 3161 server of the certificate's authority"),
          ("Unsupported Signer's certificate purpose", NOT_FOR_CODE_SIGNING),
          ("unsupported certificate purpose", NOT_FOR_CODE_SIGNING),
          ("certificate has expired", "the certificate expired on {notAfter}"),
          ("certificate is not yet valid", "the certificate is not valid before {notBefore}"),
          ("unable to get local issuer certificate", UNTRUSTED),
          ("self-signed certificate in certificate chain", UNTRUSTED),
          ("Wrong password?", "wrong password for {password_of}"),
          ("PIN incorrect", "wrong PIN for {password_of}"),
          ("The private key was not found at", "no private key on the token at "
           "SIGN_PKCS11_KEY"),
          ("The certificate was not found at", "no certificate on the token at SIGN_PKCS11_KEY "
           "with type=cert: the certificate is stored beside the key"),
          # The signature does not verify with the public key of the certificate beside it.
          ("PKCS7_signatureVerify:signature failure", "the key does not match the certificate: "
           "for a token, the certificate is the one at SIGN_PKCS11_KEY with type=cert"))


def fault(output, password_of=None, timestamp_url=None):
    """The releaser's words for what went wrong, when osslsigncode's `output` shows it."""
    # The first dates after "Signer's certificate:" are the signer's own.
    signer = output.partition("Signer's certificate:")[2]
    dates = {field: " ".join(value.split()) for field, value in
             re.findall(r"(notBefore|notAfter) : (.+)", signer)[:2]}
    for sign, words in FAULTS:
        if sign in output:
            return words.format(password_of=password_of, timestamp_url=timestamp_url,
                                **dates)
    return None


class Key(typing.NamedTuple):
    """A code-signing key as osslsigncode takes it: its arguments, which name it, and the
    password or PIN that unlocks it."""
    arguments: list
    password: bytes
    password_of: str  # what the password unlocks, in a refusal


def sign(exe, key, timestamp_url=None):
    """The detached signature (PEM) of the program at `exe`: SHA-256, and an RFC 3161 time
    stamp from `timestamp_url` when given, so that it stays valid after the certificate
    expires. osslsigncode reads the password from a pipe."""
    stamp = ["-ts", timestamp_url] if timestamp_url else []
    with tempfile.TemporaryDirectory(prefix="hotkeys-sign-") as work, \
            passwords.pipe(key.password) as password:
        signed = pathlib.Path(work) / "signed.exe"
        osslsigncode("sign", *key.arguments, "-readpass", f"/dev/fd/{password}", "-h", "sha256",
                     *stamp, "-in", str(exe), "-out", str(signed), pass_fds=(password,),
                     password_of=key.password_of, timestamp_url=timestamp_url)
        return extract(signed)


def extract(signed):
    with tempfile.TemporaryDirectory(prefix="hotkeys-extract-") as work:
        signature = pathlib.Path(work) / "signature.pem"
        osslsigncode("extract-signature", "-pem", "-in", str(signed), "-out", str(signature))
        return signature.read_bytes()


def attach(exe, signature, authorities=None):
    """The signed program: `signature` attached to the unsigned program at `exe`. osslsigncode
    verifies the result, against Debian's certificate authorities and `authorities` (PEM), and
    refuses a signature made for other bytes. Removing it must give back the unsigned bytes
    exactly."""
    with tempfile.TemporaryDirectory(prefix="hotkeys-attach-") as work:
        signed = pathlib.Path(work) / "signed.exe"
        osslsigncode("attach-signature", "-sigin", str(signature),
                     *trusted_authorities(authorities, pathlib.Path(work)),
                     "-in", str(exe), "-out", str(signed))
        if remove(signed) != pathlib.Path(exe).read_bytes():
            raise Refused(f"{exe}: removing the signature does not give back these bytes")
        return signed.read_bytes()


def verify(exe, authorities=None):
    """Refuses the signed program at `exe` unless its signature verifies, by a certificate for
    code signing, valid now, that chains to Debian's authorities or to `authorities` (PEM)."""
    with tempfile.TemporaryDirectory(prefix="hotkeys-verify-") as work:
        osslsigncode("verify", *trusted_authorities(authorities, pathlib.Path(work)),
                     "-in", str(exe))


def certificates(data, path):
    """The certificates (PEM) in the bytes of the SIGN_CA_FILE at `path`, refused unless there
    is one and each is one, before they are relied on."""
    found = re.findall(rb"-----BEGIN CERTIFICATE-----\r?\n[A-Za-z0-9+/=\r\n]+"
                       rb"-----END CERTIFICATE-----", data)
    try:
        if not found:
            raise ssl.SSLError
        ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT).load_verify_locations(
            cadata=b"\n".join(found).decode("ascii"))
    except ssl.SSLError:
        raise Refused(f"SIGN_CA_FILE {path} holds no certificate in PEM (-----BEGIN "
                      "CERTIFICATE-----); convert a DER one with `openssl x509 -inform DER`") \
            from None
    return b"\n".join(found) + b"\n"


def trusted_authorities(authorities, work):
    """osslsigncode's arguments that trust `authorities` (PEM) beside Debian's, for the
    signer's certificate and the time stamp's alike (osslsigncode trusts Debian's alone by
    default)."""
    if not authorities:
        return []
    bundle = work / "authorities.pem"
    debian = DEBIAN_AUTHORITIES.read_bytes() if DEBIAN_AUTHORITIES.is_file() else b""
    bundle.write_bytes(authorities + debian)
    return ["-CAfile", str(bundle), "-TSA-CAfile", str(bundle)]


def remove(signed):
    with tempfile.TemporaryDirectory(prefix="hotkeys-remove-") as work:
        unsigned = pathlib.Path(work) / "unsigned.exe"
        osslsigncode("remove-signature", "-in", str(signed), "-out", str(unsigned))
        return unsigned.read_bytes()
