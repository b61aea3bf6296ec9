"""Quillbox end to end under Wine, as a user meets it.

Runs build/windows/quillbox.exe in a temporary directory of a fresh Wine prefix (set up by
run-e2e.sh) and drives it from outside: copies from Linux with xclip and from inside Wine with the
helper, sets the registry with `reg add`, presses the tray icon with a real X click and answers its
menu and dialogs. Each check prints one line; the run closes with "N passed, N failed".

usage: e2e.py QUILLBOX_EXE HELPER_EXE WORK_DIR
"""

import datetime
import os
import subprocess
import sys
import time

WINE = "/usr/lib/wine/wine64"
# Generous: a step that has not happened after this never will.
PATIENCE = 20.0

passed = 0
failed = 0


def check(name, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
        print(f"[  OK  ] {name}", flush=True)
    else:
        failed += 1
        print(f"[ FAIL ] {name}" + (f"\n  {detail}" if detail else ""), flush=True)
    return condition


def wait_for(condition, patience=PATIENCE):
    """Polls until condition() is true; its last value."""
    deadline = time.monotonic() + patience
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


def run(*args, encoding="utf-8"):
    """Runs a command; its output decoded (Wine's own console programs write the ANSI code page)."""
    return subprocess.run(args, capture_output=True, encoding=encoding, errors="replace", timeout=60)


class Helper:
    def __init__(self, exe):
        self.exe = exe

    def __call__(self, *args):
        return run(WINE, self.exe, *args)

    def box(self, caption):
        """The text of the message box captioned so, after pressing its OK; None when none came."""
        result = self("box", caption)
        return result.stdout.rstrip("\r\n") if result.returncode == 0 else None

    def controls(self, caption):
        """The controls of the visible window captioned so: (class, text, (x, y), selected item)."""
        result = self("dump", caption)
        if result.returncode != 0:
            return None
        controls = []
        for line in result.stdout.splitlines():
            kind, text, centre, selected = line.rstrip("\r").split("|")
            x, y = centre.split(",")
            controls.append((kind.lower(), text, (int(x), int(y)), selected))
        return controls


def x_window(name):
    """The X window id of the mapped top-level window of that name, or None."""
    result = run("xdotool", "search", "--onlyvisible", "--name", f"^{name}$")
    ids = result.stdout.split()
    return ids[0] if ids else None


def click(x, y):
    run("xdotool", "mousemove", str(x), str(y), "click", "1")


def press_tray_icon(helper):
    """One real left press on Quillbox's icon, the first in Wine's system tray window; where that
    window cannot be found, the shell's callback message posted to Quillbox's hidden windows."""
    tray = wait_for(lambda: x_window("Wine System Tray"))
    if tray is None:
        print("  (no Wine System Tray window: posting the tray callback instead)", flush=True)
        helper("tray-post")
        return
    run("xdotool", "mousemove", "--window", tray, "10", "10", "click", "1")


def choose_from_menu(helper, keys):
    """Answers the tray menu with keys, once it shows (it holds the keyboard while it is open). Wine
    maps the menu's window a moment before its loop takes the keyboard; keys before that are lost."""
    helper("menu")
    time.sleep(0.5)
    run("xdotool", "key", *keys)


def registry_set(key, name, kind, data):
    return run(WINE, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f", encoding="cp932")


def registry_query(key, name):
    result = run(WINE, "reg", "query", key, "/v", name, encoding="cp932")
    for line in result.stdout.splitlines():
        parts = line.split()
        if parts and parts[0] == name:
            return parts[1], parts[2] if len(parts) > 2 else ""
    return None


xclips = []


def xclip_copy(text):
    """Copies on Linux. xclip serves the selection until another program takes it; it is kept in the
    foreground (-quiet) so that the suite can end it."""
    process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    process.stdin.write(text.encode("utf-8"))
    process.stdin.close()
    xclips.append(process)


def date_dirs(today):
    weekday = "月火水木金土日"[today.weekday()]
    plain = today.strftime("%y%m%d")
    return {
        0: plain,
        1: f"{plain}({weekday})",
        2: today.strftime("%y年%m月%d日"),
        3: today.strftime("%y年%m月%d日") + f"({weekday})",
    }


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    quillbox, helper_exe, work = sys.argv[1:4]
    helper = Helper(helper_exe)
    names = date_dirs(datetime.date.today())
    product_key = r"HKCU\Software\Quillbox"
    directory_key = product_key + r"\Directory"
    file_key = product_key + r"\File"

    # Another program's viewer, in the chain before Quillbox joins, so after it in the chain.
    viewer_log = os.path.join(work, "viewer.log")
    viewer = subprocess.Popen([WINE, helper_exe, "viewer", viewer_log])
    wait_for(lambda: os.path.exists(viewer_log) and "ready" in open(viewer_log).read())

    def heard(clip):
        """Whether the viewer after Quillbox heard of the clip: Quillbox has handled it and passed it on."""
        return "change " + clip.hex() + "\n" in open(viewer_log).read()

    # What the clipboard holds at the start is not saved: Wine tells it to a new viewer as it joins.
    xclip_copy("before the start")
    wait_for(lambda: heard(b"before the start"))

    base = os.path.join(work, "base")
    os.makedirs(base)
    program = subprocess.Popen([WINE, quillbox], cwd=base)
    # The icon is added once the main form is read, after the detector has joined the chain.
    check("the tray icon appears", wait_for(lambda: x_window("Wine System Tray")) is not None)
    day = os.path.join(base, names[0])

    def saved(name, clip, path):
        """Waits for the clip to be passed on and for its file to hold it; checks the file's bytes."""
        check(f"{name}: passed on to the next viewer", wait_for(lambda: heard(clip)))
        wait_for(lambda: os.path.exists(path) and read(path) == clip)
        got = read(path) if os.path.exists(path) else None
        check(f"{name}: saved byte for byte as {os.path.relpath(path, base)}", got == clip,
              f"{got!r} in {sorted(os.listdir(os.path.dirname(path)) if os.path.isdir(os.path.dirname(path)) else [])}")

    text = "hello, 日本語のテキスト ｶﾀｶﾅ"
    xclip_copy(text)
    saved("a clip copied on Linux arrives in CP932", text.encode("cp932"), os.path.join(day, "1.txt"))
    # Had the notification of joining been saved, it would be 1.txt and this clip 2.txt.
    check("what the clipboard held at the start is not saved", os.listdir(day) == ["1.txt"], str(os.listdir(day)))

    ansi = bytes.fromhex("93fa967b8cea0d0a096c696e65")  # 日本語, CR LF, a tab, "line"
    helper("copy-ansi", ansi.hex())
    saved("a CF_TEXT clip from a Windows program", ansi, os.path.join(day, "2.txt"))

    helper("copy", "ウィンドウズ内のコピー")
    saved("Unicode text from a Windows program", "ウィンドウズ内のコピー".encode("cp932"), os.path.join(day, "3.txt"))

    # A password manager's copy, marked as not to be recorded, leaves no file, but is passed on.
    for marker in ("ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore",
                   "CanIncludeInClipboardHistory"):
        secret = "secret " + marker
        helper("copy-marked", marker, secret)
        check(f"a copy marked {marker}: passed on to the next viewer", wait_for(lambda: heard(secret.encode("cp932"))))
        check(f"a copy marked {marker}: not saved", sorted(os.listdir(day)) == ["1.txt", "2.txt", "3.txt"],
              str(sorted(os.listdir(day))))
    xclip_copy("after the secrets")
    saved("the next unmarked copy", b"after the secrets", os.path.join(day, "4.txt"))

    registry_set(directory_key, "DNumber", "REG_SZ", "1")
    xclip_copy("style 1")
    saved("directory style 1 set with reg add", b"style 1", os.path.join(base, names[1], "1.txt"))

    registry_set(directory_key, "DNumber", "REG_DWORD", "1")
    xclip_copy("refused by the store")
    report = helper.box("Quillbox")
    check("a REG_DWORD setting gives the error report", report == "'DNumber' のﾃﾞｰﾀ型が不正です.", repr(report))
    check("the refused clip is passed on once the report is closed", wait_for(lambda: heard(b"refused by the store")))

    registry_set(directory_key, "DNumber", "REG_SZ", "0")
    xclip_copy("after the report")
    saved("the next clip after the report", b"after the report", os.path.join(day, "5.txt"))

    # The tray menu: 設定.
    press_tray_icon(helper)
    choose_from_menu(helper, ["Down", "Return"])
    settings = helper.controls("設定")
    check("設定 shows the settings dialog", settings is not None)
    if settings:
        combos = [c for c in settings if c[0] == "combobox"]
        check("the settings dialog shows the stored styles",
              [c[3] for c in combos] == ["980304", "番号順(1,2,3,・・・)"], str(combos))
        # The user opens the first list, picks its second item with the keyboard, and confirms.
        click(*combos[0][2])
        time.sleep(0.5)
        run("xdotool", "key", "Down", "Return")
        time.sleep(0.5)
        confirm = [c for c in settings if c[0] == "button" and c[1] == "設定完了!"]
        click(*confirm[0][2])
        check("設定完了! saves the choice in the registry",
              wait_for(lambda: registry_query(directory_key, "DNumber") == ("REG_SZ", "1")),
              str(registry_query(directory_key, "DNumber")))
        check("設定完了! hides the dialog", wait_for(lambda: x_window("設定") is None))
        check("the file style is saved as it was shown", registry_query(file_key, "FNumber") == ("REG_SZ", "0"))

    # The tray menu: ﾊﾞｰｼｮﾝ情報(&A), shown modally; the tray keeps working meanwhile.
    press_tray_icon(helper)
    choose_from_menu(helper, ["a"])
    about = helper.controls("Version Infomation")
    check("ﾊﾞｰｼｮﾝ情報(&A) shows the About box", about is not None)
    if about:
        texts = [c[1] for c in about]
        check("the About box names the product and version", "Quillbox" in texts and "Version   1.10" in texts,
              str(texts))
        press_tray_icon(helper)
        choose_from_menu(helper, ["a"])
        report = helper.box("Quillbox")
        check("choosing it again during the modal showing gives the error report",
              report == "表示されているｳｨﾝﾄﾞｳをﾓｰﾀﾞﾙにすることはできません.", repr(report))
        ok = [c for c in about if c[0] == "button" and c[1] == "OK"]
        click(*ok[0][2])
        check("OK closes the About box", wait_for(lambda: x_window("Version Infomation") is None))

    # File naming style 1: the prompt asks for a name, typed by the user.
    registry_set(file_key, "FNumber", "REG_SZ", "1")
    xclip_copy("a named clip")
    prompt = helper.controls("ﾌｧｲﾙ名を付ける")
    check("file naming style 1 shows the file-name prompt", prompt is not None)
    if prompt:
        edit = [c for c in prompt if c[0] == "edit"]
        check("the prompt's edit box starts empty", [c[1] for c in edit] == [""], str(edit))
        click(*edit[0][2])
        run("xdotool", "type", "--delay", "50", "memo")
        run("xdotool", "key", "Return")
        # The settings dialog chose directory style 1 above.
        saved("Enter in the prompt", b"a named clip", os.path.join(base, names[1], "memo.txt"))

        # The same name again: the overwrite confirmation, answered with its default button.
        xclip_copy("the same name again")
        prompt = helper.controls("ﾌｧｲﾙ名を付ける")
        if check("the prompt comes again for the next clip", prompt is not None):
            click(*[c for c in prompt if c[0] == "edit"][0][2])
            run("xdotool", "type", "--delay", "50", "memo")
            run("xdotool", "key", "Return")
            question = helper.controls("確認")
            check("a taken name asks the overwrite confirmation",
                  question is not None and any(c[1] == "既に同じﾌｧｲﾙ名があります！上書きしますか？" for c in question),
                  str(question))
            if question:
                click(*[c for c in question if c[0] == "button" and c[1] == "OK"][0][2])
            saved("OK in the confirmation overwrites", b"the same name again",
                  os.path.join(base, names[1], "memo.txt"))
    registry_set(file_key, "FNumber", "REG_SZ", "0")

    # The tray menu: 閉じる(&C).
    press_tray_icon(helper)
    choose_from_menu(helper, ["c"])
    try:
        code = program.wait(timeout=PATIENCE)
    except subprocess.TimeoutExpired:
        program.kill()
        code = None
    check("閉じる(&C) ends the program with exit code 0", code == 0, f"exit code {code}")
    check("the icon is gone from the tray", wait_for(lambda: x_window("Wine System Tray") is None))

    xclip_copy("after Quillbox")
    check("the viewer after Quillbox still hears of changes once Quillbox has left",
          wait_for(lambda: heard(b"after Quillbox")))

    helper("stop-viewer")
    viewer.wait(timeout=PATIENCE)
    for process in xclips:
        if process.poll() is None:
            process.terminate()
            process.wait()

    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
