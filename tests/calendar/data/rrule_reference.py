#!/usr/bin/env python3
"""Reference expansion of recurrence rules with python-dateutil.

Reads a corpus file with one case per line, fields separated by tabs:
    RULE  START(YYYY-MM-DDTHH:MM)  FIRST_YEAR  LAST_YEAR
and prints, for every case and every year from FIRST_YEAR to LAST_YEAR, one line
    INDEX YEAR YYYYMMDD YYYYMMDD ...
with that year's occurrences in date order (INDEX counts the cases from 0).

UNTIL values are read as local times (their trailing "Z" is dropped), like the
start.  A rule without UNTIL is given one at the end of LAST_YEAR so that rules
with no further occurrences end quickly.
"""
import re
import sys
import warnings
from datetime import datetime

from dateutil.rrule import rrulestr

warnings.simplefilter("ignore")  # COUNT together with UNTIL is deprecated, not refused


def local_rule(rule):
    body = rule.split(":", 1)[1] if ":" in rule else rule
    return re.sub(r"(UNTIL=[0-9T]+)Z", r"\1", body, flags=re.IGNORECASE)


def expand(rule, start, first_year, last_year):
    body = local_rule(rule)
    if not re.search(r"(^|;)UNTIL=", body, flags=re.IGNORECASE):
        body += ";UNTIL=%04d1231T235959" % last_year
    by_year = {year: [] for year in range(first_year, last_year + 1)}
    for occurrence in rrulestr(body, dtstart=start):
        if occurrence.year > last_year:
            break
        if occurrence.year in by_year:
            by_year[occurrence.year].append(occurrence.strftime("%Y%m%d"))
    return by_year


def main():
    out = []
    with open(sys.argv[1], encoding="utf-8") as corpus:
        for index, line in enumerate(corpus):
            rule, start, first_year, last_year = line.rstrip("\n").split("\t")
            try:
                by_year = expand(rule, datetime.strptime(start, "%Y-%m-%dT%H:%M"), int(first_year), int(last_year))
            except Exception as error:
                sys.exit("case %d: %s from %s: %r" % (index, rule, start, error))
            for year, dates in by_year.items():
                out.append(" ".join([str(index), str(year)] + dates))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
