"""The PKCS#11 URI of a signing key on a token (RFC 7512): path attributes split by ";", then
after "?" query attributes split by "&", names and values percent-encoded. Read only as far as
signing needs: to refuse a URI that carries the token's PIN, and to name the certificate stored
beside the key."""

import urllib.parse

from . import Refused

SCHEME = "pkcs11:"
PIN_ATTRIBUTES = ("pin-value", "pin-source")


def parts(uri):
    """The path and the query attributes of `uri`, each as written."""
    path, _, query = uri.removeprefix(SCHEME).partition("?")
    return [a for a in path.split(";") if a], [a for a in query.split("&") if a]


def name(attribute):
    return urllib.parse.unquote(attribute.partition("=")[0]).strip().lower()


def decoded(uri):
    """`uri` with every percent-encoding undone, however often it was applied."""
    while (plain := urllib.parse.unquote(uri)) != uri:
        uri = plain
    return uri.lower()


def checked(uri):
    """`uri`, refused when it is no PKCS#11 URI or names a PIN attribute anywhere: token
    libraries split a URI each their own way (one takes "&" inside the path, another ";" inside
    the query), so no reading of its structure is trusted. A refused URI is never repeated: it
    may hold the PIN."""
    if not uri.startswith(SCHEME):
        raise Refused("SIGN_PKCS11_KEY must be a PKCS#11 URI (pkcs11:...)")
    pins = [pin for pin in PIN_ATTRIBUTES if pin in decoded(uri)]
    if pins:
        raise Refused(f"SIGN_PKCS11_KEY carries the token's PIN ({', '.join(pins)}): name the "
                      "key without it, the PIN comes from SIGN_PIN_FILE")
    return uri


def certificate(uri):
    """The URI of the certificate stored on the token beside the key at `uri`."""
    path, query = parts(uri)
    path = [a for a in path if name(a) != "type"] + ["type=cert"]
    return SCHEME + ";".join(path) + ("?" + "&".join(query) if query else "")
