"""The tour of quillbox.exe under Wine, a screenshot per step (run by demo-windows.sh).

    demo-windows.py [--docs DIR] QUILLBOX_EXE HELPER_EXE WORK_DIR SHOTS_DIR

The same steps as demo.sh: copies, the tray menu, 設定 with 980304(水) and 自分で付ける, a typed file
name, the About box and 閉じる(&C). The hands are those of the Wine end-to-end suite (tests/e2e/wine):
real X clicks on the tray icon, keys into the menu, and its helper exe to find the dialogs' controls.
Each step is checked; the first that does not behave ends the tour with exit status 1, naming it.
"""

import datetime
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e", "wine"))
import e2e  # noqa: E402  (the suite's hands: its main() only runs as a script)

SHOT = os.path.join(HERE, "demo-shot.sh")
# Typed into the name prompt; each character gets a key of its own first (see map_keys).
TYPED_NAME = "買い物メモ"


class StepFailed(Exception):
    pass


class Tour:
    def __init__(self, shots, docs):
        self.shots = shots
        self.docs = docs
        self.number = 0
        self.name = ""
        self.title = ""

    def step(self, name, title):
        self.number += 1
        self.name = f"{self.number:02d}-{name}"
        self.title = title

    def shot(self, readme_name=None, windows=()):
        """The screenshot of this step; with --docs, also the README's picture of just those windows."""
        path = os.path.join(self.shots, self.name + ".png")
        if subprocess.run([SHOT, path]).returncode != 0:
            raise StepFailed("the screenshot could not be taken")
        if readme_name and self.docs and windows:
            if subprocess.run([SHOT, os.path.join(self.docs, readme_name + ".png"), *windows]).returncode != 0:
                raise StepFailed(f"the README picture {readme_name}.png could not be made")
        print(f"ok {self.number:02d} - {self.title} ({os.path.relpath(path, ROOT)})", flush=True)


def expect(condition, message):
    if not condition:
        raise StepFailed(message)
    return condition


def visible_windows(kind, value):
    result = e2e.run("xdotool", "search", "--onlyvisible", kind, value)
    return result.stdout.split()


def map_keys(text):
    """xdotool types a character the keyboard lacks by remapping a key just before pressing it, and a
    program that has not caught up with the new map drops it now and then: these get keys first."""
    keymap = e2e.run("xmodmap", "-pke").stdout.splitlines()
    free = [line.split()[1] for line in keymap if len(line.split()) == 3]
    for key, char in zip(free, text):
        e2e.run("xmodmap", "-e", f"keycode {key} = U{ord(char):04X}")


def listing(base):
    """The date directories under base and their files with sizes, as lines."""
    lines = []
    for directory in sorted(os.listdir(base)):
        lines.append(f"  {directory}/")
        for name in sorted(os.listdir(os.path.join(base, directory))):
            size = os.path.getsize(os.path.join(base, directory, name))
            lines.append(f"    {size:8d} bytes  {name}")
    return lines


def tour(quillbox, helper_exe, work, shots, docs):
    helper = e2e.Helper(helper_exe)
    days = e2e.date_dirs(datetime.date.today())
    base = os.path.join(work, "base")
    os.makedirs(base)
    os.makedirs(shots, exist_ok=True)
    for old in os.listdir(shots):
        if old.endswith(".png"):
            os.remove(os.path.join(shots, old))
    show = Tour(shots, docs)
    program = None
    try:
        map_keys(TYPED_NAME)

        show.step("tray", "quillbox.exe starts in a fresh prefix; its icon is in the Wine System Tray")
        program = subprocess.Popen([e2e.WINE, quillbox], cwd=base)
        e2e.wait_for(lambda: e2e.x_window("Wine System Tray") or program.poll() is not None)
        expect(program.poll() is None, f"quillbox.exe ended at its start (exit code {program.poll()})")
        tray = e2e.x_window("Wine System Tray")
        expect(tray is not None, "no icon in the Wine System Tray")
        # Set once Wine's own programs hold the display: Xvfb resets it when its last client leaves.
        e2e.run("xsetroot", "-solid", "#3a6ea5")
        time.sleep(0.5)
        show.shot()

        def saved(clip, path):
            e2e.wait_for(lambda: os.path.exists(path) and e2e.read(path) == clip)
            got = e2e.read(path) if os.path.exists(path) else None
            expect(got == clip, f"{os.path.relpath(path, base)} holds {got!r}, not {clip!r}")

        day = os.path.join(base, days[0])
        show.step("copies", f"three copies (ASCII, Japanese, several lines) become {days[0]}/1.txt, 2.txt, 3.txt")
        e2e.xclip_copy("Hello, Quillbox!")
        saved(b"Hello, Quillbox!", os.path.join(day, "1.txt"))
        e2e.xclip_copy("こんにちは、クリップボード。")
        saved("こんにちは、クリップボード。".encode("cp932"), os.path.join(day, "2.txt"))
        # From a Windows program, as CF_TEXT in the ANSI code page with CR LF line ends.
        lines = "一行目: first line\r\n二行目: second line\r\n三行目: third line\r\n".encode("cp932")
        helper("copy-ansi", lines.hex())
        saved(lines, os.path.join(day, "3.txt"))
        expect(sorted(os.listdir(day)) == ["1.txt", "2.txt", "3.txt"], f"{days[0]} holds {sorted(os.listdir(day))}")
        show.shot()

        def open_menu():
            e2e.press_tray_icon(helper)
            expect(helper("menu").returncode == 0, "a press on the icon did not pop up the menu")
            # Wine maps the menu's window a moment before its loop takes the keyboard.
            time.sleep(0.5)

        show.step("menu", "a click on the icon opens the menu: 設定, ﾊﾞｰｼｮﾝ情報(&A), 閉じる(&C)")
        open_menu()
        show.shot("tray-menu-windows", [tray, *visible_windows("--classname", "^quillbox.exe$")])

        show.step("settings", "設定 opens the settings dialog, showing the defaults 980304 and 番号順")
        e2e.run("xdotool", "key", "Down", "Return")
        controls = helper.controls("設定")
        expect(controls is not None, "設定 in the menu did not show the settings dialog")
        combos = [c for c in controls if c[0] == "combobox"]
        expect([c[3] for c in combos] == ["980304", "番号順(1,2,3,・・・)"], f"the lists show {combos}")
        time.sleep(0.3)
        show.shot()

        show.step("settings-chosen", "980304(水) and 自分で付ける are chosen from the lists")
        for combo in combos:
            e2e.click(*combo[2])
            time.sleep(0.5)
            e2e.run("xdotool", "key", "Down", "Return")
            time.sleep(0.5)
        combos = [c for c in helper.controls("設定") or [] if c[0] == "combobox"]
        expect([c[3] for c in combos] == ["980304(水)", "自分で付ける"], f"the lists show {combos}")
        show.shot("settings-windows", [e2e.x_window("設定")])

        show.step("saved", "設定完了! saves the choice in the registry and closes the dialog")
        e2e.click(*[c for c in controls if c[0] == "button" and c[1] == "設定完了!"][0][2])
        expect(e2e.wait_for(lambda: e2e.x_window("設定") is None), "設定完了! did not close the settings dialog")
        for key, value in (("Directory", "DNumber"), ("File", "FNumber")):
            got = e2e.registry_query(rf"HKCU\Software\Quillbox\{key}", value)
            expect(got == ("REG_SZ", "1"), f"the registry holds {value} = {got}, not REG_SZ 1")
        show.shot()

        show.step("prompt", "the next copy asks for a file name (ﾌｧｲﾙ名を付ける); a name is typed")
        named = "メモ: 牛乳、卵、パン"
        e2e.xclip_copy(named)
        prompt = helper.controls("ﾌｧｲﾙ名を付ける")
        expect(prompt is not None, "the copy did not show the file-name prompt")
        edit = [c for c in prompt if c[0] == "edit"]
        expect([c[1] for c in edit] == [""], f"the prompt's edit box is not empty: {edit}")
        e2e.click(*edit[0][2])
        e2e.run("xdotool", "type", "--delay", "50", TYPED_NAME)
        time.sleep(0.3)
        show.shot("prompt-windows", [e2e.x_window("ﾌｧｲﾙ名を付ける")])

        show.step("named", f"Enter saves the clip as {days[1]}/{TYPED_NAME}.txt")
        e2e.run("xdotool", "key", "Return")
        saved(named.encode("cp932"), os.path.join(base, days[1], TYPED_NAME + ".txt"))
        expect(e2e.wait_for(lambda: e2e.x_window("ﾌｧｲﾙ名を付ける") is None), "the prompt stayed open after Enter")
        show.shot()

        show.step("about", "ﾊﾞｰｼｮﾝ情報(&A) shows the About box")
        open_menu()
        e2e.run("xdotool", "key", "a")
        about = helper.controls("Version Infomation")
        expect(about is not None, "ﾊﾞｰｼｮﾝ情報(&A) did not show the About box")
        texts = [c[1] for c in about]
        expect("Quillbox" in texts and any(t.startswith("Version") for t in texts), f"the About box shows {texts}")
        time.sleep(0.3)
        show.shot()

        show.step("about-closed", "OK closes the About box")
        e2e.click(*[c for c in about if c[0] == "button" and c[1] == "OK"][0][2])
        expect(e2e.wait_for(lambda: e2e.x_window("Version Infomation") is None), "OK did not close the About box")
        show.shot()

        show.step("closing", "the menu again, to choose 閉じる(&C)")
        open_menu()
        show.shot()

        show.step("closed", "閉じる(&C) ends quillbox.exe with exit code 0 and takes its icon away")
        e2e.run("xdotool", "key", "c")
        try:
            code = program.wait(timeout=e2e.PATIENCE)
        except subprocess.TimeoutExpired:
            raise StepFailed("閉じる(&C) did not end quillbox.exe")
        expect(e2e.wait_for(lambda: e2e.x_window("Wine System Tray") is None), "the icon stayed in the tray")
        show.shot()
        expect(code == 0, f"quillbox.exe ended with exit code {code}")
    except Exception as failure:  # a step that did not behave, or a tool that broke down during it
        detail = str(failure) if isinstance(failure, StepFailed) else f"{type(failure).__name__}: {failure}"
        print(f"demo-windows: step {show.number:02d} ({show.title}) failed: {detail}", file=sys.stderr)
        failed = os.path.join(shots, f"{show.number:02d}-failed.png")
        if subprocess.run([SHOT, failed]).returncode == 0:
            print(f"demo-windows: the screen at that moment: {failed}", file=sys.stderr)
        return 1
    finally:
        if program is not None and program.poll() is None:
            program.kill()
        for process in e2e.xclips:
            if process.poll() is None:
                process.terminate()
                process.wait()

    print()
    print(f"What quillbox.exe wrote in its directory ({base}):")
    print("\n".join(listing(base)))
    print(f"quillbox.exe's exit code: {code}")
    print(f"Screenshots: {os.path.relpath(shots, ROOT)}/ ({len(os.listdir(shots))} files)")
    return 0


def main():
    args = sys.argv[1:]
    docs = None
    if args[:1] == ["--docs"]:
        docs, args = args[1], args[2:]
    quillbox, helper_exe, work, shots = args
    return tour(quillbox, helper_exe, work, shots, docs)


if __name__ == "__main__":
    sys.exit(main())
