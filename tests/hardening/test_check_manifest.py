"""The manifest check finds each fault that Windows would act on, in the committed manifest
changed one way at a time."""
import pathlib
import unittest

from check_manifest import faults

MANIFEST = (pathlib.Path(__file__).parents[2] / "resources" / "HotKeys.manifest").read_text()
VISUAL_STYLES = """<dependency><dependentAssembly><assemblyIdentity type="win32"
    name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*"
    publicKeyToken="6595b64144ccf1df" language="*"/></dependentAssembly></dependency>
</assembly>"""
WINDOWS_10 = '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'
DPI_2005 = 'xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings"'

# (what is changed, into what, a part of the fault reported or None for a harmless spelling)
CHANGES = [
    ('level="asInvoker"', 'level="requireAdministrator"', "requestedExecutionLevel"),
    ('uiAccess="false"', 'uiAccess="true"', "requestedExecutionLevel"),
    (WINDOWS_10, "", "Windows 10 and 11"),
    ("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", "8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A", None),
    (">false</dpiAware>", ">true</dpiAware>", "dpiAware is ['true']"),
    (">false</dpiAware>", ">False</dpiAware>", None),
    (DPI_2005, 'xmlns="urn:schemas-microsoft-com:asm.v3"', "where Windows ignores them"),
    (">unaware</dpiAwareness>", ">PerMonitorV2, unaware</dpiAwareness>", "dpiAwareness"),
    ("</assembly>", VISUAL_STYLES, "Microsoft.Windows.Common-Controls 6.0.0.0"),
    ("</assembly>", "", "not well-formed"),
]


class ManifestCheck(unittest.TestCase):
    def test_each_fault_is_found_and_harmless_spellings_pass(self):
        for old, new, fault in CHANGES:
            with self.subTest(old=old, new=new):
                self.assertIn(old, MANIFEST)
                found = faults(MANIFEST.replace(old, new).encode())
                if fault is None:
                    self.assertEqual(found, [])
                else:
                    self.assertTrue(any(fault in problem for problem in found), found)


if __name__ == "__main__":
    unittest.main()
