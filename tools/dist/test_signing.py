"""A release signed with throwaway keys made here, in a temporary folder, and deleted after: a
certificate authority with a code-signing certificate, as a PKCS#12 file and on a SoftHSM2
token, and a minisign key. The signed programs verify against that authority; their detached
signatures, attached to the unsigned build, give the same bytes; removing a signature gives back
the unsigned build; a changed byte, another key, or a changed line of the sums fails."""
import http.server
import os
import pathlib
import shutil
import subprocess
import tempfile
import threading
import unittest

from built_trees import REPO, release, trees, version
from release import Refused, authenticode, names, sign, sums_signature

SOFTHSM = "/usr/lib/softhsm/libsofthsm2.so"
EXTENSIONS = "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n" \
             "extendedKeyUsage=critical,{}\n"
TIME_STAMP_AUTHORITY = """\
[ tsa ]
default_tsa = throwaway
[ throwaway ]
serial = {folder}/serial
signer_cert = {folder}/tsa.pem
signer_key = {folder}/tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256
accuracy = secs:1
ess_cert_id_alg = sha256
"""


def openssl(*arguments, cwd):
    subprocess.run(["openssl", *arguments], cwd=cwd, check=True, capture_output=True)


def authority(work, name):
    """A throwaway certificate authority with a code-signing certificate and a time-stamping
    one that it issued, as PEM files, and the first as a PKCS#12 file whose password is in
    password.txt."""
    folder = work / name
    folder.mkdir()
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out",
            "ca.pem", "-days", "2", "-subj", f"/CN={name} authority", "-addext",
            "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign",
            cwd=folder)
    for holder, purpose in (("signer", "codeSigning"), ("tsa", "timeStamping")):
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{holder}.key", "-out",
                f"{holder}.csr", "-subj", f"/CN={name} {holder}", cwd=folder)
        (folder / f"{holder}.ext").write_text(EXTENSIONS.format(purpose))
        openssl("x509", "-req", "-in", f"{holder}.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                "-CAcreateserial", "-days", "2", "-extfile", f"{holder}.ext", "-out",
                f"{holder}.pem", cwd=folder)
    (folder / "password.txt").write_text("throwaway pkcs12 password\n")
    openssl("pkcs12", "-export", "-inkey", "signer.key", "-in", "signer.pem", "-certfile",
            "ca.pem", "-passout", "file:password.txt", "-out", "signer.p12", cwd=folder)
    return folder


def token(work, pki):
    """A SoftHSM2 token holding the signer's key and certificate; its PIN is in pin.txt. The
    PINs reach p11tool through its environment, not its command line."""
    folder = work / "token"
    (folder / "objects").mkdir(parents=True)
    (folder / "softhsm2.conf").write_text(f"directories.tokendir = {folder / 'objects'}\n"
                                          "objectstore.backend = file\n")
    pin = "4711"
    (folder / "pin.txt").write_text(pin + "\n")
    environment = dict(os.environ, SOFTHSM2_CONF=str(folder / "softhsm2.conf"),
                       GNUTLS_PIN=pin, GNUTLS_SO_PIN="8642")
    p11tool = ["p11tool", "--provider", SOFTHSM, "--batch"]
    for arguments in (["--initialize", "pkcs11:model=SoftHSM%20v2", "--label", "throwaway"],
                      ["--initialize-pin", "pkcs11:token=throwaway"],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "signer",
                       "--id", "01", "--load-privkey", str(pki / "signer.key")],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "signer",
                       "--id", "01", "--load-certificate", str(pki / "signer.pem")]):
        subprocess.run(p11tool + arguments, env=environment, check=True, capture_output=True,
                       stdin=subprocess.DEVNULL)
    return folder


class TimeStamps(http.server.BaseHTTPRequestHandler):
    """An RFC 3161 time-stamp server over HTTP, answering with `openssl ts -reply`."""
    config = None

    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", str(self.config),
                                "-queryfile", "/dev/stdin", "-out", "/dev/stdout"],
                               input=query, capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *arguments):
        pass


def verifies(exe, ca_file):
    return subprocess.run(["osslsigncode", "verify", "-CAfile", str(ca_file), "-in", str(exe)],
                          capture_output=True).returncode == 0


def pkcs12_environment(pki):
    return {"SIGN_PKCS12": str(pki / "signer.p12"),
            "SIGN_PASSWORD_FILE": str(pki / "password.txt"), "SIGN_CA_FILE": str(pki / "ca.pem")}


def exe_of(out, arch):
    return out / names.stem(version(), arch) / names.EXE


class SignedRelease(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory(prefix="hotkeys-signing-")
        cls.work = pathlib.Path(cls.directory.name)
        cls.pki = authority(cls.work, "throwaway")
        cls.other_pki = authority(cls.work, "other")
        cls.unsigned = release(cls.work / "unsigned")
        cls.signed = cls.work / "signed"
        shutil.copytree(cls.unsigned, cls.signed)
        sign.sign_programs(cls.signed, REPO, trees(), pkcs12_environment(cls.pki))
        cls.rebuilt = release(cls.work / "rebuilt", signatures=cls.signed,
                              ca_file=cls.pki / "ca.pem")

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def test_both_signed_programs_verify_against_the_authority(self):
        for arch, _, _ in trees():
            with self.subTest(arch=arch):
                self.assertTrue(verifies(exe_of(self.signed, arch), self.pki / "ca.pem"))
                self.assertFalse(verifies(exe_of(self.unsigned, arch), self.pki / "ca.pem"))

    def test_the_detached_signatures_attached_to_a_fresh_build_give_the_same_bytes(self):
        sums = (self.signed / names.SUMS).read_text()
        self.assertEqual((self.rebuilt / names.SUMS).read_text(), sums)
        self.assertNotEqual((self.unsigned / names.SUMS).read_text(), sums)
        for arch, _, _ in trees():
            self.assertIn(f"  {names.signature(version(), arch)}\n", sums)

    def test_only_the_unsigned_release_that_was_built_is_signed(self):
        with self.assertRaisesRegex(Refused, "is not the unsigned program built in"):
            sign.sign_programs(self.signed, REPO, trees(), pkcs12_environment(self.pki))

    def test_removing_the_signature_gives_back_the_unsigned_build_byte_for_byte(self):
        for arch, _, _ in trees():
            with self.subTest(arch=arch):
                self.assertEqual(authenticode.remove(exe_of(self.signed, arch)),
                                 exe_of(self.unsigned, arch).read_bytes())

    def test_a_changed_byte_or_a_signature_by_another_key_fails(self):
        exe = exe_of(self.signed, "win64")
        changed = self.work / "changed.exe"
        data = bytearray(exe.read_bytes())
        data[0x400] ^= 1
        changed.write_bytes(data)
        other = self.work / "other.exe"
        other.write_bytes(authenticode.attach(
            exe_of(self.unsigned, "win64"),
            self.signature_by(pkcs12_environment(self.other_pki), "win64"),
            self.other_pki / "ca.pem"))
        for name, program in (("a changed byte", changed), ("another key", other)):
            with self.subTest(name):
                self.assertFalse(verifies(program, self.pki / "ca.pem"))
        unsigned_changed = self.work / "unsigned-changed.exe"
        unsigned_changed.write_bytes(data)
        with self.assertRaisesRegex(Refused, "attach-signature failed"):
            authenticode.attach(unsigned_changed,
                                self.signed / names.signature(version(), "win64"),
                                self.pki / "ca.pem")

    def signature_by(self, environment, arch):
        signature = self.work / f"{arch}.pem"
        signature.write_bytes(authenticode.sign(exe_of(self.unsigned, arch),
                                                authenticode.key_arguments(environment),
                                                environment.get("SIGN_TIMESTAMP_URL")))
        return signature

    def test_a_key_on_a_pkcs11_token_signs_with_its_pin_from_a_file(self):
        folder = token(self.work, self.pki)
        environment = {"SIGN_PKCS11_MODULE": SOFTHSM,
                       "SIGN_PKCS11_KEY": "pkcs11:token=throwaway;object=signer;type=private",
                       "SIGN_PIN_FILE": str(folder / "pin.txt")}
        os.environ["SOFTHSM2_CONF"] = str(folder / "softhsm2.conf")
        try:
            signature = self.signature_by(environment, "win32")
        finally:
            del os.environ["SOFTHSM2_CONF"]
        self.assertNotIn("4711", " ".join(authenticode.key_arguments(environment)))
        program = self.work / "token-signed.exe"
        program.write_bytes(authenticode.attach(exe_of(self.unsigned, "win32"), signature,
                                                self.pki / "ca.pem"))
        self.assertTrue(verifies(program, self.pki / "ca.pem"))

    def test_a_time_stamp_from_the_named_server_is_signed_in(self):
        (self.pki / "tsa.cnf").write_text(TIME_STAMP_AUTHORITY.format(folder=self.pki))
        handler = type("Handler", (TimeStamps,), {"config": self.pki / "tsa.cnf"})
        with http.server.HTTPServer(("127.0.0.1", 0), handler) as server:
            threading.Thread(target=server.serve_forever, daemon=True).start()
            url = f"http://127.0.0.1:{server.server_address[1]}"
            signature = self.signature_by({**pkcs12_environment(self.pki),
                                           "SIGN_TIMESTAMP_URL": url}, "win64")
            server.shutdown()
        program = self.work / "time-stamped.exe"
        program.write_bytes(authenticode.attach(exe_of(self.unsigned, "win64"), signature,
                                                self.pki / "ca.pem"))
        checked = subprocess.run(["osslsigncode", "verify", "-CAfile", self.pki / "ca.pem",
                                  "-TSA-CAfile", self.pki / "ca.pem", "-in", program],
                                 capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout)
        self.assertIn("Timestamp Server Signature verification: ok", checked.stdout)

    def test_a_key_is_named_whole_and_without_its_secret(self):
        pin_file = str(self.pki / "password.txt")
        cases = {
            "no key": ({}, "name one key"),
            "two keys": ({"SIGN_PKCS12": "a.p12", "SIGN_PKCS11_MODULE": SOFTHSM}, "name one key"),
            "no password": ({"SIGN_PKCS12": "a.p12"}, "SIGN_PASSWORD_FILE is not set"),
            "a missing PIN file": ({"SIGN_PKCS11_MODULE": SOFTHSM, "SIGN_PKCS11_KEY":
                                    "pkcs11:object=k", "SIGN_PIN_FILE": "/nonexistent"},
                                   "SIGN_PIN_FILE names no file"),
            "the PIN in the URI": ({"SIGN_PKCS11_MODULE": SOFTHSM, "SIGN_PKCS11_KEY":
                                    "pkcs11:object=k?pin-value=4711", "SIGN_PIN_FILE": pin_file},
                                   "without its PIN"),
            "no URI": ({"SIGN_PKCS11_MODULE": SOFTHSM, "SIGN_PKCS11_KEY": "k.pem",
                        "SIGN_PIN_FILE": pin_file}, "a PKCS#11 URI"),
        }
        for name, (environment, refusal) in cases.items():
            with self.subTest(name), self.assertRaisesRegex(Refused, refusal):
                authenticode.key_arguments(environment)

    def test_the_sums_signed_with_minisign_verify_and_a_changed_line_fails(self):
        folder = self.work / "minisign"
        folder.mkdir()
        password = "throwaway minisign password\n"
        (folder / "password.txt").write_text(password)
        # Deriving a key from a password takes seconds on purpose: the other key has none.
        for name, options, answers in (("release", [], password * 2), ("other", ["-W"], "")):
            subprocess.run(["minisign", "-G", *options, "-p", f"{name}.pub", "-s", f"{name}.key"],
                           cwd=folder, input=answers.encode(), check=True, capture_output=True)
        sign.sign_sums(self.signed, {"MINISIGN_KEY": str(folder / "release.key"),
                                     "MINISIGN_PASSWORD_FILE": str(folder / "password.txt")},
                       folder / "release.pub")
        self.assertTrue(sums_signature.verify(self.signed, folder / "release.pub"))
        self.assertFalse(sums_signature.verify(self.signed, folder / "other.pub"))
        sums = self.signed / names.SUMS
        original = sums.read_text()
        sums.write_text(("1" if original[0] != "1" else "2") + original[1:])
        try:
            self.assertFalse(sums_signature.verify(self.signed, folder / "release.pub"))
        finally:
            sums.write_text(original)
        with self.assertRaisesRegex(Refused, "not the release key"):
            sign.sign_sums(self.signed, {"MINISIGN_KEY": str(folder / "other.key")},
                           folder / "release.pub")

if __name__ == "__main__":
    unittest.main()
