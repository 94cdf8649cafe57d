"""The keys a release is signed with, read from the environment once, before any work: every
file a variable names is checked first, so that a wrong one is refused before anything is
built (docs/releasing.md lists the variables). A relative path is taken from the folder make
runs in, the clone's top, as make itself takes one."""

import dataclasses
import os

from . import Refused, authenticode, inputs, key_uri, passwords, sums_signature

# The files the environment names.
INPUTS = {"SIGN_PKCS12": "key file", "SIGN_PASSWORD_FILE": "password file",
          "SIGN_PKCS11_MODULE": "PKCS#11 module", "SIGN_PIN_FILE": "PIN file",
          "SIGN_CA_FILE": "CA file", "MINISIGN_KEY": "key file",
          "MINISIGN_PASSWORD_FILE": "password file"}
# Debian's own bundle of every authority it trusts is a quarter of this.
LARGEST_CA_FILE = 4 * 1024 * 1024


@dataclasses.dataclass(frozen=True)
class Keys:
    certificate: authenticode.Key | None  # None: the programs keep the signatures they have
    timestamp_url: str | None
    authorities: bytes | None  # the certificates of SIGN_CA_FILE, in PEM
    minisign: sums_signature.Key | None  # None: SHA256SUMS is not signed


def paths(environment):
    """The environment with each file it names made absolute."""
    return {**environment, **{variable: os.path.abspath(environment[variable])
                              for variable in INPUTS if environment.get(variable)}}


def required(environment, name):
    value = environment.get(name)
    if not value:
        raise Refused(f"{name} is not set")
    return value


def certificate(environment):
    """The code-signing key the environment names, with its password or PIN: a PKCS#12 file,
    or a key on a PKCS#11 token (a PKCS#11 URI, RFC 7512) whose certificate is the one stored
    on the token beside it."""
    environment = paths(environment)
    pkcs12, module = environment.get("SIGN_PKCS12"), environment.get("SIGN_PKCS11_MODULE")
    if bool(pkcs12) == bool(module):
        raise Refused("name one key: SIGN_PKCS12 (with SIGN_PASSWORD_FILE), or "
                      "SIGN_PKCS11_MODULE with SIGN_PKCS11_KEY and SIGN_PIN_FILE")
    if pkcs12:
        password_file = required(environment, "SIGN_PASSWORD_FILE")
        return authenticode.Key(["-pkcs12", pkcs12],
                                passwords.first_line(password_file, "SIGN_PASSWORD_FILE"),
                                f"the key file {pkcs12} (SIGN_PASSWORD_FILE)")
    uri = key_uri.checked(required(environment, "SIGN_PKCS11_KEY"))
    pin_file = required(environment, "SIGN_PIN_FILE")
    return authenticode.Key(["-pkcs11module", module, "-pkcs11cert", key_uri.certificate(uri),
                             "-key", uri], passwords.first_line(pin_file, "SIGN_PIN_FILE", "PIN"),
                            "the token (SIGN_PIN_FILE)")


def authorities(environment):
    """The certificates of SIGN_CA_FILE (PEM), or None when it is not set."""
    path = paths(environment).get("SIGN_CA_FILE")
    if not path:
        return None
    return authenticode.certificates(
        inputs.whole(path, "SIGN_CA_FILE", INPUTS["SIGN_CA_FILE"], LARGEST_CA_FILE), path)


def minisign(environment):
    """The release key, its password taken from MINISIGN_PASSWORD_FILE, else typed at the
    terminal."""
    environment = paths(environment)
    key, password_file = environment["MINISIGN_KEY"], environment.get("MINISIGN_PASSWORD_FILE")
    if password_file:
        return sums_signature.Key(key, passwords.first_line(password_file,
                                                            "MINISIGN_PASSWORD_FILE"),
                                  f"the minisign key {key} (MINISIGN_PASSWORD_FILE)")
    what = f"the minisign key {key}"
    if not sums_signature.needs_password(
            inputs.whole(key, "MINISIGN_KEY", INPUTS["MINISIGN_KEY"], passwords.LONGEST)):
        return sums_signature.Key(key, None, what)
    return sums_signature.Key(key, passwords.asked(what, "MINISIGN_PASSWORD_FILE"), what)


def from_environment(environment):
    """The keys `make sign` signs with."""
    has_certificate = any(environment.get(name) for name in ("SIGN_PKCS12", "SIGN_PKCS11_MODULE"))
    if not has_certificate and not environment.get("MINISIGN_KEY"):
        raise Refused("nothing to sign with: name a code-signing key (SIGN_PKCS12 or "
                      "SIGN_PKCS11_MODULE) or the release key MINISIGN_KEY")
    for variable, path in paths(environment).items():
        if variable in INPUTS and path:
            inputs.check(path, variable, INPUTS[variable])
    return Keys(certificate(environment) if has_certificate else None,
                environment.get("SIGN_TIMESTAMP_URL") or None, authorities(environment),
                minisign(environment) if environment.get("MINISIGN_KEY") else None)
