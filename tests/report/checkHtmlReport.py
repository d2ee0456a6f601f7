"""The HTML report as a reader meets it, in Debian's chromium (headless):
made from three generated files, it loads nothing from anywhere, its table
has a row for each, a click on a column's header puts the rows in that
column's order (and a second click reverses it), and each file's plots are
shown. Saves a screenshot of the page as WORK/report.png.

usage: checkHtmlReport.py ORVANE-ANALYZE WORK
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Chromium  # noqa: E402

# Argument order, with the noise's gain: the loudest is neither first nor last.
FILES = [("middle.wav", -20), ("loud & <clear>.wav", -6), ("quiet.wav", -32)]
PLOTS_PER_FILE = 4
INTEGRATED_COLUMN = 2

failures = []


def check(condition, what, detail=""):
    print(("PASS " if condition else "FAIL ") + what + (f": {detail}" if detail and not condition else ""))
    if not condition:
        failures.append(what)


def rows(browser, column):
    """The files' names and the given column's numbers, in the table's order."""
    return browser.evaluate(f"""Array.from(document.querySelectorAll('#files tbody tr')).map(row =>
        [row.cells[0].textContent, Number(row.cells[{column}].getAttribute('data-value'))])""")


def click_header(browser, column):
    box = browser.evaluate(f"""(() => {{
        const box = document.querySelectorAll('#files thead th')[{column}].getBoundingClientRect();
        return [box.left + box.width / 2, box.top + box.height / 2]; }})()""")
    browser.click(*box)


def main():
    analyze, work = sys.argv[1], sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    paths = []
    for name, gain in FILES:
        path = os.path.join(work, name)
        subprocess.run(["sox", "-R", "-r", "44100", "-c", "2", "-n", "-b", "16", path,
                        "synth", "4", "pinknoise", "gain", str(gain)], check=True)
        paths.append(path)
    report = os.path.join(work, "report.html")
    run = subprocess.run([analyze, "--quiet", "--html", report, *paths], capture_output=True, text=True)
    check(run.returncode == 0, "orvane-analyze writes the report", run.stderr)
    if run.returncode != 0:
        return

    with Chromium() as browser:
        requests = browser.open(report)
        foreign = [url for url in requests if not url.startswith(("file://", "data:"))]
        check(not foreign, "the page loads nothing from the network", str(foreign))

        before = rows(browser, INTEGRATED_COLUMN)
        names = [name for name, _ in FILES]
        check([name for name, _ in before] == names, "the table has one row per file, in the call's order",
              str(before))

        by_loudness = [name for name, _ in sorted(FILES, key=lambda file: file[1])]
        click_header(browser, INTEGRATED_COLUMN)
        ascending = rows(browser, INTEGRATED_COLUMN)
        check([name for name, _ in ascending] == by_loudness and
              [value for _, value in ascending] == sorted(value for _, value in ascending),
              "a click on the integrated loudness header sorts the rows by it", str(ascending))
        click_header(browser, INTEGRATED_COLUMN)
        descending = rows(browser, INTEGRATED_COLUMN)
        check([name for name, _ in descending] == by_loudness[::-1],
              "a second click reverses the order", str(descending))

        shown = browser.evaluate("""Array.from(document.querySelectorAll('section')).map(section =>
            Array.from(section.querySelectorAll('img')).filter(img => img.complete && img.naturalWidth == 1200)
                .length)""")
        check(shown == [PLOTS_PER_FILE] * len(FILES), "each file's four plots are shown", str(shown))

        screenshot = os.path.join(work, "report.png")
        browser.screenshot(screenshot)
        with open(screenshot, "rb") as file:
            check(file.read(8) == b"\x89PNG\r\n\x1a\n", "a screenshot of the page is saved", screenshot)


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
