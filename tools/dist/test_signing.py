"""A release signed with throwaway keys made here, in a temporary folder, and deleted after: a
certificate authority with a code-signing certificate, as a PKCS#12 file and on a SoftHSM2
token, and a minisign key. The signed programs verify against that authority; their detached
signatures, attached to the unsigned build, give the same bytes; removing a signature gives back
the unsigned build; a changed byte, another key, or a changed line of the sums fails. A signing
refused, as `make sign` runs it, for a bad input, a release that `make dist` did not build, a
dist/ it may not replace or a signal says why in its last line, leaves the release as it was and
leaves no secret behind, in its output, on a disk or on a command line; each runs in a clone
whose path holds a space, quotes, a non-ASCII letter and words a shell would run. Each password
file has a second line, which no tool may take for part of the password."""
import contextlib
import hashlib
import http.server
import os
import pathlib
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from built_trees import REPO, release, trees, version
from release import Refused, authenticode, key_uri, keys, manifests, names, sign, sums_signature

HERE = pathlib.Path(__file__).parent
SOFTHSM = "/usr/lib/softhsm/libsofthsm2.so"
PKCS12_PASSWORD, PIN, MINISIGN_PASSWORD = "throwaway pkcs12 password", "4711-0815", \
    "throwaway minisign password"
SECRETS = (PKCS12_PASSWORD, PIN, MINISIGN_PASSWORD)
# Every command the signing runs, written with its arguments to $HOTKEYS_TEST_COMMANDS first.
RECORDED = "#!/bin/sh\nprintf '%s\\n' \"$0 $*\" >>\"$HOTKEYS_TEST_COMMANDS\"\nexec {} \"$@\"\n"
RELEASE_URL = "https://hotkeys.example/download"
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


def authority(work, name, days=2, purpose="codeSigning"):
    """A throwaway certificate authority with a signer's certificate (for `purpose`, valid for
    `days`) and a time-stamping one that it issued, as PEM files, and the first as a PKCS#12
    file whose password is in password.txt."""
    folder = work / name
    folder.mkdir()
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out",
            "ca.pem", "-days", "2", "-subj", f"/CN={name} authority", "-addext",
            "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign",
            cwd=folder)
    for holder, purpose, days in (("signer", purpose, days), ("tsa", "timeStamping", 2)):
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{holder}.key", "-out",
                f"{holder}.csr", "-subj", f"/CN={name} {holder}", cwd=folder)
        (folder / f"{holder}.ext").write_text(EXTENSIONS.format(purpose))
        openssl("x509", "-req", "-in", f"{holder}.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                "-CAcreateserial", "-days", str(days), "-extfile", f"{holder}.ext", "-out",
                f"{holder}.pem", cwd=folder)
    (folder / "password.txt").write_text(f"{PKCS12_PASSWORD}\nnot part of it\n")
    openssl("pkcs12", "-export", "-inkey", "signer.key", "-in", "signer.pem", "-certfile",
            "ca.pem", "-passout", "file:password.txt", "-out", "signer.p12", cwd=folder)
    return folder


def token(work, pki, other_pki):
    """A SoftHSM2 token holding the signer's key and certificate, and under the label
    "mismatched" the same key beside another authority's certificate; its PIN is in pin.txt.
    The PINs reach p11tool through its environment, not its command line."""
    folder = work / "token"
    (folder / "objects").mkdir(parents=True)
    (folder / "softhsm2.conf").write_text(f"directories.tokendir = {folder / 'objects'}\n"
                                          "objectstore.backend = file\n")
    (folder / "pin.txt").write_text(PIN + "\nnot part of it\n")
    environment = dict(os.environ, SOFTHSM2_CONF=str(folder / "softhsm2.conf"),
                       GNUTLS_PIN=PIN, GNUTLS_SO_PIN="8642")
    p11tool = ["p11tool", "--provider", SOFTHSM, "--batch"]
    for arguments in (["--initialize", "pkcs11:model=SoftHSM%20v2", "--label", "throwaway"],
                      ["--initialize-pin", "pkcs11:token=throwaway"],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "signer",
                       "--id", "01", "--load-privkey", str(pki / "signer.key")],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "signer",
                       "--id", "01", "--load-certificate", str(pki / "signer.pem")],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "mismatched",
                       "--id", "02", "--load-privkey", str(pki / "signer.key")],
                      ["--login", "--write", "pkcs11:token=throwaway", "--label", "mismatched",
                       "--id", "02", "--load-certificate", str(other_pki / "signer.pem")]):
        subprocess.run(p11tool + arguments, env=environment, check=True, capture_output=True,
                       stdin=subprocess.DEVNULL)
    return folder


def minisign_keys(work):
    """The release key, with a password, and another key without one."""
    folder = work / "minisign"
    folder.mkdir()
    password = MINISIGN_PASSWORD + "\n"
    (folder / "password.txt").write_text(password + "not part of it\n")
    # Deriving a key from a password takes seconds on purpose: the other key has none.
    for name, options, answers in (("release", [], password * 2), ("other", ["-W"], "")):
        subprocess.run(["minisign", "-G", *options, "-p", f"{name}.pub", "-s", f"{name}.key"],
                       cwd=folder, input=answers.encode(), check=True, capture_output=True)
    return folder


def digests(folder):
    return {path.relative_to(folder): hashlib.sha256(path.read_bytes()).hexdigest()
            for path in sorted(folder.rglob("*")) if path.is_file()}


# `python3 -m release COMMAND .`, as `make sign` (COMMAND sign) and `make dist` (build) run it.
# With "full" for its first argument, the disk fills up as the first zip is written.
MAKE_SIGN = """\
import contextlib, errno, os, runpy, sys, unittest.mock
from release import dist
full = OSError(errno.ENOSPC, os.strerror(errno.ENOSPC))
with unittest.mock.patch.object(dist, "write_zip", side_effect=full) \\
        if sys.argv[1] == "full" else contextlib.nullcontext():
    sys.argv = ["release", sys.argv[2], "."]
    runpy.run_module("release", run_name="__main__")
"""


def tamper(out):
    """Changes a zip and an exe of the release in `out` and its sums to match."""
    sums = (out / names.SUMS).read_text()
    for arch_file in (f"{names.stem(version(), 'win64')}.zip",
                      f"{names.stem(version(), 'win64')}/{names.EXE}"):
        path = out / arch_file
        old = hashlib.sha256(path.read_bytes()).hexdigest()
        path.write_bytes(path.read_bytes() + b"\0")
        sums = sums.replace(old, hashlib.sha256(path.read_bytes()).hexdigest())
    (out / names.SUMS).write_text(sums)


def secrets_in(folder):
    """The files under `folder` that hold a password or PIN of the tests, links not followed."""
    files = [pathlib.Path(root, name) for root, _, names_ in os.walk(folder) for name in names_]
    return [path for path in files if not path.is_symlink() and path.is_file() and
            any(secret.encode() in path.read_bytes() for secret in SECRETS)]


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


def authorities(pki):
    return keys.authorities({"SIGN_CA_FILE": str(pki / "ca.pem")})


def exe_of(out, arch):
    return out / names.stem(version(), arch) / names.EXE


class SignedRelease(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory(prefix="hotkeys-signing-")
        cls.work = pathlib.Path(cls.directory.name)
        cls.pki = authority(cls.work, "throwaway")
        cls.other_pki = authority(cls.work, "other")
        cls.minisign = minisign_keys(cls.work)
        cls.token = token(cls.work, cls.pki, cls.other_pki)
        os.environ["SOFTHSM2_CONF"] = str(cls.token / "softhsm2.conf")
        # Made by a releaser who lets every file be written by all (umask 000).
        umask = os.umask(0)
        try:
            cls.unsigned = release(cls.work / "unsigned", release_url=RELEASE_URL)
            cls.signed = cls.work / "signed"
            shutil.copytree(cls.unsigned, cls.signed)
            sign.sign(cls.signed, REPO, trees(), {**pkcs12_environment(cls.pki),
                                                  **cls.minisign_environment("release.key")},
                      None, cls.minisign / "release.pub")
        finally:
            os.umask(umask)
        cls.rebuilt = release(cls.work / "rebuilt", signatures=cls.signed,
                              authorities=authorities(cls.pki))
        cls.clones = cls.work / "my rel ü 'q' \"d\" x echo INJECTED"
        cls.clones.mkdir()
        cls.recorded = cls.work / "recorded"
        cls.recorded.mkdir()
        for tool in ("osslsigncode", "minisign"):
            (cls.recorded / tool).write_text(RECORDED.format(shutil.which(tool)))
            (cls.recorded / tool).chmod(0o755)

    @classmethod
    def tearDownClass(cls):
        del os.environ["SOFTHSM2_CONF"]
        cls.directory.cleanup()

    @classmethod
    def minisign_environment(cls, key):
        return {"MINISIGN_KEY": str(cls.minisign / key),
                "MINISIGN_PASSWORD_FILE": str(cls.minisign / "password.txt")}

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

    def test_the_release_signed_or_not_has_its_modes_whatever_the_umask(self):
        for folder in (self.unsigned, self.signed):
            modes = {oct(path.stat().st_mode & 0o7777) for path in folder.rglob("*")}
            self.assertEqual(modes, {"0o644", "0o755"}, folder)

    def test_the_manifests_stay_and_name_the_signed_zips(self):
        self.assertEqual(manifests.release_url_of(self.signed), RELEASE_URL)
        self.assertNotEqual(digests(self.signed / "scoop"), digests(self.unsigned / "scoop"))

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
            authorities(self.other_pki)))
        for name, program in (("a changed byte", changed), ("another key", other)):
            with self.subTest(name):
                self.assertFalse(verifies(program, self.pki / "ca.pem"))
        unsigned_changed = self.work / "unsigned-changed.exe"
        unsigned_changed.write_bytes(data)
        with self.assertRaisesRegex(Refused, "attach-signature failed"):
            authenticode.attach(unsigned_changed,
                                self.signed / names.signature(version(), "win64"),
                                authorities(self.pki))

    def signature_by(self, environment, arch):
        signature = self.work / f"{arch}.pem"
        signature.write_bytes(authenticode.sign(exe_of(self.unsigned, arch),
                                                keys.certificate(environment),
                                                environment.get("SIGN_TIMESTAMP_URL")))
        return signature

    def token_environment(self, pin_file="pin.txt", label="signer"):
        return {"SIGN_PKCS11_MODULE": SOFTHSM,
                "SIGN_PKCS11_KEY": f"pkcs11:token=throwaway;object={label};type=private",
                "SIGN_PIN_FILE": str(self.token / pin_file)}

    def test_a_key_on_a_pkcs11_token_signs_with_its_pin_from_a_file(self):
        environment = self.token_environment()
        signature = self.signature_by(environment, "win32")
        self.assertNotIn(PIN, " ".join(keys.certificate(environment).arguments))
        program = self.work / "token-signed.exe"
        program.write_bytes(authenticode.attach(exe_of(self.unsigned, "win32"), signature,
                                                authorities(self.pki)))
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
                                                authorities(self.pki)))
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
            "no URI": ({"SIGN_PKCS11_MODULE": SOFTHSM, "SIGN_PKCS11_KEY": "k.pem",
                        "SIGN_PIN_FILE": pin_file}, "a PKCS#11 URI"),
        }
        for name, (environment, refusal) in cases.items():
            with self.subTest(name), self.assertRaisesRegex(Refused, refusal):
                keys.certificate(environment)
        self.assertEqual(key_uri.certificate("pkcs11:token=t;type=private;object=k?module-name=m"),
                         "pkcs11:token=t;object=k;type=cert?module-name=m")

    def test_a_pin_or_an_attribute_rfc_7512_lacks_is_refused_and_never_repeated(self):
        unknown = {"object=k;pin=4711": '"pin" in its path', "object=k;pin-valeu=4711":
                   '"pin-valeu" in its path', "object=k;pin%00-value=4711": '"pin%00-value"',
                   "object=k?x-pin=4711": '"x-pin" in its query', "object=k?token=4711":
                   '"token" in its query', "object=k;4711": 'without "="',
                   "object=k;4711 4711=k": "not plain text", "object=4711 k": "value of object",
                   "object=%" + "25" * 5 + "34711": "percent-encoded more than 4 times"}
        for uri, refusal in unknown.items():
            with self.subTest(uri):
                with self.assertRaisesRegex(Refused, refusal) as refused:
                    key_uri.checked("pkcs11:" + uri)
                self.assertNotIn("4711", str(refused.exception))
        for uri in ("pin-value=4711;object=k", "object=k;type=private;pin-value=4711",
                    "object=k?pin-value=4711", "object=k;type=private?&pin-value=4711",
                    "object=k?module-name=softhsm2&pin-value=4711", "object=k;pin%2Dvalue=4711",
                    "object=k?pin-source=file:%2Ftmp%2F4711", "object=k?PIN-VALUE=4711",
                    # As the token library osslsigncode loads splits them: "&" in the path,
                    # ";" in the query.
                    "token=throwaway;object=signer&pin-value=4711;type=private",
                    "object=k;type=private?module-name=softhsm2;pin-value=4711"):
            with self.subTest(uri):
                with self.assertRaisesRegex(Refused, "carries the token's PIN") as refusal:
                    keys.certificate({**self.token_environment(),
                                      "SIGN_PKCS11_KEY": "pkcs11:" + uri})
                self.assertNotIn("4711", str(refusal.exception))

    def clone(self, source):
        """A folder laid out as `make sign` finds the repository, with a copy of `source` as
        dist/, the release key's public half, and the Makefile and tools of this one."""
        repo = pathlib.Path(tempfile.mkdtemp(prefix="clone-", dir=self.clones))
        sources = repo / "build" / "dist" / "src"
        (sources / "build").mkdir(parents=True)
        for name in ("tools", "LICENSE"):
            (sources / name).symlink_to(REPO / name)
        for arch, _, tree in trees():
            (sources / "build" / arch).symlink_to(tree)
        for name in ("Makefile", "tools"):
            (repo / name).symlink_to(REPO / name)
        shutil.copyfile(self.minisign / "release.pub", repo / "minisign.pub")
        shutil.copytree(source, repo / "dist")
        return repo

    def started(self, repo, environment, command="sign", fault="-", typed=None):
        """`make sign`'s command (`make dist`'s for "build", `make sign` itself for "make") run
        in `repo` as a releaser who is not root, with no terminal, or at one where `typed`
        (prompt, text) is typed at the prompt; both streams go to its stdout."""
        # Neither the keys of this run nor the make that runs the tests (`make check`) is the
        # releaser's.
        environment = {**{name: value for name, value in os.environ.items()
                          if not name.startswith(("SIGN_", "MINISIGN_", "MAKE", "MFLAGS"))},
                       "PYTHONPATH": str(HERE), "PYTHONDONTWRITEBYTECODE": "1",
                       "TMPDIR": str(repo / "tmp"), "PATH": f"{self.recorded}:{os.environ['PATH']}",
                       "HOTKEYS_TEST_COMMANDS": str(self.work / f"{repo.name}.commands"),
                       **environment}
        (repo / "tmp").mkdir(exist_ok=True)
        arguments = ["make", "-s", "sign"] if command == "make" else \
            [sys.executable, "-c", MAKE_SIGN, fault, command]
        if typed is not None:
            arguments = ["script", "-qec", shlex.join(arguments), "/dev/null"]
        if os.geteuid() == 0:
            arguments = ["setpriv", "--bounding-set=-dac_override,-dac_read_search", *arguments]
        return subprocess.Popen(arguments, cwd=repo, env=environment, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                start_new_session=True)

    @staticmethod
    def reached(process, repo, entry):
        """Waits until that entry of the signing folder exists, or the process has ended."""
        while process.poll() is None and not list(repo.glob(f".dist-signing*/{entry}")):
            time.sleep(0.02)

    def make_sign(self, repo, environment, typed=None, stop=None, **options):
        """Runs started(); with `stop` (signal, entry), the signal is sent once that entry of
        the signing folder exists. Returns the exit code and the output."""
        with self.started(repo, environment, typed=typed, **options) as process:
            if stop:
                self.reached(process, repo, stop[1])
                process.send_signal(stop[0])
            output = b""
            while typed and typed[0].encode() not in output and \
                    select.select([process.stdout], [], [], 300)[0]:
                chunk = os.read(process.stdout.fileno(), 4096)
                if not chunk:
                    break
                output += chunk
            if typed:
                process.stdin.write(typed[1].encode())
            output += process.communicate(timeout=600)[0]
        return process.returncode, output.decode().replace("\r", "")

    @contextlib.contextmanager
    def paused(self, repo, environment):
        """A `make sign` in `repo` stopped (SIGSTOP) as it signs, and for good (SIGTERM) after."""
        with self.started(repo, environment) as process:
            self.reached(process, repo, "signatures")
            process.send_signal(signal.SIGSTOP)
            try:
                yield
            finally:
                process.send_signal(signal.SIGTERM)
                process.send_signal(signal.SIGCONT)
                process.communicate(timeout=600)

    def test_a_refused_signing_says_why_last_and_leaves_the_release_as_it_was(self):
        pkcs12 = pkcs12_environment(self.pki)
        (self.work / "wrong.txt").write_text("wrong\n")
        wrong = str(self.work / "wrong.txt")
        expired = authority(self.work, "expired", days=-1)
        end = subprocess.run(["openssl", "x509", "-noout", "-enddate", "-in",
                              expired / "signer.pem"], capture_output=True, text=True).stdout
        openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=self.pki)
        minisign_alone = {"MINISIGN_KEY": str(self.minisign / "release.key")}
        stem = names.stem(version(), "win64")
        kill_first = {"stop": (signal.SIGKILL, "signatures"), "environment": pkcs12}
        token = self.token_environment()
        fifo, long_line, empty = self.work / "fifo", self.work / "long.txt", self.work / "empty"
        os.mkfifo(fifo)
        long_line.write_bytes(b"x" * 131072 + b"\n")
        empty.write_bytes(b"")
        removed = "removed .dist-signing/ beside dist/, which a stopped `make sign` left"

        def leftover(out, change, make):
            change()
            make(out.parent / ".dist-signing")

        def with_read_only_folder(folder):
            (folder / "release" / "inner").mkdir(parents=True)
            (folder / "release").chmod(0o555)
        cases = {
            "no key file": ({**pkcs12, "SIGN_PKCS12": "/no.p12"}, "no such key file: /no.p12"),
            "no CA file": ({**pkcs12, "SIGN_CA_FILE": "/no.pem"}, "no such CA file: /no.pem"),
            "no PIN file": ({**self.token_environment("none")}, "no such PIN file"),
            "no minisign key": ({"MINISIGN_KEY": "/no.key"}, r"no such key file: /no.key \(MINI"),
            "a folder": ({**pkcs12, "SIGN_PASSWORD_FILE": str(self.work)},
                         "cannot read the password file"),
            "wrong password": ({**pkcs12, "SIGN_PASSWORD_FILE": wrong},
                               "wrong password for the key file"),
            "wrong PIN": ({**self.token_environment(), "SIGN_PIN_FILE": wrong}, "wrong PIN for"),
            "expired": (pkcs12_environment(expired),
                        "the certificate expired on " + " ".join(end.partition("=")[2].split())),
            "not for code signing": (pkcs12_environment(authority(self.work, "tls", purpose=
                                     "serverAuth")), "the certificate is not for code signing"),
            "no CA given": ({**pkcs12, "SIGN_CA_FILE": ""},
                            "the certificate's issuer is not trusted: give SIGN_CA_FILE"),
            "wrong minisign password": ({**pkcs12, **self.minisign_environment("release.key"),
                                         "MINISIGN_PASSWORD_FILE": wrong},
                                        "wrong password for the minisign key"),
            "not the release key": (self.minisign_environment("other.key"), "not the release key"),
            "an unreachable time-stamp server": (
                {**pkcs12, "SIGN_TIMESTAMP_URL": "http://127.0.0.1:1"},
                r"no time stamp from http://127.0.0.1:1 \(SIGN_TIMESTAMP_URL\)"),
            "a key that does not match the certificate": (
                {**self.token_environment(label="mismatched"),
                 "SIGN_CA_FILE": str(self.other_pki / "ca.pem")},
                "the key does not match the certificate"),
            "a CA file that is not PEM": ({**pkcs12, "SIGN_CA_FILE": str(self.pki / "ca.der")},
                                          "ca.der holds no certificate in PEM"),
            "a full disk": (pkcs12, "no space left beside dist/", {"fault": "full"}),
            "a read-only dist/": (pkcs12, "dist/ is read-only for this user",
                                  {"change": lambda out: out.chmod(0o555)}),
            "a dist/ that is a link": (pkcs12, "dist/ is a symbolic link to elsewhere",
                                       {"change": lambda out: (out.rename(out.with_name(
                                           "elsewhere")), out.symlink_to("elsewhere"))}),
            "a signed release, to sign again": (pkcs12, rf"dist/{names.stem(version(), 'win32')}"
                                                r"\.authenticode\.pem is not part of the release",
                                                {"source": self.signed}),
            "a changed README.txt": (pkcs12, rf"dist/{stem}/README.txt differs from the file",
                                     {"change": lambda out: (out / stem / "README.txt")
                                      .write_text("changed")}),
            "a changed zip and exe, their sums to match": (
                self.minisign_environment("release.key"), rf"dist/{stem}\.zip differs",
                {"change": tamper}),
            "the release key's password, no terminal": (
                minisign_alone, "no terminal to ask for it on: name its file in "
                "MINISIGN_PASSWORD_FILE"),
            "the release key's password mistyped at the terminal": (
                minisign_alone, "wrong password for the minisign key .*release.key$",
                {"typed": (f"password of the minisign key {self.minisign / 'release.key'}: ",
                           "wrong\n")}),
            **{f"stopped by {stop.name}": (pkcs12, f"stopped by {stop.name}: dist/ is as it was",
                                           {"stop": (stop, entry)})
               for stop, entry in ((signal.SIGINT, "*"), (signal.SIGTERM, "signatures"),
                                   (signal.SIGHUP, "*"))},
            "killed with SIGKILL, then run again": (self.minisign_environment("other.key"),
                                                    "not the release key",
                                                    {"first": kill_first, "said": removed}),
            "SIGTERM to make, not to the signer": (pkcs12, "stopped by SIGTERM: dist/ is as it was",
                                                   {"command": "make", "code": -signal.SIGTERM,
                                                    "stop": (signal.SIGTERM, "signatures")}),
            "make dist as make sign signs": (pkcs12, "another `make dist` or `make sign` is "
                                             "writing dist/", {"command": "build",
                                                               "during": pkcs12}),
            "a password file that is a FIFO": ({**pkcs12, "SIGN_PASSWORD_FILE": str(fifo)},
                                               r"fifo \(SIGN_PASSWORD_FILE\): it is a FIFO, not"),
            "a CA file that is a FIFO": ({**pkcs12, "SIGN_CA_FILE": str(fifo)},
                                         r"CA file .*fifo \(SIGN_CA_FILE\): it is a FIFO"),
            "/dev/zero for a PIN file": ({**token, "SIGN_PIN_FILE": "/dev/zero"},
                                         r"PIN file /dev/zero \(SIGN_PIN_FILE\): it is a device"),
            "a password of 128 KiB": ({**pkcs12, "SIGN_PASSWORD_FILE": str(long_line)},
                                     "its first line is longer than 4096 bytes"),
            "an empty password file": ({**pkcs12, "SIGN_PASSWORD_FILE": str(empty)},
                                       r"empty \(SIGN_PASSWORD_FILE\) is empty"),
            "a PIN in a misspelled attribute": (
                {**token, "SIGN_PKCS11_KEY": f"{token['SIGN_PKCS11_KEY']};pin-valeu={PIN}"},
                '"pin-valeu" in its path, which RFC 7512 does not define'),
            "a key URI encoded over and over": (
                {**token, "SIGN_PKCS11_KEY": "pkcs11:object=%" + "25" * 5 + "73igner"},
                "percent-encoded more than 4 times over"),
            "no such key on the token": (self.token_environment(label="absent"),
                                         "no (certificate|private key) on the token at "
                                         "SIGN_PKCS11_KEY"),
            "a BUILDINFO without its time": (pkcs12, "BUILDINFO records no Version, Commit and "
                                             "Source-Date-Epoch", {"change": lambda out: (
                                                 out / "BUILDINFO").write_text((out / "BUILDINFO")
                                                 .read_text().replace("Epoch: ", "Epoch: 0x"))}),
            "a relative MINISIGN_KEY": ({"MINISIGN_KEY": "other.key"}, "not the release key",
                                        {"change": lambda out: shutil.copy(
                                            self.minisign / "other.key", out.parent)}),
            # Each with a leftover of a stopped run beside dist/, which goes first.
            "a file missing from dist/, .dist-signing a link to dist/": (
                pkcs12, rf"dist/{stem}/README.txt is missing, though `make dist` builds it",
                {"change": lambda out: leftover(out, (out / stem / "README.txt").unlink,
                                                lambda folder: folder.symlink_to("dist")),
                 "said": "removed .dist-signing beside dist/, a symbolic link"}),
            "an empty folder in dist/, .dist-signing a file": (
                pkcs12, "dist/empty/ is not part of the release",
                {"change": lambda out: leftover(out, (out / "empty").mkdir,
                                                lambda folder: folder.write_text("left")),
                 "said": "removed .dist-signing beside dist/, a file"}),
            "a FIFO in dist/, a read-only folder in .dist-signing/": (
                pkcs12, "dist/fifo is not part of the release",
                {"change": lambda out: leftover(out, lambda: os.mkfifo(out / "fifo"),
                                                with_read_only_folder), "said": removed}),
        }
        for name, (environment, refusal, *options) in cases.items():
            options = options[0] if options else {}
            with self.subTest(name):
                repo = self.clone(options.get("source", self.unsigned))
                options.get("change", lambda out: None)(repo / "dist")
                before = digests(repo / "dist")
                if "first" in options:
                    self.make_sign(repo, **options["first"])
                    self.assertTrue(list(repo.glob(".dist-signing*")))
                with self.paused(repo, options["during"]) if "during" in options else \
                        contextlib.nullcontext():
                    code, output = self.make_sign(
                        repo, environment, **{option: options[option] for option in
                                              ("command", "fault", "typed", "stop")
                                              if option in options})
                self.assertEqual(code, options.get("code", 1), output)
                lines = [line for line in output.splitlines() if not line.startswith("make: ")]
                self.assertRegex(lines[-1], refusal)
                self.assertIn(options.get("typed", ("",))[0], output)
                self.assertIn(options.get("said", ""), output)
                self.assertEqual(digests(repo / "dist"), before)
                self.assertEqual(list(repo.glob(".dist-signing*")), [])
                self.assertEqual(secrets_in(repo), [])
                commands = self.work / f"{repo.name}.commands"
                commands = commands.read_text() if commands.exists() else ""
                for secret in SECRETS:
                    self.assertNotIn(secret, output + commands)
                self.assertNotIn(environment.get("SIGN_PKCS11_KEY") or "\0", output)

    def test_the_sums_signed_with_minisign_verify_and_a_changed_line_fails(self):
        self.assertTrue(sums_signature.verify(self.signed, self.minisign / "release.pub"))
        self.assertFalse(sums_signature.verify(self.signed, self.minisign / "other.pub"))
        sums = self.signed / names.SUMS
        original = sums.read_text()
        sums.write_text(("1" if original[0] != "1" else "2") + original[1:])
        try:
            self.assertFalse(sums_signature.verify(self.signed, self.minisign / "release.pub"))
        finally:
            sums.write_text(original)


if __name__ == "__main__":
    unittest.main()
