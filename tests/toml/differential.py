#!/usr/bin/env python3
"""Differential test of tarn's TOML reader against Python's tomllib.

Generates documents (valid ones, lines that redefine keys and tables, number,
date and string tokens taken apart, and edits of valid documents), reads each
with DUMP (the tarn_toml_dump test program) and with tomllib, and checks that
both accept the same documents and read the same values.

Where TOML 1.0 and tomllib part ways the difference is counted, not failed:
tomllib refuses a second of 60 and the year 0000 (RFC 3339 date-times that
Python's datetime cannot hold) and accepts integers beyond 64 bits. A
byte-order mark before the document, which editors on some systems write,
is skipped by tarn and refused by tomllib: tomllib reads such a document
without it.

Exit status: 0 when every document was read alike, 1 on any other
difference (the first few are shown), 77 when this python3 has no tomllib
reading TOML 1.0.

Usage: differential.py DUMP [--documents N] [--seed S] [--show N]
"""

import argparse
import json
import math
import random
import re
import subprocess
import sys

WS = ["", " ", "\t", "  "]
BARE_KEYS = ["a", "b", "c", "d-1", "2", "_", "x_y", "true", "1979-05-27"]
QUOTED_KEYS = ['"a"', "'b'", '"c"', '""', '"é"', "'a.b'", '"\\u0061"', '"\\t"', '"\U000F0041"']
STRING_CHARS = list("abc xyz0123#=[]{}.,'") + ["é", "Zoë", "中", "\U000F0041", "\U000F0BCA", "😀", "\t", "\u00a0",
                                               "\u2028", "\ufeff"]
ESCAPES = ["\\n", "\\t", "\\\"", "\\\\", "\\b", "\\f", "\\r", "\\u00E9", "\\U0001F600", "\\u0000", "\\U0010FFFF",
           "\\uD7FF", "\\uE000"]


def ws(rng):
    return rng.choice(WS)


def key_part(rng, keys):
    return rng.choice(keys)


def dotted_key(rng, keys, most):
    parts = [key_part(rng, keys) for _ in range(rng.randint(1, most))]
    return "".join(p if i == 0 else rng.choice([".", " .", ". ", "\t.\t"]) + p for i, p in enumerate(parts))


def grouped_digits(rng, digits):
    out = digits[0]
    for d in digits[1:]:
        out += ("_" if rng.random() < 0.15 else "") + d
    return out


def random_digits(rng, most, first_nonzero=True):
    n = rng.randint(1, most)
    first = rng.choice("123456789" if first_nonzero and n > 1 else "0123456789")
    return first + "".join(rng.choice("0123456789") for _ in range(n - 1))


def integer(rng):
    r = rng.random()
    if r < 0.15:
        return rng.choice(["9223372036854775807", "-9223372036854775808", "+0", "-0", "0", "0x7FFFFFFFFFFFFFFF",
                           "0x8000000000000000", "9223372036854775808", "-9223372036854775809", "0o777", "0b1010",
                           "0xdead_BEEF", "0o0", "0b0", "0x00ff", "1_000_000"])
    if r < 0.3:
        prefix, alphabet = rng.choice([("0x", "0123456789abcdefABCDEF"), ("0o", "01234567"), ("0b", "01")])
        digits = "".join(rng.choice(alphabet) for _ in range(rng.randint(1, 20)))
        return prefix + grouped_digits(rng, digits)
    return rng.choice(["", "", "+", "-"]) + grouped_digits(rng, random_digits(rng, 20))


def float_text(rng):
    if rng.random() < 0.2:
        return rng.choice(["inf", "+inf", "-inf", "nan", "+nan", "-nan", "-0.0", "+0.0", "0e0", "1e400", "6.626e-34",
                           "5e+22", "1E-5", "3.1415926535897932384626", "1_000.000_1", "0.0001e-0_1"])
    text = rng.choice(["", "+", "-"]) + grouped_digits(rng, random_digits(rng, 8))
    has_fraction = rng.random() < 0.7
    if has_fraction:
        text += "." + grouped_digits(rng, random_digits(rng, 8, first_nonzero=False))
    if not has_fraction or rng.random() < 0.4:
        text += rng.choice("eE") + rng.choice(["", "+", "-"]) + grouped_digits(rng, random_digits(rng, 3, False))
    return text


def days_in_month(year, month):
    if month == 2:
        return 29 if (year % 4 == 0 and year % 100 != 0) or year % 400 == 0 else 28
    return 30 if month in (4, 6, 9, 11) else 31


def time_text(rng):
    second = 60 if rng.random() < 0.05 else rng.randint(0, 59)
    text = "%02d:%02d:%02d" % (rng.randint(0, 23), rng.randint(0, 59), second)
    if rng.random() < 0.3:
        text += "." + random_digits(rng, 9, first_nonzero=False)
    return text


def date_text(rng):
    if rng.random() < 0.05:
        return "%04d-02-29" % rng.choice([0, 1900, 2000, 2023, 2024, 2100])
    year = rng.choice([0, 1, 1900, 2000, 2016, 2023, 2024, 2100, 9999, rng.randint(1, 9999)])
    month = rng.randint(1, 12)
    # Now and then the days just past the month's end.
    day = rng.randint(1, days_in_month(year, month) + (3 if rng.random() < 0.1 else 0))
    return "%04d-%02d-%02d" % (year, month, day)


def weighted(rng, choices):
    """Calls one of the (weight, function) pairs, chosen by weight, with rng."""
    return rng.choices([f for _, f in choices], weights=[w for w, _ in choices])[0](rng)


def date_time(rng):
    return weighted(rng, [(0.2, date_text), (0.15, time_text), (0.65, full_date_time)])


def full_date_time(rng):
    text = date_text(rng) + rng.choice("Tt ") + time_text(rng)
    if rng.random() < 0.6:
        text += rng.choice(["Z", "z", "+00:00", "-00:00", "+05:30", "-23:59", "+%02d:%02d" % (rng.randint(0, 23),
                                                                                            rng.randint(0, 59))])
    return text


def string_body(rng, escapes):
    out = ""
    for _ in range(rng.randint(0, 8)):
        out += rng.choice(ESCAPES) if escapes and rng.random() < 0.25 else rng.choice(STRING_CHARS)
    return out


def string(rng):
    r = rng.random()
    if r < 0.35:
        return '"' + string_body(rng, True).replace('"', "") + '"'
    if r < 0.6:
        return "'" + string_body(rng, False).replace("'", "") + "'"
    newline = rng.choice(["\n", "\r\n"])
    lines = []
    for _ in range(rng.randint(0, 4)):
        line = string_body(rng, r < 0.8)
        if r < 0.8 and rng.random() < 0.2:
            line += "\\" + ws(rng)  # the backslash that ends a line
        lines.append(line + rng.choice(["", '"', '""', "'", "''"]))
    quote = '"""' if r < 0.8 else "'''"
    body = newline.join(lines)
    body = body.replace(quote, "")
    if quote == '"""':
        body = body.replace('\\"""', "")
    text = quote + rng.choice(["", newline]) + body
    # Quotes just before the closing ones belong to the string.
    if not text.endswith("\\"):
        text += rng.choice(["", quote[0], quote[0] * 2])
    return text + quote


def value(rng, depth, keys):
    r = rng.random()
    if depth < 4 and r < 0.12:
        elements = [value(rng, depth + 1, keys) for _ in range(rng.randint(0, 4))]
        blank = lambda: rng.choice(["", " ", "\n", "\n  ", " # note\n", "\r\n", "\t# [\n"])
        text = "[" + blank() + ("," + blank()).join(elements)
        if elements and rng.random() < 0.3:
            text += blank() + ","
        return text + blank() + "]"
    if depth < 4 and r < 0.22:
        members = [dotted_key(rng, keys, 2) + ws(rng) + "=" + ws(rng) + value(rng, depth + 1, keys)
                   for _ in range(rng.randint(0, 3))]
        return "{" + ws(rng) + ("," + ws(rng)).join(members) + ws(rng) + "}"
    if r < 0.45:
        return string(rng)
    if r < 0.6:
        return integer(rng)
    if r < 0.7:
        return float_text(rng)
    if r < 0.78:
        return rng.choice(["true", "false"])
    return date_time(rng)


def line(rng, keys):
    r = rng.random()
    after = ws(rng) + rng.choice(["", "", "# after ]"])
    if r < 0.15:
        return ws(rng) + "[" + ws(rng) + dotted_key(rng, keys, 3) + ws(rng) + "]" + after
    if r < 0.25:
        return ws(rng) + "[[" + ws(rng) + dotted_key(rng, keys, 3) + ws(rng) + "]]" + after
    if r < 0.3:
        return ws(rng) + rng.choice(["", "# a comment", "#", "# é \t [x]"])
    return ws(rng) + dotted_key(rng, keys, 3) + ws(rng) + "=" + ws(rng) + value(rng, 0, keys) + ws(rng) + \
        rng.choice(["", "", " # after"])


def document(rng):
    """Lines over a few keys, so that keys and tables meet again."""
    keys = BARE_KEYS[:rng.randint(2, 4)] + rng.sample(QUOTED_KEYS, rng.randint(0, 3))
    if rng.random() < 0.4:
        keys = ["k%d" % i for i in range(30)]
    lines = [line(rng, keys) for _ in range(rng.randint(0, 10))]
    return rng.choice(["\n", "\r\n"]).join(lines) + rng.choice(["", "\n"])


NUMBER_ALPHABET = "0123456789_+-.eExobXOBinfaZzT: t"


def token(rng):
    """A number or date-time, written right or taken apart."""
    r = rng.random()
    if r < 0.4:
        text = "".join(rng.choice(NUMBER_ALPHABET) for _ in range(rng.randint(1, 12)))
    else:
        text = rng.choice([integer, float_text, date_time])(rng)
        for _ in range(rng.randint(0, 2)):
            text = rng.choice([lambda t: edit(rng, t, NUMBER_ALPHABET), lambda t: t + "_", lambda t: "0" + t,
                               lambda t: t.replace("_", "__"), lambda t: t.replace(".", "_."),
                               lambda t: t.replace("e", "_e"), lambda t: t.upper()])(text)
    return "x = " + text + rng.choice(["", "\n", " # c\n", ",", "]"])


STRING_NOISE = ["\\", "\\u", "\\U", "\\x41", "\\e", "\\e", "\\a", "\\v", "\\0", "\\/", "\\N", "\\ ", "\\\n",
                "\\\r\n", "\x00", "\x01", "\x08", "\x1f", "\x7f", "\r", "\n", "\r\n", '"', "'", '"""', "'''",
                "\\uD800", "\\U00110000", "\\u12", "\\UFFFFFFFF", "\t", "\u0085", "é", "\U000F0041"]


def string_token(rng):
    """A string of any kind with characters and escapes it may not hold."""
    quote = rng.choice(['"', "'", '"""', "'''"])
    body = "".join(rng.choice(STRING_NOISE) if rng.random() < 0.4 else rng.choice(STRING_CHARS)
                   for _ in range(rng.randint(0, 6)))
    return rng.choice(["x = ", "x = [", "x = {a = ", "", "["]) + quote + body + quote + rng.choice(["", " = 1", "]"])


EDIT_ALPHABET = list("[]{}\"'=.,#\n\t \\0123456789abez-+_:") + ["\r", "\r\n", "\x00", "\x7f", "é", '"""', "'''", "[[",
                                                                "]]"]


def edit(rng, text, alphabet):
    if not text:
        return rng.choice(alphabet)
    i = rng.randrange(len(text) + 1)
    r = rng.random()
    if r < 0.35:
        return text[:i] + text[i + 1:]
    if r < 0.7:
        return text[:i] + rng.choice(alphabet) + text[i:]
    return text[:i] + rng.choice(alphabet) + text[i + 1:]


def mutated(rng):
    text = document(rng)
    for _ in range(rng.randint(1, 3)):
        lines = text.split("\n")
        r = rng.random()
        if r < 0.15 and lines:
            lines.insert(rng.randrange(len(lines) + 1), rng.choice(lines))
            text = "\n".join(lines)
        elif r < 0.25 and len(lines) > 1:
            i, j = rng.randrange(len(lines)), rng.randrange(len(lines))
            lines[i], lines[j] = lines[j], lines[i]
            text = "\n".join(lines)
        else:
            text = edit(rng, text, EDIT_ALPHABET)
    return text


def generate(rng):
    return weighted(rng, [(0.4, document), (0.15, token), (0.15, string_token), (0.3, mutated)])


# What tarn's dump holds for each value tomllib reads.
def from_tomllib(v):
    import datetime
    if isinstance(v, dict):
        return {k: from_tomllib(x) for k, x in v.items()}
    if isinstance(v, list):
        return [from_tomllib(x) for x in v]
    if isinstance(v, str):
        return ("str", v)
    if isinstance(v, bool):
        return ("bool", v)
    if isinstance(v, int):
        return ("int", v)
    if isinstance(v, float):
        return ("float", "nan" if math.isnan(v) else (v, math.copysign(1.0, v)))
    if isinstance(v, datetime.datetime):
        return ("odt" if v.tzinfo is not None else "ldt", v)
    if isinstance(v, datetime.date):
        return ("date", v)
    if isinstance(v, datetime.time):
        return ("time", v)
    raise TypeError(type(v))


def from_dump(v, tomllib, fix=lambda s: s):
    if isinstance(v, dict):
        return {k: from_dump(x, tomllib, fix) for k, x in v.items()}
    if isinstance(v, list):
        return [from_dump(x, tomllib, fix) for x in v]
    kind, _, text = v.partition(":")
    if kind == "str":
        return ("str", fix(text))
    if kind == "bool":
        return ("bool", text == "true")
    if kind == "int":
        return ("int", int(text))
    if kind == "float":
        f = float(text.replace("_", ""))
        return ("float", "nan" if math.isnan(f) else (f, math.copysign(1.0, f)))
    # Date-times as tomllib reads the same text on its own.
    return (kind, tomllib.loads("v = " + fix(text))["v"])


def rfc3339_fix(text):
    """The text with the date-times Python cannot hold moved to ones it can."""
    text = re.sub(r"(\d\d:\d\d):60", r"\1:59", text)
    # 2000 is a leap year as 0000 is, so 29 February stays valid.
    return re.sub(r"(?<![0-9])0000-(?=\d\d-\d\d)", "2000-", text)


def has_wide_integer(v):
    if isinstance(v, dict):
        return any(has_wide_integer(x) for x in v.values())
    if isinstance(v, list):
        return any(has_wide_integer(x) for x in v)
    return isinstance(v, int) and not isinstance(v, bool) and not -2**63 <= v < 2**63


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dump")
    parser.add_argument("--documents", type=int, default=20000)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--show", type=int, default=5)
    args = parser.parse_args()
    try:
        import tomllib
    except ImportError:
        print("skipped: this python3 has no tomllib")
        return 77
    if sys.version_info >= (3, 14):
        print("skipped: this python3's tomllib reads TOML 1.1")
        return 77
    seed = args.seed if args.seed is not None else random.randrange(2**32)
    rng = random.Random(seed)
    docs = [generate(rng) for _ in range(args.documents)]
    stdin = b"".join(b"%d\n%s" % (len(d.encode()), d.encode()) for d in docs)
    run = subprocess.run([args.dump], input=stdin, stdout=subprocess.PIPE, check=True)
    results = [json.loads(line) for line in run.stdout.split(b"\n")[:-1]]
    assert len(results) == len(docs)

    counts = {"read alike": 0, "refused by both": 0, "second 60 or year 0000": 0, "integer beyond 64 bits": 0,
              "too deep for tomllib": 0, "byte-order mark first": 0}
    differences = []
    for doc, result in zip(docs, results):
        if doc.startswith("\ufeff"):
            counts["byte-order mark first"] += 1
            doc = doc[1:]
        try:
            expected = tomllib.loads(doc)
        except tomllib.TOMLDecodeError as e:
            expected = e
        except RecursionError:
            counts["too deep for tomllib"] += 1
            continue
        refused = isinstance(expected, Exception)
        if "error" in result:
            if refused:
                counts["refused by both"] += 1
            elif has_wide_integer(expected):
                counts["integer beyond 64 bits"] += 1
            else:
                differences.append((doc, "tarn refused: " + result["error"], "tomllib read it"))
            continue
        if not refused:
            if from_dump(result["value"], tomllib) == from_tomllib(expected):
                counts["read alike"] += 1
            else:
                differences.append((doc, "tarn read: " + json.dumps(result["value"]), "tomllib read: %r" % expected))
            continue
        try:
            fixed = from_tomllib(tomllib.loads(rfc3339_fix(doc)))
            known = from_dump(result["value"], tomllib, rfc3339_fix) == fixed
        except (tomllib.TOMLDecodeError, ValueError):
            known = False
        if known:
            counts["second 60 or year 0000"] += 1
        else:
            differences.append((doc, "tarn read: " + json.dumps(result["value"]), "tomllib refused: %s" % expected))

    for doc, ours, theirs in differences[:args.show]:
        print("difference in %r\n  %s\n  %s" % (doc, ours, theirs))
    summary = ", ".join("%d %s" % (n, what) for what, n in counts.items())
    print("seed %d, %d documents: %s; %d differences" % (seed, len(docs), summary, len(differences)))
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
