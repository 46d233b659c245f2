// Build-time tool: writes real-looking test text from a fixed seed: an HTML
// help text (tags, attributes, entities, comments), Java sources (classes,
// fields, methods, strings, comments) or C sources (preprocessor lines,
// structs, functions, arrays, strings, comments).
//
// usage: MakeTestText <html|java|c> <bytes> <output>
// The text ends with the block (tag, class, function) that reaches <bytes>
// bytes; the same arguments give the same bytes on every machine.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A small linear congruential generator: the text must not depend on the
// standard library's generators.
class Random {
public:
    unsigned Next(unsigned range) {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) % range;
    }
    bool Chance(unsigned percent) { return Next(100) < percent; }
    template <size_t N>
    const char* Pick(const char* const (&items)[N]) {
        return items[Next(N)];
    }

private:
    unsigned state_ = 19700101u;
};

// Words of running text, some with accented letters of the Central European
// code page and some with apostrophes.
const char* const kWords[] = {
    "the", "window", "shows", "a", "picture", "of", "each", "page", "and", "its", "margins", "when", "you", "open",
    "it", "from", "menu", "file", "print", "preview", "settings", "are", "kept", "for", "next", "time", "don't",
    "it's", "user's", "select", "text", "press", "Enter", "key", "Ctrl", "F3", "search", "again", "list", "items",
    "column", "width", "\xE1lland\xF3", "sz\xF6veg", "f\xE1jl", "be\xE1ll\xEDt\xE1sok", "\xDAj", "ablak", "nyomtat\xE1s",
    "tartalom", "k\xE9p", "sor", "oszlop", "m\xE9ret", "2.5", "100%", "(see below)", "e.g.", "etc.",
};

const char* const kIdentifiers[] = {
    "count", "index", "name", "value", "buffer", "length", "offset", "result", "item", "node", "next", "left",
    "right", "width", "height", "total", "size", "data", "line", "column", "state", "flags", "mode", "key",
};

const char* const kTypes[] = {"int", "long", "String", "boolean", "double", "char", "Object", "byte[]",
                              "List<String>", "Map<String, Integer>", "float"};

const char* const kCTypes[] = {"int", "long", "char *", "const char *", "double", "size_t", "unsigned",
                               "struct node *", "void *", "uint8_t"};

// Text put together in order: each part of a chain t(a)(b)(c) is evaluated
// before the next (C++17 sequences a call's callee before its arguments),
// so the random choices come in the same order with every compiler.
class Text {
public:
    Text& operator()(const std::string& part) {
        text_ += part;
        return *this;
    }
    Text& operator()(unsigned number) { return (*this)(std::to_string(number)); }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

class Writer {
public:
    Writer(FILE* file, size_t target) : file_(file), target_(target) {}
    bool Done() const { return written_ >= target_; }
    void Line(const std::string& text) {
        std::fputs(text.c_str(), file_);
        std::fputc('\n', file_);
        written_ += text.size() + 1;
    }
    void Line(const Text& text) { Line(text.str()); }

private:
    FILE* file_;
    size_t target_;
    size_t written_ = 0;
};

std::string Words(Random& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += random.Pick(kWords);
    }
    return text;
}

std::string Identifier(Random& random) {
    std::string name = random.Pick(kIdentifiers);
    if (random.Chance(40)) name += std::to_string(random.Next(100));
    return name;
}

// ---- HTML ----

std::string HtmlInline(Random& random) {
    Text text;
    text(Words(random, 3 + int(random.Next(8))));
    switch (random.Next(9)) {
        case 0: text(" <b>")(Words(random, 2))("</b>"); break;
        case 1: text(" <i>")(Words(random, 1))("</i>,"); break;
        case 2: text(" <a href=\"topic")(random.Next(900))(".htm\" target=main>")(Words(random, 2))("</a>"); break;
        case 3: text(" &amp; ")(Words(random, 2))(" &lt;")(Words(random, 1))("&gt;"); break;
        case 4: text(" caf&eacute; &nbsp;&copy; 2004"); break;
        case 5: text(" <FONT COLOR=\"#FF0000\" size=2>")(Words(random, 2))("</FONT>"); break;
        case 6: text(" <span class='note'>")(Words(random, 2))("</span>"); break;
        case 7: text("<br>"); break;
        default: text("."); break;
    }
    return text.str();
}

void HtmlBlock(Random& random, Writer& out) {
    switch (random.Next(8)) {
        case 0: out.Line(Text()("<h")(1 + random.Next(3))(">")(Words(random, 3))("</h1>")); break;
        case 1: out.Line(Text()("<!-- ")(Words(random, 4))(" -->")); break;
        case 2:
            out.Line("<table border=1 cellpadding=2 width=\"100%\">");
            for (int row = 0, rows = 1 + int(random.Next(4)); row < rows; ++row)
                out.Line(Text()("  <tr><td width=40%>")(Words(random, 2))("</td><td align=right>")(random.Next(10000))(
                    "</td></tr>"));
            out.Line("</table>");
            break;
        case 3:
            out.Line(Text()("<img src=\"pictures/image")(random.Next(500))(".gif\" alt=\"")(Words(random, 2))(
                "\" width=32 height=32 border=0>"));
            break;
        case 4:
            out.Line("<ul>");
            for (int item = 0, items = 2 + int(random.Next(4)); item < items; ++item)
                out.Line(Text()("  <li>")(HtmlInline(random)));
            out.Line("</ul>");
            break;
        default:
            out.Line(Text()("<p class=\"body\">")(HtmlInline(random)));
            for (int line = 0, lines = int(random.Next(4)); line < lines; ++line) out.Line(HtmlInline(random));
            out.Line("</p>");
            break;
    }
}

void WriteHtml(Random& random, Writer& out) {
    while (!out.Done()) {
        out.Line("<html>");
        out.Line(Text()("<head><title>")(Words(random, 3))("</title>"));
        out.Line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\"></head>");
        out.Line("<body bgcolor=#FFFFFF>");
        for (int block = 0, blocks = 20 + int(random.Next(40)); block < blocks && !out.Done(); ++block)
            HtmlBlock(random, out);
        out.Line("</body>");
        out.Line("</html>");
    }
}

// ---- Java ----

std::string JavaExpression(Random& random) {
    switch (random.Next(6)) {
        case 0: return Text()(Identifier(random))(" + ")(random.Next(64)).str();
        case 1: return Text()("compute(")(Identifier(random))(", ")(random.Next(9))(")").str();
        case 2: return Text()("\"")(Words(random, 2))("\"").str();
        case 3: return "'x'";
        case 4: return Text()(Identifier(random))("[")(Identifier(random))("] * 2").str();
        default: return Text()("new ")(random.Pick(kTypes))("()").str();
    }
}

void JavaStatement(Random& random, Writer& out, const std::string& indent) {
    switch (random.Next(6)) {
        case 0:
            out.Line(Text()(indent)("if (")(Identifier(random))(" > 0 && ")(Identifier(random))(" != null) {"));
            out.Line(Text()(indent)("    ")(Identifier(random))(" = ")(JavaExpression(random))(";"));
            out.Line(Text()(indent)("}"));
            break;
        case 1:
            out.Line(Text()(indent)("for (int i = 0; i < ")(Identifier(random))(".length; i++) ")(Identifier(random))(
                "++;"));
            break;
        case 2: out.Line(Text()(indent)("// ")(Words(random, 6))); break;
        case 3:
            out.Line(Text()(indent)("System.out.println(\"")(Words(random, 3))(" \" + ")(Identifier(random))(
                " + ';');"));
            break;
        case 4: out.Line(Text()(indent)("return ")(JavaExpression(random))(";")); break;
        default:
            out.Line(Text()(indent)(random.Pick(kTypes))(" ")(Identifier(random))(" = ")(JavaExpression(random))(";"));
    }
}

void JavaMethod(Random& random, Writer& out, const std::string& indent) {
    if (random.Chance(30)) out.Line(Text()(indent)("/** ")(Words(random, 5))(" */"));
    if (random.Chance(20)) out.Line(Text()(indent)("@Override"));
    Text signature;
    signature(indent)(random.Chance(60) ? "public " : "private ")(random.Chance(20) ? "static " : "");
    signature(random.Pick(kTypes))(" ")(Identifier(random))("(");
    for (int p = 0, params = int(random.Next(4)); p < params; ++p)
        signature(p > 0 ? ", " : "")(random.Pick(kTypes))(" ")(Identifier(random));
    out.Line(signature(") {"));
    for (int s = 0, statements = 1 + int(random.Next(6)); s < statements; ++s) JavaStatement(random, out, indent + "    ");
    out.Line(Text()(indent)("}"));
}

void JavaClass(Random& random, Writer& out) {
    out.Line("/*");
    out.Line(Text()(" * ")(Words(random, 8)));
    out.Line(" */");
    out.Line(Text()("public class ")(Identifier(random))("Widget extends Base implements Runnable {"));
    for (int m = 0, members = 4 + int(random.Next(12)); m < members; ++m) {
        if (random.Chance(35)) {
            out.Line(Text()("    private ")(random.Pick(kTypes))(" ")(Identifier(random))(" = ")(JavaExpression(random))(
                ";  // ")(Words(random, 3)));
        } else if (random.Chance(8)) {
            out.Line(Text()("    static class Inner")(random.Next(9))(" {"));
            JavaMethod(random, out, "        ");
            out.Line("    }");
        } else {
            JavaMethod(random, out, "    ");
        }
    }
    out.Line("}");
    out.Line("");
}

void WriteJava(Random& random, Writer& out) {
    while (!out.Done()) {
        out.Line("package org.example.tools;");
        out.Line("");
        out.Line("import java.util.List;");
        out.Line("import java.util.Map;");
        out.Line("");
        for (int c = 0, classes = 1 + int(random.Next(3)); c < classes && !out.Done(); ++c) JavaClass(random, out);
    }
}

// ---- C ----

void CStatement(Random& random, Writer& out) {
    switch (random.Next(6)) {
        case 0: out.Line(Text()("    ")(Identifier(random))("[")(Identifier(random))(" + 1] = '\\0';")); break;
        case 1:
            out.Line(Text()("    if (")(Identifier(random))(" == NULL || *")(Identifier(random))(" == '\"')"));
            out.Line("        return -1;");
            break;
        case 2:
            out.Line(Text()("    printf(\"%s: %d\\n\", \"")(Words(random, 2))("\", ")(Identifier(random))(");"));
            break;
        case 3:
            out.Line(Text()("    ")(Identifier(random))(" = ")(Identifier(random))("->")(Identifier(random))(";"));
            break;
        case 4: out.Line(Text()("    // ")(Words(random, 5))); break;
        default:
            out.Line(Text()("    for (i = 0; i < ")(random.Next(512))("; ++i) {"));
            out.Line(Text()("        ")(Identifier(random))(" += ")(Identifier(random))(" % 7;"));
            out.Line("    }");
    }
}

void CFunction(Random& random, Writer& out) {
    if (random.Chance(40)) out.Line(Text()("/* ")(Words(random, 6))(" */"));
    Text signature;
    signature(random.Chance(30) ? "static " : "")(random.Pick(kCTypes))(" ")(Identifier(random))("_")(
        Identifier(random))("(");
    const int params = int(random.Next(4));
    for (int p = 0; p < params; ++p) signature(p > 0 ? ", " : "")(random.Pick(kCTypes))(" ")(Identifier(random));
    out.Line(signature(params == 0 ? "void)" : ")"));
    out.Line("{");
    for (int s = 0, statements = 1 + int(random.Next(7)); s < statements; ++s) CStatement(random, out);
    out.Line("}");
    out.Line("");
}

void WriteC(Random& random, Writer& out) {
    while (!out.Done()) {
        out.Line("#include <stdio.h>");
        out.Line(Text()("#include \"")(Identifier(random))(".h\""));
        out.Line(Text()("#define MAX_")(random.Next(99))(" (")(random.Next(4096))(" * sizeof(int))"));
        out.Line("");
        out.Line(Text()("struct ")(Identifier(random))(" {"));
        for (int f = 0, fields = 2 + int(random.Next(5)); f < fields; ++f)
            out.Line(Text()("    ")(random.Pick(kCTypes))(" ")(Identifier(random))(";"));
        out.Line("};");
        out.Line("");
        for (int i = 0, functions = 3 + int(random.Next(6)); i < functions && !out.Done(); ++i) CFunction(random, out);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long bytes = argc == 4 ? std::atol(argv[2]) : 0;
    void (*write)(Random&, Writer&) = nullptr;
    if (argc == 4 && std::strcmp(argv[1], "html") == 0) write = WriteHtml;
    if (argc == 4 && std::strcmp(argv[1], "java") == 0) write = WriteJava;
    if (argc == 4 && std::strcmp(argv[1], "c") == 0) write = WriteC;
    if (write == nullptr || bytes <= 0) {
        std::fprintf(stderr, "usage: MakeTestText <html|java|c> <bytes> <output>\n");
        return 2;
    }
    FILE* file = std::fopen(argv[3], "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "MakeTestText: cannot write %s\n", argv[3]);
        return 1;
    }
    Random random;
    Writer out(file, size_t(bytes));
    write(random, out);
    return std::fclose(file) == 0 ? 0 : 1;
}
