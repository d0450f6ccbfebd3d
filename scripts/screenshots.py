"""Takes the pictures under docs/screenshots/ (run through scripts/screenshots).

Every scene starts the real programs in real windows on a private virtual X server,
with their own configuration, database and snapshot files prepared here, and pages
served from 127.0.0.1 by this script: nothing leaves the machine, and the user's own
files are never read or changed.
"""

import datetime
import http.server
import os
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("LORVANE_BUILD_DIR", os.path.join(ROOT, "build"))
BIN = os.path.join(BUILD, "bin")
OUT = os.path.join(ROOT, "docs", "screenshots")
SCREEN = (1280, 800)
PASSWORD = "parent"
SHOT_WIDTH = 960  # browser pictures are shrunk to this width to keep the folder small
REQUESTS_APPROVE_Y = 340  # "开通" in the requests dialog, below its title band

# ---- the pages the child visits ------------------------------------------------------

CARDS = [("动物乐园", "#ff7a5a", "/zoo"), ("数字游戏", "#5aaaff", "/numbers"),
         ("画画小屋", "#78d26e", "/paint"), ("故事时间", "#fac846", "/stories"),
         ("星空探索", "#be78e6", "/stars"), ("音乐教室", "#46c8c8", "/music")]


def page(title, body):
    return ("<!doctype html><meta charset='utf-8'><title>%s</title>"
            "<body style='margin:0;font-family:sans-serif;background:#fffdf5'>%s</body>" % (title, body))


def home_page():
    cards = "".join(
        "<a href='%s' style='display:block;width:300px;height:170px;margin:18px;border-radius:18px;"
        "background:%s;color:white;font-size:34px;text-decoration:none;padding:20px;box-sizing:border-box'>%s</a>"
        % (path, colour, name) for name, colour, path in CARDS)
    return page("彩虹乐园",
                "<div style='background:#3a8ee6;color:white;font-size:44px;padding:26px 40px'>彩虹乐园</div>"
                "<div style='display:flex;flex-wrap:wrap;padding:10px 24px'>%s</div>" % cards)


def card_page(name, colour):
    return page(name, "<div style='background:%s;color:white;font-size:60px;padding:60px'>%s</div>"
                      "<p style='font-size:28px;margin:40px'>欢迎来到%s!</p>" % (colour, name, name))


class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = self.path.split("?")[0]
        if path == "/slow":
            time.sleep(6)  # long enough to catch the control panel's wait animation
        body = home_page()
        for name, colour, card in CARDS:
            if path == card:
                body = card_page(name, colour)
        data = body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


def serve():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/" % server.server_address[1]

# ---- prepared files ------------------------------------------------------------------


class Home:
    """A private HOME with its own configuration and data folders."""

    def __init__(self, root, name):
        self.dir = os.path.join(root, name)
        self.config = os.path.join(self.dir, "config")
        self.data = os.path.join(self.dir, "data")
        runtime = os.path.join(self.dir, "runtime")
        for d in (self.config, self.data, runtime):
            os.makedirs(d, mode=0o700)
        self.env = dict(os.environ, HOME=self.dir, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                        XDG_RUNTIME_DIR=runtime, XDG_CACHE_HOME=os.path.join(self.dir, "cache"))
        subprocess.run([os.path.join(BIN, "lorvane-setup")], input="%s\n%s\n" % (PASSWORD, PASSWORD),
                       text=True, env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.record = os.path.join(self.config, "lorvane", "lorvane.cfg")
        os.makedirs(os.path.join(self.data, "lorvane", "snapshots"))
        self.db = sqlite3.connect(os.path.join(self.data, "lorvane", "lorvane.db"))
        self.db.executescript(
            "create table if not exists sites(siteid integer primary key, siteurl text, sitename text, siteimage text);"
            "create table if not exists history(historyID integer primary key, beginTime text, delayTime integer,"
            " visitURL text);"
            "create table if not exists favors(favorid integer primary key, favorName text, favorURL text,"
            " clsid integer);"
            "create table if not exists visitecls(clsid integer primary key, clsName text)")

    def settings(self, only_child_sites=1, exit_password=1, login=1, limit=0, minutes=60, home=""):
        with open(self.record, "r+b") as f:
            record = bytearray(f.read())
            struct.pack_into("<5i", record, 0, only_child_sites, exit_password, login, limit, minutes)
            struct.pack_into("<i", record, 0x120, 1)
            encoded = home.encode("utf-8")
            record[0x124:0x124 + 2600] = encoded + bytes(2600 - len(encoded))
            f.seek(0)
            f.write(record)
        # The last good copy must agree, or the programs take the record for a damaged one.
        shutil.copyfile(self.record, self.record + ".lastgood")

    def sites(self, base):
        for i, (name, colour, path) in enumerate(CARDS):
            picture = "site%d.bmp" % (i + 1)
            write_snapshot(os.path.join(self.data, "lorvane", "snapshots", picture), colour)
            self.db.execute("insert into sites(siteurl, sitename, siteimage) values(?, ?, ?)",
                            (base.rstrip("/") + path, name, picture))
        self.db.commit()

    def favorites(self, base):
        """Favorites in two categories and one outside any, as the browser stores them."""
        self.db.executemany("insert into visitecls(clsid, clsName) values(?, ?)", [(1, "动物"), (2, "学习")])
        self.db.executemany("insert into favors(favorName, favorURL, clsid) values(?, ?, ?)",
                            [("动物乐园", base + "zoo", 1), ("星空探索", base + "stars", 1),
                             ("数字游戏", base + "numbers", 2), ("故事时间", base + "stories", 2),
                             ("音乐教室", base + "music", -1)])
        self.db.commit()

    def history(self, base):
        rows = [("2026年12月07日 18:02", 0, "打开Lorvane"), ("2026年12月07日 18:02", 95, base),
                ("2026年12月07日 18:04", 312, base + "zoo"), ("2026年12月07日 18:09", 4,
                 "file:///usr/share/lorvane/html/warning.html#http://games.example.com/"),
                ("2026年12月07日 18:09", 187, base + "stories"), ("2026年12月08日 07:45", 0, "打开Lorvane"),
                ("2026年12月08日 07:45", 260, base + "music"), ("2026年12月08日 07:50", 61, base + "stars")]
        self.db.executemany("insert into history(beginTime, delayTime, visitURL) values(?, ?, ?)", rows)
        self.db.commit()


    def week(self, today):
        """A week of runs up to today: one to three a day, stays in two tabs side by side,
        one run killed before its closing row, one past midnight."""
        hosts = ["zoo.example.org", "kids-books.example.org", "math-games.example.org", "music.example.org",
                 "space.example.org", "paint.example.org", "stories.example.org", "puzzles.example.org",
                 "science.example.org", "words.example.org", "animals.example.org", "maps.example.org"]
        plan = {6: [(8, 10, 35)], 5: [(16, 0, 50), (19, 30, 25)], 4: [(23, 30, 70)], 3: [],
                2: [(9, 0, 40), (15, 20, 60), (20, 0, 20)], 1: [(18, 45, 55)], 0: [(7, 40, 30), (12, 5, 45)]}
        text = lambda when: when.strftime("%Y年%m月%d日 %H:%M")
        rows, n = [], 0
        for back, runs in plan.items():
            for hour, minute, minutes in runs:
                start = datetime.datetime.combine(today - datetime.timedelta(days=back), datetime.time(hour, minute))
                rows.append((text(start), 0, "打开Lorvane"))
                at = 0
                while at < minutes * 60:
                    n += 1
                    seconds = 60 + (n * 37) % 420
                    rows.append((text(start + datetime.timedelta(seconds=at)), seconds,
                                 "http://%s/page%d.html" % (hosts[n % len(hosts)], n % 9)))
                    if n % 3 == 0:  # a page open in a second tab for part of the time
                        rows.append((text(start + datetime.timedelta(seconds=at + 30)), seconds // 2,
                                     "https://%s/" % hosts[(n + 3) % 4]))
                    at += seconds
                if back != 1:  # yesterday evening's run was killed
                    rows.append((text(start), at, "关闭Lorvane"))
        self.db.executemany("insert into history(beginTime, delayTime, visitURL) values(?, ?, ?)", rows)
        self.db.commit()


def write_snapshot(path, colour):
    """A 128 x 96 picture in the snapshot format: a page header band over the card colour."""
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    w, h = 128, 96
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if y < 22:
                px = (230, 142, 58)  # blue band, stored blue-green-red
            elif 30 < y < 80 and (x % 42) > 6:
                px = (b, g, r)
            else:
                px = (245, 253, 255)
            row += bytes(px)
        rows.append(bytes(row))
    body = b"".join(reversed(rows))  # bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + body)

# ---- the screen ----------------------------------------------------------------------


class Screen:
    def __init__(self):
        display = 90
        while os.path.exists("/tmp/.X11-unix/X%d" % display) or os.path.exists("/tmp/.X%d-lock" % display):
            display += 1
        self.display = ":%d" % display
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % display):
                break
            time.sleep(0.1)
        self.program = None

    def env(self, home):
        env = dict(home.env, DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
        env.setdefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu")
        if os.getuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        return env

    def start(self, program, home):
        self.stop()
        self.log = open(os.path.join(home.dir, program + ".log"), "w")
        self.program = subprocess.Popen([os.path.join(BIN, program)], env=self.env(home),
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.home = home

    def stop(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        self.program = None

    def xdo(self, *args):
        out = subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=self.display),
                             capture_output=True, text=True)
        return out.stdout.strip()

    def click(self, x, y):
        self.xdo("mousemove", x, y, "click", 1)
        time.sleep(0.5)

    def key(self, *keys):
        for k in keys:
            self.xdo("key", k)
            time.sleep(0.3)

    def type(self, text):
        self.xdo("type", "--delay", 30, text)

    def window(self, name):
        """The geometry (x, y, w, h) of the visible window called `name`."""
        for _ in range(60):
            ids = self.xdo("search", "--onlyvisible", "--name", "^%s$" % name).split()
            if ids:
                geometry = self.xdo("getwindowgeometry", "--shell", ids[-1])
                values = dict(line.split("=") for line in geometry.splitlines())
                time.sleep(1)  # mapped is not yet painted and focused
                return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            time.sleep(0.5)
        raise RuntimeError("no window called %s (see %s)" % (name, self.log.name))

    def shot(self, name, seconds=20, rect=None, width=0):
        if self.program and self.program.poll() is not None:
            raise RuntimeError("the program ended early (see %s)" % self.log.name)
        args = [os.path.join(BIN, "lorvane-screenshot"), os.path.join(OUT, name + ".png"), str(seconds)]
        if rect or width:
            rect = rect or (0, 0) + SCREEN
            args += [",".join(str(v) for v in rect), str(width)]
        subprocess.run(args, env=dict(self.home.env, DISPLAY=self.display, QT_QPA_PLATFORM="xcb"), check=True)
        print("  " + name + ".png")

    def settle(self, seconds):
        """Waits until the screen stops changing, or `seconds` pass, keeping no picture."""
        with tempfile.TemporaryDirectory() as scratch:
            subprocess.run([os.path.join(BIN, "lorvane-screenshot"), os.path.join(scratch, "still.png"), str(seconds)],
                           env=dict(self.home.env, DISPLAY=self.display, QT_QPA_PLATFORM="xcb"), check=True)

    def close(self):
        self.stop()
        self.xvfb.kill()
        self.xvfb.wait()

# ---- the scenes ----------------------------------------------------------------------


def browser_scenes(screen, root, base):
    home = Home(root, "child")
    home.settings(home=base)
    home.sites(base)
    screen.start("Lorvane", home)
    screen.shot("browser-start", 40, width=SHOT_WIDTH)

    # A card opens in the same tab; "+" adds a blank tab, where the child types an
    # address the parents did not choose.
    screen.click(190, 320)
    screen.click(44, 81)
    screen.type("games.example.com")
    screen.key("Return")
    screen.shot("browser-warning", 20, width=SHOT_WIDTH)

    # Tab from the address box reaches the tabs: the active one is ringed.
    screen.click(640, 36)
    screen.key("Tab")
    screen.shot("browser-tab-focus", 5, rect=(0, 0, 640, 100))

    screen.key("alt+F4")
    screen.shot("browser-exit", 10, width=SHOT_WIDTH)

    locked = Home(root, "locked")
    locked.settings(home=base, limit=1, minutes=0)
    locked.sites(base)
    screen.start("Lorvane", locked)
    screen.shot("browser-lock", 40, width=SHOT_WIDTH)


def sidebar_scenes(screen, root, base):
    # The side bar, opened with "⊙", with both categories of favorites unfolded.
    home = Home(root, "favorites")
    home.settings(home=base)
    home.sites(base)
    home.favorites(base)
    screen.start("Lorvane", home)
    screen.settle(40)
    screen.click(16, 82)
    for row_y in (152, 212):  # the first category, then the second below its two favorites
        screen.click(70, row_y)
        screen.key("Right")
    screen.click(80, 232)
    screen.shot("browser-sidebar", 10, width=SHOT_WIDTH)

    # The favorites button offers the page shown in "添加到收藏夹".
    screen.click(165, 37)
    screen.shot("browser-add-favorite", 10, rect=screen.window("添加到收藏夹"))
    screen.key("Escape")


def skin_scenes(screen, root, base):
    # The skin button opens the dialog; each box puts its skin on the whole browser.
    home = Home(root, "skins")
    home.settings(home=base)
    home.sites(base)
    screen.start("Lorvane", home)
    screen.settle(40)
    screen.click(16, 82)  # the side bar shows, so that its colours change too
    skin_button = (1202, 37)
    screen.click(*skin_button)
    dialog = screen.window("皮肤")
    screen.shot("browser-skin-dialog", 10, rect=dialog)
    # Boxes of 136 x 126 pixels, three to a row, centred under the 58-pixel title band.
    for name, (column, row) in (("candy", (1, 0)), ("forest", (2, 0)), ("sunny", (1, 1)), ("sky", (0, 0))):
        if name != "candy":
            screen.click(*skin_button)
            dialog = screen.window("皮肤")
        screen.click(dialog[0] + 94 + 146 * column, dialog[1] + 131 + 132 * row)
        screen.shot("browser-skin-" + name, 10, width=SHOT_WIDTH)


def manager_scenes(screen, root, base):
    home = Home(root, "parent")
    home.settings(home=base)
    home.sites(base)
    home.history(base)
    screen.start("manager", home)
    screen.shot("manager-login", 20, rect=screen.window("登陆"))
    screen.type(PASSWORD)
    screen.key("Return")
    panel = screen.window("家长管理控制面板")
    x, y = panel[0], panel[1]
    screen.shot("manager-general", 10, rect=panel)
    for name, button_x in (("manager-time", 59), ("manager-password", 147), ("manager-recommended", 322),
                           ("manager-history", 411), ("manager-about", 499)):
        screen.click(x + button_x, y + 70)
        screen.shot(name, 10, rect=panel)

    # Adding a site: its snapshot is taken while the wait animation plays.
    screen.click(x + 322, y + 70)
    screen.click(x + 110, y + 575)
    dialog = screen.window("添加父母推荐站点")
    screen.type(base + "slow")
    screen.key("Tab")
    time.sleep(1)
    screen.shot("manager-add-site", 3, rect=dialog)
    screen.shot("manager-add-site-done", 20, rect=dialog)


def open_panel(screen, home):
    """Starts the control panel, logs in and gives the panel's geometry."""
    screen.start("manager", home)
    screen.window("登陆")
    screen.type(PASSWORD)
    screen.key("Return")
    return screen.window("家长管理控制面板")


def request_scenes(screen, root, base):
    # The child asks for a refused site from the warning page; the parents answer on
    # the recommended-sites page. "localhost" is the same server under a host the
    # parents did not choose.
    home = Home(root, "asking")
    home.settings(home=base)
    home.sites(base)
    screen.start("Lorvane", home)
    screen.settle(40)
    screen.click(44, 81)
    screen.type(base.replace("127.0.0.1", "localhost") + "paint")
    screen.key("Return")
    screen.shot("browser-ask", 20, width=SHOT_WIDTH)
    screen.click(640, 637)  # "请爸爸妈妈开通这个网站"
    screen.shot("browser-ask-sent", 10, width=SHOT_WIDTH)

    panel = open_panel(screen, home)
    screen.click(panel[0] + 322, panel[1] + 70)
    screen.shot("manager-requests-page", 10, rect=panel)
    screen.click(panel[0] + 568, panel[1] + 575)
    requests = screen.window("孩子的请求")
    screen.shot("manager-requests", 10, rect=requests)
    screen.click(requests[0] + 64, requests[1] + REQUESTS_APPROVE_Y)
    screen.shot("manager-request-approve", 20, rect=screen.window("添加父母推荐站点"))


def report_scene(screen, root, base):
    # "本周报告" on the history page, over a week of runs.
    home = Home(root, "week")
    home.settings(home=base)
    home.week(datetime.date.today())
    panel = open_panel(screen, home)
    screen.click(panel[0] + 411, panel[1] + 70)
    screen.click(panel[0] + 540, panel[1] + 586)
    screen.shot("manager-report", 10, rect=screen.window("本周报告"))


def main():
    os.makedirs(OUT, exist_ok=True)
    root = tempfile.mkdtemp(prefix="lorvane-screenshots-")
    base = serve()
    screen = Screen()
    try:
        print("Pictures in " + OUT + ":")
        browser_scenes(screen, root, base)
        sidebar_scenes(screen, root, base)
        skin_scenes(screen, root, base)
        manager_scenes(screen, root, base)
        request_scenes(screen, root, base)
        report_scene(screen, root, base)
    finally:
        screen.close()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except (RuntimeError, subprocess.CalledProcessError) as error:
        sys.exit("screenshots: %s" % error)
