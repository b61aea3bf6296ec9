#!/usr/bin/python3
"""Copies a file's bytes to the CLIPBOARD selection with xclip and waits for the clip file.

    copy_and_wait.py SOURCE CLIP_FILE [TIMEOUT_SECONDS]

Succeeds once CLIP_FILE holds exactly the bytes of SOURCE, and prints the milliseconds from starting
xclip to that moment: the time from a copy to its clip file being written and closed, plus xclip's
own start. Fails when CLIP_FILE does not get those bytes within the timeout (10 s by default).
"""

import os
import subprocess
import sys
import time


def main():
    source, clip = sys.argv[1], sys.argv[2]
    timeout = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
    with open(source, "rb") as f:
        expected = f.read()
    start = time.monotonic()
    # xclip stays behind to serve the selection: it must not hold our caller's output open.
    subprocess.run(["xclip", "-selection", "clipboard", "-i", source], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while time.monotonic() - start < timeout:
        try:
            if os.path.getsize(clip) == len(expected):
                with open(clip, "rb") as f:
                    if f.read() == expected:
                        print(f"{(time.monotonic() - start) * 1000:.1f}")
                        return 0
        except FileNotFoundError:
            pass
        time.sleep(0.001)
    found = open(clip, "rb").read() if os.path.exists(clip) else None
    print(f"copy_and_wait.py: {clip} did not get the {len(expected)} bytes of {source} "
          f"(it has {'no file' if found is None else str(len(found)) + ' bytes'})", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
