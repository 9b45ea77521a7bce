#!/usr/bin/python3
"""The calendar file of ralvo-schedule, read by programs that share no code
with it: the icalendar parser checks its structure and its days against the
schedule the tool prints, the check-ups and the 戌の日 against the rules
counted here, and khal imports it into a scratch calendar twice (the second
time with other labels), which must update the events, not add a second set.

Usage: check_ics.py TOOL WORKDIR. Exit 77 (skipped) when khal is missing.
"""

import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

import icalendar

TOOL = sys.argv[1]
INPUT = ["--defaults", "--basis", "0", "--year", "2024", "--month", "1", "--day", "1",
         "--cycle", "28", "--name", "サンプル"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    done = subprocess.run([TOOL, *args], capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(args)}: status {done.returncode}\n{done.stderr.decode()}")
    return done.stdout


def write_ics(path, *extra):
    run("ics", *INPUT, *extra, "-o", path)
    with open(path, "rb") as file:
        return file.read()


def events_of(data):
    calendar = icalendar.Calendar.from_ical(data)
    check(str(calendar.get("VERSION")) == "2.0", "VERSION is not 2.0")
    check("PRODID" in calendar, "no PRODID")
    return [c for c in calendar.walk("VEVENT")]


# The schedule as the tool prints it: the due date, and each week's first
# and last day as month and day from the text output.
due = datetime.date.fromisoformat(json.loads(run("dates", *INPUT[1:11], "--json"))["dueDate"])
text = run("text", *INPUT, "--utf8").decode()
week_days = {}
for match in re.finditer(r"妊娠([ \d]\d)週　([ \d]\d)月([ \d]\d)日\(.\)～([ \d]\d)月([ \d]\d)日", text):
    week, m1, d1, m2, d2 = (int(g) for g in match.groups())
    week_days[week] = ((m1, d1), (m2, d2))
check(sorted(week_days) == list(range(4, 44)), f"text weeks {sorted(week_days)}")

work = tempfile.mkdtemp(prefix="ics-", dir=sys.argv[2] if len(sys.argv) > 2 else None)
first = os.path.join(work, "first.ics")
data = write_ics(first)
check(all(line.endswith(b"\r") for line in data.split(b"\n")[:-1]), "a line does not end in CR LF")
events = events_of(data)
# The standard 14 check-ups over their weeks, and the 戌の日 (Julian Day
# Number mod 12 = 9) from 16 weeks 0 days to 19 weeks 6 days.
STANDARD_WEEKS = [8, 12, 16, 20, 24, 26, 28, 30, 32, 34, 36, 37, 38, 39]
fifth_month = [due - datetime.timedelta(days=days) for days in range(168, 140, -1)]
inu_days = [day for day in fifth_month if (day.toordinal() + 1721425) % 12 == 9]
check(2 <= len(inu_days) <= 3, f"{len(inu_days)} 戌の日")
TOTAL = 42 + len(STANDARD_WEEKS) + len(inu_days)
check(len(events) == TOTAL, f"{len(events)} events")
uids = [str(e["UID"]) for e in events]
check(len(set(uids)) == TOTAL, "UIDs repeat")
by_summary = {}
for event in events:
    start, end = event["DTSTART"].dt, event["DTEND"].dt
    check(type(start) is datetime.date and type(end) is datetime.date,
          f"{event['SUMMARY']}: not all-day ({start!r}, {end!r})")
    check("DTSTAMP" in event, f"{event['SUMMARY']}: no DTSTAMP")
    by_summary[str(event["SUMMARY"])] = event

for week in range(4, 44):
    label = f"妊娠{week:2d}週"
    month = week // 4 + 1 if week % 4 == 0 and week != 40 else None
    summary = label + (f" 【第{month:2d}か月】" if month else "")
    event = by_summary.get(summary)
    check(event is not None, f"no event '{summary}'")
    if event is None:
        continue
    start, end = event["DTSTART"].dt, event["DTEND"].dt
    check(start == due - datetime.timedelta(days=7 * (40 - week)), f"{summary}: starts {start}")
    check(end == start + datetime.timedelta(days=7), f"{summary}: ends {end}")
    last = end - datetime.timedelta(days=1)
    check(((start.month, start.day), (last.month, last.day)) == week_days.get(week),
          f"{summary}: {start}..{last}, the schedule prints {week_days.get(week)}")
check("DESCRIPTION" not in by_summary["妊娠 9週"], "an empty notice has a DESCRIPTION")
check(str(by_summary["妊娠 8週 【第 3か月】"].get("DESCRIPTION")) == "母子健康手帳を申請しましょう",
      "week 8's notice")
due_event = by_summary.get("出産予定日")
check(due_event is not None and due_event["DTSTART"].dt == due
      and due_event["DTEND"].dt == due + datetime.timedelta(days=1), "the due-date event")
term = by_summary.get("正期産")
check(term is not None and term["DTSTART"].dt == due - datetime.timedelta(days=21)
      and term["DTEND"].dt == due + datetime.timedelta(days=14), "the full-term event")

def checkups_and_inu(events, weeks, inu):
    """The check-up and 戌の日 events as (summary, start, end, description)."""
    found = sorted((str(e["SUMMARY"]), e["DTSTART"].dt, e["DTEND"].dt, str(e.get("DESCRIPTION", "")))
                   for e in events if "妊婦健診" in str(e["SUMMARY"]) or "戌の日" in str(e["SUMMARY"]))
    wanted = []
    for number, week in enumerate(weeks, 1):
        start = due - datetime.timedelta(days=280 - 7 * week)
        wanted.append((f"第{number}回 妊婦健診（妊娠{week}週）", start, start + datetime.timedelta(days=7), ""))
    for i, day in enumerate(inu):
        wanted.append(("戌の日（帯祝い）", day, day + datetime.timedelta(days=1), "最初の戌の日" if i == 0 else ""))
    return found, sorted(wanted)


found, wanted = checkups_and_inu(events, STANDARD_WEEKS, inu_days)
check(found == wanted, f"check-ups and 戌の日:\n{found}\nwanted\n{wanted}")
own_events = events_of(write_ics(os.path.join(work, "own.ics"), "--checkups", "10,20,30,40", "--no-inu"))
found, wanted = checkups_and_inu(own_events, [10, 20, 30, 40], [])
check(found == wanted and len(own_events) == 46, f"--checkups 10,20,30,40 --no-inu:\n{found}")
check(len(events_of(write_ics(os.path.join(work, "none.ics"), "--no-checkups", "--no-inu"))) == 42,
      "--no-checkups --no-inu")

# The same pregnancy again, under other labels and the other term: the same UIDs.
second = os.path.join(work, "second.ics")
second_events = events_of(write_ics(second, "--set", "Shu1=第", "--set", "Yoteiyogo=1"))
check(sorted(str(e["UID"]) for e in second_events) == sorted(uids), "UIDs change with the labels")
check(any(str(e["SUMMARY"]) == "分娩予定日" for e in second_events), "no 分娩予定日 with Yoteiyogo=1")

if failures:
    sys.exit("\n".join(failures))

khal = shutil.which("khal")
if not khal:
    print("khal is not installed: the import into a calendar client is skipped")
    sys.exit(77)

calendar_dir = os.path.join(work, "calendar")
os.makedirs(calendar_dir)
config = os.path.join(work, "khal.conf")
with open(config, "w") as file:
    file.write(f"""[calendars]
[[scratch]]
path = {calendar_dir}
type = calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = UTC
default_timezone = UTC
[default]
default_calendar = scratch
[sqlite]
path = {os.path.join(work, "khal.db")}
""")
env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=work, XDG_DATA_HOME=work, LC_ALL="C.UTF-8", TZ="UTC")


def khal_run(*args):
    done = subprocess.run([khal, "-c", config, *args], capture_output=True, env=env)
    if done.returncode != 0:
        sys.exit(f"khal {' '.join(args)}: status {done.returncode}\n{done.stderr.decode()}")
    return done.stdout.decode()


def khal_events():
    listed = khal_run("list", "--once", "--day-format", "", "--format", "{start-date}|{end-date}|{title}",
                      (due - datetime.timedelta(days=400)).isoformat(),
                      (due + datetime.timedelta(days=400)).isoformat())
    return sorted(line for line in listed.splitlines() if line)


def expected_lines(events):
    lines = []
    for event in events:
        start, end = event["DTSTART"].dt, event["DTEND"].dt - datetime.timedelta(days=1)
        lines.append(f"{start.isoformat()}|{end.isoformat()}|{event['SUMMARY']}")
    return sorted(lines)


khal_run("import", "--batch", "-a", "scratch", first)
check(len(os.listdir(calendar_dir)) == TOTAL, f"{len(os.listdir(calendar_dir))} files after the first import")
check(khal_events() == expected_lines(events), "khal lists other days:\n" + "\n".join(khal_events()))
khal_run("import", "--batch", "-a", "scratch", second)
check(len(os.listdir(calendar_dir)) == TOTAL, f"{len(os.listdir(calendar_dir))} files after importing again")
check(khal_events() == expected_lines(second_events),
      "khal did not update the events:\n" + "\n".join(khal_events()))

if failures:
    sys.exit("\n".join(failures))
shutil.rmtree(work)
print(f"{TOTAL} events parsed, imported and updated")
