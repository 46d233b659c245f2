#!/usr/bin/env python3
"""Writes generated_scripts.txt: 200 scripts for the golden transcripts of the interpreter.

Each script is a few building blocks (loops, script functions and calls,
recursion, arrays, strings, switches, messages, drawing) put together at
random, some with a fault planted (a line that does not compile, a call too
deep, an index outside its array, a division by zero). Everything they do is
determined by their text: no clock, no random numbers, no files.

Scripts are separated by a line holding SEPARATOR. Run it again to
regenerate the file; the seed fixes the output.
"""

import random
import sys

SEED = 76
COUNT = 200
SEPARATOR = "#### next script ####"


class Script:
    def __init__(self, r):
        self.r = r
        self.lines = []
        self.functions = []
        self.serial = 0

    def name(self, stem):
        self.serial += 1
        return "%s%d" % (stem, self.serial)

    def add(self, *lines):
        self.lines.extend(lines)


def numeric_loop(s):
    r = s.r
    i, acc = s.name("i"), s.name("acc")
    n = r.randint(1, 40)
    s.add("int %s" % i, "double %s = %d.5" % (acc, r.randint(0, 9)),
          "for %s = 0; %s < %d; %s = %s + 1" % (i, i, n, i, i),
          "%s = %s + %s * 0.5 - %s / %d.0" % (acc, acc, i, acc, r.randint(2, 9)),
          "end")


def while_loop(s):
    r = s.r
    k, total = s.name("k"), s.name("total")
    s.add("int %s = 0" % k, "int %s = 0" % total,
          "while %s < %d" % (k, r.randint(3, 30)),
          "%s += 1" % k,
          "if %s %% %d == 0" % (k, r.randint(2, 5)),
          "continue",
          "end",
          "if %s > %d" % (total, r.randint(10, 200)),
          "break",
          "end",
          "%s = %s + %s * %s" % (total, total, k, k),
          "end")


def repeat_and_loop(s):
    r = s.r
    n, c = s.name("n"), s.name("c")
    s.add("int %s = %d" % (n, r.randint(1, 9)), "int %s = 0" % c,
          "repeat", "%s = %s * 3 %% 17 + 1" % (n, n), "%s += 1" % c, "until %s > %d || %s == 5" % (c, r.randint(2, 12), n),
          "loop %d" % r.randint(0, 6), "%s = %s + %s" % (c, c, n), "end")


def function_calls(s):
    r = s.r
    f, x, i = s.name("f"), s.name("x"), s.name("i")
    a, b = r.randint(1, 5), r.randint(1, 5)
    s.functions.append("func double %s(double a, int b)\nreturn a * 0.%d + b * %d\nend" % (f, a, b))
    s.add("double %s = 0" % x, "int %s" % i,
          "for %s = 0; %s < %d; %s += 1" % (i, i, r.randint(1, 25), i),
          "%s = %s(%s, %s)" % (x, f, x, i),
          "end")


def by_reference(s):
    r = s.r
    g, v = s.name("g"), s.name("v")
    s.functions.append("func int %s(int &x, int step)\nx = x + step\nreturn x * 2\nend" % g)
    s.add("int %s = %d" % (v, r.randint(0, 9)),
          "int %s = %s(%s, %d) + %s(%s, -1)" % (s.name("w"), g, v, r.randint(1, 4), g, v))


def recursion(s):
    r = s.r
    kind = r.choice(["fib", "fact", "sum"])
    f = s.name(kind)
    if kind == "fib":
        s.functions.append("func int %s(int n)\nif n < 2\nreturn n\nend\nreturn %s(n - 1) + %s(n - 2)\nend" % (f, f, f))
        arg = r.randint(0, 14)
    elif kind == "fact":
        s.functions.append("func int %s(int n)\nif n <= 1\nreturn 1\nend\nreturn n * %s(n - 1)\nend" % (f, f))
        arg = r.randint(0, 25)
    else:
        s.functions.append("func double %s(int n)\nif n == 0\nreturn 0\nend\ndouble h = n / 2.0\nreturn h + %s(n - 1)\nend"
                           % (f, f))
        arg = r.randint(0, 60)
    s.add("int %s = %s(%d)" % (s.name("r"), f, arg) if kind != "sum" else "double %s = %s(%d)" % (s.name("r"), f, arg))


def arrays(s):
    r = s.r
    a, i, t = s.name("a"), s.name("i"), s.name("t")
    n = r.randint(1, 12)
    s.add("int %s[%d]" % (a, n), "int %s" % i, "int %s = 0" % t,
          "for %s = 0; %s < %d; %s += 1" % (i, i, n, i),
          "%s[%s] = (%s * %d + %s) %% %d" % (a, i, i, r.randint(2, 9), t, r.randint(5, 50)),
          "%s = %s + %s[%s]" % (t, t, a, i),
          "end")
    if r.random() < 0.5:
        s.add("a_sort %s, %s" % (a, r.choice(["asc", "desc"])))
    if r.random() < 0.5:
        x = s.name("x")
        s.add("int %s" % x, "foreach %s,%s" % (a, x), "%s = %s - %s" % (t, t, x), "end")
    if r.random() < 0.3:
        s.add("%s = %s + %s[%d] + %s[-1]" % (t, t, a, n + r.randint(0, 3), a))


def strings(s):
    r = s.r
    text, i, n = s.name("s"), s.name("i"), s.name("n")
    s.add("string %s = '%s'" % (text, r.choice(["", "ab", "x y", "kro"])), "int %s" % i, "int %s = 0" % n,
          "for %s = 0; %s < %d; %s += 1" % (i, i, r.randint(1, 30), i),
          "%s = %s + $(%s %% 10)" % (text, text, i),
          "if strlen(%s) >= %d" % (text, r.randint(4, 16)),
          "%s = %s + strlen(%s)" % (n, n, text),
          "%s = substr(%s, 1, 3)" % (text, text),
          "end",
          "end")
    if r.random() < 0.5:
        s.add("string %s = strupper(%s) + '-' + str_replace(%s, '1', 'one')" % (s.name("u"), text, text))


def switch(s):
    r = s.r
    v, out = s.name("v"), s.name("o")
    s.add("int %s = %d" % (v, r.randint(0, 4)), "int %s = 0" % out, "switch %s" % v)
    for label in r.sample(range(5), r.randint(1, 3)):
        s.add("case %d:" % label, "%s = %d" % (out, label * 10 + 1), "endcase")
    if r.random() < 0.5:
        s.add("default:", "%s = -1" % out)
    s.add("end")


def message(s):
    s.add("message 'value ' + $%d" % s.r.randint(0, 99))


def drawing(s):
    r = s.r
    i = s.name("i")
    s.add("setpencolor %d" % r.randint(0, 0xFFFFFF), "int %s" % i,
          "for %s = 0; %s < %d; %s += 1" % (i, i, r.randint(1, 5), i),
          "line %s, 0, %s * 3, %d" % (i, i, r.randint(5, 50)),
          "end",
          "rect 1, 2, %d, %d" % (r.randint(3, 40), r.randint(3, 40)))


def locals_in_loops(s):
    r = s.r
    i, t = s.name("i"), s.name("t")
    s.add("int %s" % i, "int %s = 0" % t,
          "for %s = 0; %s < %d; %s += 1" % (i, i, r.randint(1, 15), i),
          "int inner = %s * %d" % (i, r.randint(1, 4)),
          "block", "double half = inner / 2.0", "%s = %s + half" % (t, t), "end",
          "end")


BLOCKS = [numeric_loop, while_loop, repeat_and_loop, function_calls, by_reference, recursion, arrays, strings,
          switch, message, drawing, locals_in_loops]


def plant_fault(s):
    """One fault the interpreter must report or survive as it does now."""
    r = s.r
    kind = r.choice(["compile", "deep", "index", "zero", "missing", "type"])
    if kind == "compile":
        s.lines.insert(r.randint(0, len(s.lines)), r.choice(["int 5x", "end", "for ;;;", "if", "zz = 1",
                                                             "func int q(\nend", "case 1:", "until 1"]))
    elif kind == "deep":
        f = s.name("deep")
        s.functions.append("func int %s(int n)\nreturn %s(n + 1) + 1\nend" % (f, f))
        s.add("int %s = %s(0)" % (s.name("r"), f), "int %s = 7" % s.name("after"))
    elif kind == "index":
        a = s.name("a")
        s.add("int %s[3]" % a, "%s[%d] = 5" % (a, r.randint(3, 9)), "int %s = %s[%d]" % (s.name("r"), a, -r.randint(4, 9)))
    elif kind == "zero":
        s.add("int %s = %d / 0 + %d %% 0" % (s.name("r"), r.randint(1, 9), r.randint(1, 9)),
              "double %s = 1.5 / 0" % s.name("r"))
    elif kind == "missing":
        s.add("int %s = nosuch(3)" % s.name("r"))
    else:
        s.add("string %s = 'a'" % s.name("t"), "int %s = 2" % s.name("r"), "%s = 'text'" % ("r%d" % s.serial))


def main():
    r = random.Random(SEED)
    scripts = []
    for _ in range(COUNT):
        s = Script(r)
        for block in r.sample(BLOCKS, r.randint(1, 4)):
            block(s)
        if r.random() < 0.25:
            plant_fault(s)
        scripts.append("\n".join(s.functions + s.lines))
    out = sys.argv[1] if len(sys.argv) > 1 else "generated_scripts.txt"
    with open(out, "w") as f:
        f.write(("\n%s\n" % SEPARATOR).join(scripts) + "\n")


if __name__ == "__main__":
    main()
