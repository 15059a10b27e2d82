"""What a player meets in the page: a wheel reported as made, refusals beside their field,
Firefox's restored fields, the layout at a desktop's and a phone's size. Run by browser_test.py.
"""
import json
import os
import pathlib
import re
import subprocess
import tempfile

from selenium.webdriver.support.ui import Select

from browser_test import (DEFAULTS, NODE_MODULES, AccessibilityTest, Browser, PageTest,
                          native_output, native_run, node_tool)

__all__ = ["WheelReportTest", "RefusalTest", "FirefoxRestoreTest", "LayoutTest", "GameTest",
           "PlayerAxeTest", "TaskTest"]

TEN = "3 8 12 17 21 30 33 41 45 49"


class WheelReportTest(PageTest):
    """The page reports the wheel made, not the line limit; a budget wheel and a refused
    search say so; the command line's bytes."""

    def test_wheel_budget_and_refusal(self):
        browser = self.browser
        cases = [
            # form, the command line's options, the name, the words of the report
            ({"lines": "20", "seed": "w"}, ["--seed", "w", "20"], "6-of-49-4-lines.txt",
             "A wheel of 4 lines for “3 if 4” over 10 numbers (found by a search). No wheel "
             "has fewer than 3 lines (counting bound): a smaller one may exist."),
            ({"lines": "3", "wheel-budget": True, "seed": "budget"},
             ["--budget", "--seed", "budget", "3"], "6-of-49-3-lines.txt",
             "these 3 lines give “3 if 4” for 97.14 % of the draws with 4 among your 10 "
             "numbers (204 of 210)."),
        ]
        for form, args, name, words in cases:
            with self.subTest(args=args):
                browser.open(self.url)
                page = self.run_page(dict({"make-wheel": None, "wheel-numbers": TEN,
                                           "wheel-effort": "5"}, **form))
                status, _, expected = native_run(
                    ["--wheel", "3:4", "--numbers", TEN, "--effort", "5"] + args +
                    ["49", "6", "1", "combinations.txt"])
                self.assertEqual((status, page), (0, expected))
                self.assertEqual(browser.find("download").get_attribute("download"), name)
                self.assertRegex(browser.find("status").text, r"^Done: %d lines, "
                                 % page.count(b"\n"))
                self.assertNotIn("more in the file", browser.find("preview").text)
                self.assertIn(words, browser.find("wheel-report").text)
        # A search that finds no wheel within the limit: its progress, then why, beside the
        # number of lines, and no lines on view.
        browser.open(self.url)
        browser.fill(dict(DEFAULTS, **{"make-wheel": None, "lines": "60", "pool": "13",
                                       "wheel-t": "5", "wheel-m": "6", "wheel-effort": "30",
                                       "seed": "slow"}))
        browser.find("generate").click()
        browser.wait(lambda: browser.find("progress-text").text.startswith("Searching: "), 30)
        browser.wait(lambda: browser.find("lines-error").text != "", 60)
        self.assertEqual(browser.find("lines-error").text,
                         "The smallest wheel found for “5 if 6” over 13 numbers has 61 lines, "
                         "more than the 60 allowed (none has fewer than 40). Allow more lines, "
                         "give more effort, or tick “the best lines within the limit”.")
        self.assertEqual(browser.find("status").text, "No file was made.")
        self.assertFalse(browser.find("preview").is_displayed())


class RefusalTest(PageTest):
    """The engine's reason in plain words, once, beside the field to change."""

    def test_reasons_beside_their_field(self):
        browser = self.browser
        cases = [
            ({"make-wheel": None}, "lines",
             "No wheel of at most 10 lines can give “3 if 4” over 49 numbers: it takes at least "
             "243 lines. Allow more lines or wheel fewer numbers."),
            ({"make-wheel": None, "wheel-t": "5", "wheel-m": "4"}, "wheel",
             "Guarantee: a line cannot hold 5 of only 4 numbers drawn; make the first number at "
             "most the second."),
            ({"make-wheel": None, "lines": "50", "wheel-numbers": TEN, "exclude": "3"},
             "exclude", "3 is a number never to use, so it cannot be wheeled too."),
            ({"fixed": "5 abc 9"}, "fixed",
             "Fixed numbers: “abc” is not a number; give numbers only, apart by commas or "
             "blanks."),
        ]
        for form, field, words in cases:
            with self.subTest(form=form):
                browser.open(self.url)
                browser.fill(dict(DEFAULTS, **form))
                browser.find("generate").click()
                browser.wait(lambda: browser.find("form-error").text != "", 10)
                self.assertEqual(browser.find(field + "-error").text, words, browser.errors())
                self.assertEqual(browser.find("form-error").text,
                                 "One setting needs a change before Generate.")
        # A draw's fault beside the draw, not under the guarantee.
        browser.open(self.url)
        self.run_page({"seed": "draw"})
        browser.type("draw", "1 2 3 4 5 99")
        browser.find("check-draw").click()
        browser.wait(lambda: browser.find("draw-error").text != "", 30)
        self.assertEqual(browser.find("draw-error").text,
                         "The draw: 99 is not a number from 1 to 80.")
        self.assertEqual(browser.find("guarantee-error").text, "")


class FirefoxRestoreTest(PageTest):
    """Firefox brings back ticked boxes and radio buttons on a reload: Reset still gives the
    page's defaults, and so the same link the same file as in Chromium."""

    def test_reload_then_reset(self):
        node_tool("puppeteer-core")
        done = subprocess.run(
            ["node", str(NODE_MODULES.parent / "firefox.mjs"), self.url,
             json.dumps({"sorted": True, "make-wheel": True, "unix": True}), "reload-reset"],
            capture_output=True, text=True, timeout=180)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(json.loads(done.stdout),
                         {"checked": {"sorted": True, "make-wheel": False, "unix": False}})


class LayoutTest(PageTest):
    """At 1280x900 and 390x844: Generate in view, the halves of a pair level, a check's report
    inside the phone's width."""

    def test_layout(self):
        for width, height in ((1280, 900), (390, 844)):
            with self.subTest(width=width):
                browser = Browser(width, height)
                try:
                    script = "return document.getElementById(arguments[0])" \
                             ".getBoundingClientRect()[arguments[1]]"
                    top = lambda i: browser.driver.execute_script(script, i, "top")
                    # Each task's first button in the first view: a wheel's fields come first.
                    for task, button in (("#make-wheel=1", "generate"),
                                         ("#make-check=1", "check-draw"), ("", "generate")):
                        browser.open("data:,")
                        browser.open(self.url + task)
                        self.assertLessEqual(browser.driver.execute_script(
                            script, button, "bottom"), height, task)
                    browser.fill(dict(DEFAULTS, seed="layout", **{"make-wheel": None}))
                    for first, second in (("pool", "pick"), ("wheel-t", "wheel-m"),
                                          ("game", "price"), ("sum-min", "sum-max"),
                                          ("bonus-count", "bonus-pool")):
                        self.assertEqual(top(first), top(second), first)
                    browser.open(self.url)
                    browser.fill(dict(DEFAULTS, seed="layout", lines="3"))
                    browser.generate()
                    browser.type("guarantee-t", "1")
                    browser.type("guarantee-m", "1")
                    browser.find("check-guarantee").click()
                    report = browser.find("check-output")
                    browser.wait(lambda: report.text != "", 30)
                    self.assertLessEqual(browser.driver.execute_script(
                        "return arguments[0].scrollWidth - arguments[0].clientWidth", report), 0)
                finally:
                    browser.close()


class GameTest(PageTest):
    """A game preset fills the form and a price gives the file's cost; the prize table of a
    wheel and a check against past draws from a file, byte for byte as the command line's."""

    def test_game_prizes_and_past_draws(self):
        browser = self.browser
        form = {"make-wheel": None, "lines": "20", "wheel-numbers": "1 2 3 4 5 6 7 8",
                "wheel-t": "2", "wheel-m": "3", "wheel-effort": "5", "seed": "game"}
        browser.fill(dict(DEFAULTS, price="2.50", **form))
        Select(browser.find("game")).select_by_visible_text("5 of 50 + 2 of 12")
        self.assertEqual([browser.find(i).get_attribute("value") for i in
                          ("pool", "pick", "bonus-count", "bonus-pool")], ["50", "5", "2", "12"])
        page = browser.generate()
        lines = page.count(b"\n")
        self.assertTrue(browser.find("status").text.endswith(
            "At 2.50 a line: %.2f." % (2.5 * lines)))
        made = browser.find("download").get_attribute("download")
        draws = b"01 02 03 09 10 + 01 02\n04 05 06 07 08 + 11 12\n"
        with tempfile.TemporaryDirectory() as work:
            path = os.path.join(work, "past.txt")
            pathlib.Path(path).write_bytes(draws)
            browser.find("draws-file").send_keys(path)
            for button, args in (("check-prizes", ["--prizes", "50:5+2:12", made]),
                                 ("check-history", ["--check", "draws-past.txt", made])):
                with self.subTest(button):
                    output = browser.find("check-output")
                    browser.driver.execute_script("arguments[0].textContent = ''", output)
                    browser.find(button).click()
                    browser.wait(lambda: output.text != "", 60, browser.errors())
                    status, expected, _ = native_output(
                        args, {made: page, "draws-past.txt": draws})
                    self.assertEqual(status, 0)
                    self.assertEqual(browser.driver.execute_script(
                        "return arguments[0].textContent", output).encode(), expected)
                    if button == "check-prizes":
                        self.assertIn("When 3 of the drawn numbers are among your 8: always a "
                                      "line with at least 2 of them.",
                                      browser.find("prize-words").text)


    def test_prize_table_holds_the_reports_numbers(self):
        """The prize table's cells are the command line's report, block by block, row by row,
        bonus tiers too."""
        browser = self.browser
        page = self.run_page({"make-wheel": None, "lines": "20", "pool": "50", "pick": "5",
                              "bonus-count": "2", "bonus-pool": "12", "wheel-t": "2",
                              "wheel-m": "3", "wheel-numbers": "1 2 3 4 5 6 7 8",
                              "wheel-effort": "5", "seed": "table"})
        made = browser.find("download").get_attribute("download")
        browser.find("check-prizes").click()
        browser.wait(lambda: browser.find("prize-table").is_displayed(), 60, browser.errors())
        cells = browser.driver.execute_script(
            "return [...document.querySelectorAll('#prize-table tbody')].map((body) => " +
            "[...body.rows].map((row) => [...row.cells].map((cell) => cell.textContent)))")
        status, report, _ = native_output(["--prizes", "50:5+2:12", made], {made: page})
        self.assertEqual(status, 0)
        expected = []
        for block in report.decode().split("\n\n")[1:]:
            lines = block.splitlines()
            drawn, draws = re.match(r"(\d+) of the drawn .*: (\d+) draws$", lines[0]).groups()
            rows = [line.split() for line in lines[2:] if re.match(r" *\d+\+\d+ ", line)]
            if rows:
                rows[0].insert(0, "%s%s draws" % (drawn, "{:,}".format(int(draws))))
                expected.append(rows)
        self.assertEqual(len(expected), 6)
        self.assertEqual(cells, expected)


class PlayerAxeTest(PageTest):
    """axe-core finds nothing in the states the wheel, the games and the checks add, at both
    sizes: a refusal with more options open, a wheel with its report, prizes and verdict."""

    def test_axe_in_the_new_states(self):
        for width, height in ((1280, 900), (390, 844)):
            browser = Browser(width, height)
            try:
                browser.open(self.url)
                found = AccessibilityTest.violations(self, browser)
                browser.fill(dict(DEFAULTS, **{"make-wheel": None, "wheel-budget": True,
                                               "fixed": "abc"}))
                browser.find("generate").click()
                browser.wait(lambda: browser.find("form-error").text != "", 10)
                found += AccessibilityTest.violations(self, browser)
                browser.open(self.url)
                browser.fill(dict(DEFAULTS, **{"make-wheel": None, "lines": "20", "price": "2",
                                               "wheel-numbers": TEN, "wheel-effort": "5"}))
                browser.generate()
                browser.find("check-prizes").click()
                browser.wait(lambda: browser.find("prize-words").text != "", 60)
                found += AccessibilityTest.violations(self, browser)
                self.assertEqual(found, [], width)
            finally:
                browser.close()


class TaskTest(PageTest):
    """"Check my lines" as the task: the checks come first, on a file, and a link keeps it."""

    def test_check_my_lines_first(self):
        browser = self.browser
        browser.find("make-check").click()
        for _ in range(2):
            self.assertFalse(browser.find("generate").is_displayed())
            self.assertTrue(browser.find("check-upload").is_selected())
            self.assertLess(browser.driver.execute_script(
                "return document.getElementById('check-draw').getBoundingClientRect().bottom"),
                browser.height)
            browser.open("data:,")
            browser.open(self.url + "#make-check=1")
