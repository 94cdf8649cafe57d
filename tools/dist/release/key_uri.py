"""The PKCS#11 URI of a signing key on a token (RFC 7512): path attributes split by ";", then
after "?" query attributes split by "&", names and values percent-encoded. Read only as far as
signing needs: to refuse a URI that carries the token's PIN or any attribute RFC 7512 does not
define, and to name the certificate stored beside the key. What is left names a token and an
object on it, nothing secret, so the URI may stand on osslsigncode's command line."""

import re
import urllib.parse

from . import Refused

SCHEME = "pkcs11:"
PATH_ATTRIBUTES = ("id", "library-description", "library-manufacturer", "library-version",
                   "manufacturer", "model", "object", "serial", "slot-description", "slot-id",
                   "slot-manufacturer", "token", "type")
# RFC 7512's pin-source and pin-value are refused wherever they stand.
QUERY_ATTRIBUTES = ("module-name", "module-path")
PIN_ATTRIBUTES = ("pin-value", "pin-source")
# The characters of a value in the path and in the query (RFC 7512's pk11-pchar and
# pk11-qchar), but for "&" in the path, which a token library may take for a separator.
PATH_VALUE = r"(?:[A-Za-z0-9._~:\[\]@!$'()*+,=-]|%[0-9A-Fa-f]{2})*"
QUERY_VALUE = r"(?:[A-Za-z0-9._~:\[\]@!$'()*+,=/?|-]|%[0-9A-Fa-f]{2})*"
# Percent-encoding undone at most this often: each layer costs a pass over the URI.
LAYERS = 4


def parts(uri):
    """The path and the query attributes of `uri`, each as written."""
    path, _, query = uri.removeprefix(SCHEME).partition("?")
    return [a for a in path.split(";") if a], [a for a in query.split("&") if a]


def name(attribute):
    return attribute.partition("=")[0].lower()


def decoded(uri):
    """`uri` with its percent-encoding undone, LAYERS times over at most."""
    for _ in range(LAYERS):
        uri = urllib.parse.unquote(uri)
    if urllib.parse.unquote(uri) != uri:
        raise Refused(f"SIGN_PKCS11_KEY is percent-encoded more than {LAYERS} times over: "
                      "encode each character once")
    return uri.lower()


def shown(attribute_name):
    """An attribute's name as a refusal may repeat it: never a value, never unprintable."""
    if re.fullmatch(r"[A-Za-z0-9._~%-]{1,40}", attribute_name):
        return f'"{attribute_name}"'
    return "an attribute whose name is not plain text"


def check_attributes(part, text, names, value):
    """Refuses an attribute of the URI's `part` (its `text`) that RFC 7512 does not define
    there, naming it, never its value. Both separators split either part, as token libraries
    do."""
    for attribute in filter(None, re.split("[;&]", text)):
        attribute_name, equals, attribute_value = attribute.partition("=")
        if not equals:
            raise Refused(f"SIGN_PKCS11_KEY has an attribute without \"=\" in its {part}: "
                          "each is name=value")
        if attribute_name.lower() not in names:
            raise Refused(f"SIGN_PKCS11_KEY names {shown(attribute_name)} in its {part}, "
                          f"which RFC 7512 does not define there; its {part} attributes are "
                          + ", ".join(names))
        if not re.fullmatch(value, attribute_value):
            raise Refused(f"the value of {attribute_name} in SIGN_PKCS11_KEY has a character "
                          "RFC 7512 does not allow there: percent-encode it")


def checked(uri):
    """`uri`, refused when it is no PKCS#11 URI, names a PIN attribute anywhere or any
    attribute RFC 7512 does not define. Token libraries split a URI each their own way (one
    takes "&" inside the path, another ";" inside the query), so a PIN attribute is looked for
    in the whole text, decoded. A refused URI is never repeated: it may hold the PIN."""
    if not uri.startswith(SCHEME):
        raise Refused("SIGN_PKCS11_KEY must be a PKCS#11 URI (pkcs11:...)")
    pins = [pin for pin in PIN_ATTRIBUTES if pin in decoded(uri)]
    if pins:
        raise Refused(f"SIGN_PKCS11_KEY carries the token's PIN ({', '.join(pins)}): name the "
                      "key without it, the PIN comes from SIGN_PIN_FILE")
    path, _, query = uri.removeprefix(SCHEME).partition("?")
    check_attributes("path", path, PATH_ATTRIBUTES, PATH_VALUE)
    check_attributes("query", query, QUERY_ATTRIBUTES, QUERY_VALUE)
    return uri


def certificate(uri):
    """The URI of the certificate stored on the token beside the key at `uri`."""
    path, query = parts(uri)
    path = [a for a in path if name(a) != "type"] + ["type=cert"]
    return SCHEME + ";".join(path) + ("?" + "&".join(query) if query else "")
