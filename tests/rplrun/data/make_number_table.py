#!/usr/bin/env python3
"""Writes number_table.txt: how rplrun must read, compute, round and show reals.

The expected values come from Python's decimal module, independently of rplrun's code:
results at 34 digits (round half even, as the decimal library), rounded once to 12
significant digits half up (Python's ROUND_HALF_UP is half away from zero), range
-499..499, then displayed by the calculator's STD/FIX/SCI/ENG rules written out again
here. Run once; the table is committed and the tests do not need Python.

    python3 make_number_table.py > number_table.txt
"""
import random
from decimal import Context, Decimal, ROUND_HALF_EVEN, ROUND_HALF_UP

WIDE = Context(prec=34, rounding=ROUND_HALF_EVEN, Emax=99999, Emin=-99999)
MAXR = Decimal("9.99999999999E499")


def to_real(x):
    """A 34-digit value as the calculator keeps it, and the condition."""
    if x == 0:
        return Decimal(0), "none"
    r = Context(prec=12, rounding=ROUND_HALF_UP, Emax=99999, Emin=-99999).plus(x)
    if r.adjusted() > 499:
        return (-MAXR if r < 0 else MAXR), "overflow"
    if r.adjusted() < -499:
        return Decimal(0), ("underflow-" if r < 0 else "underflow+")
    return r, "none"


def evaluate(expression):
    words = expression.split()
    if len(words) == 1:
        return to_real(Decimal(words[0]))
    a, cond_a = to_real(Decimal(words[0]))
    b, cond_b = to_real(Decimal(words[1]))
    assert cond_a == cond_b == "none", expression
    op = words[2]
    if op == "/" and b == 0:
        if a == 0:
            return Decimal(0), "undefined"
        return (-MAXR if a < 0 else MAXR), "infinite"
    result = {"+": WIDE.add, "-": WIDE.subtract, "*": WIDE.multiply, "/": WIDE.divide}[op](a, b)
    return to_real(result)


def digits_of(x):
    """Significant digits without trailing zeros, and the first digit's exponent."""
    text = "".join(map(str, x.as_tuple().digits)).lstrip("0")
    return text.rstrip("0"), x.adjusted()


def rounded(x, significant):
    return Context(prec=significant, rounding=ROUND_HALF_UP, Emax=99999, Emin=-99999).plus(x)


def scientific(x, n, mark):
    if x == 0:
        return "0" + mark + "0" * n + "E0"
    r = rounded(x, n + 1)
    text, first = digits_of(r)
    text = text.ljust(n + 1, "0")
    return ("-" if r < 0 else "") + text[0] + mark + text[1:] + "E" + str(first)


def engineering(x, n, mark):
    if x == 0:
        return "0" + mark + "0" * n + "E0"
    r = rounded(x, n + 1)
    text, first = digits_of(r)
    exponent = (first // 3) * 3
    before = first - exponent + 1
    text = text.ljust(max(n + 1, before), "0")
    return ("-" if r < 0 else "") + text[:before] + mark + text[before:] + "E" + str(exponent)


def positional(x, decimals, keep_mark, mark):
    q = x.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP, context=WIDE)
    sign = "-" if q < 0 else ""
    whole, _, fraction = format(abs(q), "f").partition(".")
    if whole == "0":
        whole = ""
    return sign + whole + (mark if fraction or keep_mark else "") + fraction


def display(x, mode, mark):
    kind, _, n = mode.partition(" ")
    n = min(int(n), 11) if n else 0
    if kind == "STD":
        if x == 0:
            return "0"
        text, first = digits_of(x)
        last = first - len(text) + 1
        if first >= 12 or last < -12:
            return ("-" if x < 0 else "") + text[0] + mark + text[1:] + "E" + str(first)
        return positional(x, max(0, -last), False, mark)
    if kind == "FIX":
        if x == 0:
            return "0" + mark + "0" * n
        if x.adjusted() >= 12:
            return scientific(x, n, mark)
        q = x.quantize(Decimal(1).scaleb(-n), rounding=ROUND_HALF_UP, context=WIDE)
        if q == 0 or q.adjusted() >= 12:
            return scientific(x, n, mark)
        return positional(q, min(n, 11 - q.adjusted()), True, mark)
    if kind == "SCI":
        return scientific(x, n, mark)
    return engineering(x, n, mark)


LITERALS = """0 12 -12 007 .5 -.5 5. 1200 12.5 -1.5E-3 1E12 1E11 1E-12 -1E-12 1.23E-13 1.5E-12
100000000000 999999999999 -999999999999 9999999999995 9999999999994 1234567890125
1234567890124 -1234567890125 .1234567890125 .1234567890124 9.9999999999995 9.9999999999994
-9.9999999999995 .00001 14.2857142857 2.43290200818E18 4.10216000727E-2 1E500 -1E500
9.99999999999E499 9.999999999995E499 -9.999999999995E499 9.999999999994E499 1E-499 -1E-499
9.9999999999995E-500 9.999999999994E-500 1E-500 -1E-500 1E-12345 1E12345
123456789012345678901234567890 .00000000000000000001234567890123456 0.000012 00000.00000
12345678901234567890123456789012345678901234567890 5E-13 .0000000000005 1.00000000000499999
""".split()

ARITHMETIC = [
    "1 30 /", "2 3 /", "1 3 /", "1 7 /", "100 7 /", "-2 3 /", "1 1E12 +", "1 5E-12 +",
    "-1 -5E-12 +", "1 4.99999999999E-12 +", "999999999999 1 +", "1E12 1 -", ".1 .2 +",
    "4 2.5 *", "123456789012 10 /", "1E499 10 *", "-1E499 10 *", "1E-499 10 /",
    "-1E-499 10 /", "1E-499 .5 *", "1E-250 1E-250 *", "1E250 1E250 *", "1 0 /", "-1 0 /",
    "0 0 /", "5 5 -", "-7 7 +", "0 -3 *", "3 1E-30 -", "1.00000000001 1.00000000001 *",
    "999999.999999 999999.999999 *", "2 3 *", "1 9.99999999999E499 /",
    "9.99999999999E-499 10 /", "6 1.5 /", "22 7 /", "355 113 /", "1E-6 3 /",
]

# Values shown in every display mode.
SWEEP = """0 1 -1 .5 -.5 12.7 1.23456 98765.4 4567 45678 456789 .0012 .012 .001 .004 .005
-.005 .0049 123456.789 999999999999 1E12 1.5E15 1E-12 1.23E-13 3.33333333333E-2
9.99999999999E499 1E-499 .666666666667 9.99 -9.995 0.9996 12345678.9012 2.5E-5
""".split()
MODES = ["STD", "FIX 0", "FIX 1", "FIX 2", "FIX 4", "FIX 11", "SCI 0", "SCI 3", "SCI 11",
         "ENG 0", "ENG 1", "ENG 2", "ENG 11"]


def random_literals(count):
    rng = random.Random(48)
    out = []
    for _ in range(count):
        digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 16)))
        point = rng.randint(0, len(digits))
        text = digits[:point] + "." + digits[point:]
        if not any(c in "123456789" for c in digits):
            text = "7" + text
        exponent = rng.randint(-20, 20)
        out.append(("-" if rng.random() < 0.3 else "") + text + "E" + str(exponent))
    return out


def rows():
    for text in LITERALS + ARITHMETIC + random_literals(60):
        value, condition = evaluate(text)
        yield text, "STD", display(value, "STD", "."), condition
    for text in SWEEP:
        value, condition = evaluate(text)
        for mode in MODES:
            yield text, mode, display(value, mode, "."), condition
        for mode in ["STD", "FIX 2", "SCI 2", "ENG 1"]:
            yield text, mode + " ,", display(value, mode, ","), condition


def main():
    print("# expression\tmode\tdisplay\tcondition  (written by make_number_table.py)")
    for row in rows():
        print("\t".join(row))


if __name__ == "__main__":
    main()
