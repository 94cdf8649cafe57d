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

from . import Refused, key_uri, passwords

DEBIAN_AUTHORITIES = pathlib.Path("/etc/ssl/certs/ca-certificates.crt")


def osslsigncode(*arguments, pass_fds=(), **context):
    """Runs osslsigncode; it writes its output file even when it fails, so the caller reads
    that file only on success. A failure says why in the releaser's words where it can, else
    with what osslsigncode printed, the refusal last."""
    result = subprocess.run(["osslsigncode", *arguments], capture_output=True, text=True,
                            pass_fds=pass_fds)
    if result.returncode != 0:
        output = result.stdout + result.stderr
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


def key_arguments(environment):
    """osslsigncode's arguments for the key named by the environment, and the file of its
    password or PIN: a PKCS#12 file, or a key on a PKCS#11 token (a PKCS#11 URI, RFC 7512)
    whose certificate is the one stored on the token beside it."""
    pkcs12, module = environment.get("SIGN_PKCS12"), environment.get("SIGN_PKCS11_MODULE")
    if bool(pkcs12) == bool(module):
        raise Refused("name one key: SIGN_PKCS12 (with SIGN_PASSWORD_FILE), or "
                      "SIGN_PKCS11_MODULE with SIGN_PKCS11_KEY and SIGN_PIN_FILE")
    if pkcs12:
        return Key(["-pkcs12", pkcs12], required(environment, "SIGN_PASSWORD_FILE"),
                   f"the key file {pkcs12} (SIGN_PASSWORD_FILE)")
    uri = key_uri.checked(required(environment, "SIGN_PKCS11_KEY"))
    return Key(["-pkcs11module", module, "-pkcs11cert", key_uri.certificate(uri), "-key", uri],
               required(environment, "SIGN_PIN_FILE"), "the token (SIGN_PIN_FILE)")


class Key(typing.NamedTuple):
    arguments: list
    password_file: str
    password_of: str  # what the password unlocks, in a refusal


def required(environment, name):
    value = environment.get(name)
    if not value:
        raise Refused(f"{name} is not set")
    return value


def sign(exe, key, timestamp_url=None):
    """The detached signature (PEM) of the program at `exe`: SHA-256, and an RFC 3161 time
    stamp from `timestamp_url` when given, so that it stays valid after the certificate
    expires. osslsigncode reads the first line of the password file from a pipe."""
    stamp = ["-ts", timestamp_url] if timestamp_url else []
    with tempfile.TemporaryDirectory(prefix="hotkeys-sign-") as work, \
            passwords.pipe(passwords.first_line(key.password_file)) as password:
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


def verify(exe, ca_file=None):
    """Refuses the signed program at `exe` unless its signature verifies, by a certificate for
    code signing, valid now, that chains to Debian's authorities or those of `ca_file`."""
    with tempfile.TemporaryDirectory(prefix="hotkeys-verify-") as work:
        osslsigncode("verify", *trusted_authorities(ca_file, pathlib.Path(work)), "-in", str(exe))


def check_authorities(ca_file):
    """Refuses a SIGN_CA_FILE that holds no certificate in PEM, before it is relied on."""
    try:
        ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT).load_verify_locations(cafile=ca_file)
    except ssl.SSLError:
        raise Refused(f"SIGN_CA_FILE {ca_file} holds no certificate in PEM (-----BEGIN "
                      "CERTIFICATE-----); convert a DER one with `openssl x509 -inform DER`") \
            from None


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
