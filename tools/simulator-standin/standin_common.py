"""Shared parts of the simulator stand-ins: the call log and the simulated devices."""

import json
import os
import plistlib
import sys

STANDIN_DIR = os.path.dirname(os.path.realpath(__file__))

# One device per platform runtime; iOS has an older runtime too, so "newest" can be checked.
DEVICES = [
    ("iOS", "16.4", "iPhone 14", "6B1B7C1E-2A61-4C53-9B5A-0C0D8E1F2A01"),
    ("iOS", "17.2", "iPad Air (5th generation)", "A2C4E6F8-1B3D-4F5A-8C7E-9D0B1A2C3D02"),
    ("iOS", "17.2", "iPhone 15 Pro", "3F2504E0-4F89-41D3-9A0C-0305E82C3303"),
    ("tvOS", "17.2", "Apple TV 4K (3rd generation)", "7D444840-9DC0-11D1-B245-5FFDCE74FA04"),
    ("watchOS", "10.2", "Apple Watch Series 9 (45mm)", "9A7B3C2D-1E0F-4A5B-8C6D-7E8F9A0B1C05"),
    ("visionOS", "1.0", "Apple Vision Pro", "C1D2E3F4-A5B6-4C7D-8E9F-0A1B2C3D4E06"),
]


def log_call(tool, argv):
    """Appends one JSON line with the call and its SIMCTL_CHILD_* environment to $VELORANCE_STANDIN_LOG."""
    path = os.environ.get("VELORANCE_STANDIN_LOG")
    if not path:
        return
    env = {k: v for k, v in os.environ.items() if k.startswith("SIMCTL_CHILD_")}
    record = {"tool": tool, "argv": list(argv), "env": env, "cwd": os.getcwd()}
    with open(path, "a", encoding="utf-8") as handle:
        handle.write(json.dumps(record, sort_keys=True, ensure_ascii=False) + "\n")


def find_device(udid):
    for device in DEVICES:
        if device[3] == udid:
            return device
    return None


def fail(message, code=1):
    if message:
        sys.stderr.write(message + "\n")
    sys.exit(code)


def installed_path():
    """Where the apps installed on the devices are noted while a call log is written: beside it."""
    log = os.environ.get("VELORANCE_STANDIN_LOG")
    return log + ".installed" if log else None


def note_installed(udid, app):
    """Notes the app's CFBundleIdentifier as installed on the device ("?" when it has none)."""
    path = installed_path()
    if not path:
        return
    try:
        with open(os.path.join(app, "Info.plist"), "rb") as handle:
            identifier = plistlib.load(handle).get("CFBundleIdentifier")
    except Exception:  # no readable property list: an app of unknown identifier
        identifier = None
    with open(path, "a", encoding="utf-8") as handle:
        handle.write("%s %s\n" % (udid, identifier or "?"))


def is_installed(udid, bundle):
    """False only when the device's installs are all known and none is the bundle."""
    path = installed_path()
    if not path or not os.path.exists(path):
        return True
    with open(path, encoding="utf-8") as handle:
        apps = {line.split(" ", 1)[1] for line in handle.read().splitlines() if line.startswith(udid + " ")}
    return not apps or "?" in apps or bundle in apps


def not_installed_reason(bundle):
    return ("The operation couldn\u2019t be completed. Application info provider (FBSApplicationLibrary) "
            "returned nil for \"%s\"" % bundle)
