// Writes the seed inputs of the fuzz targets that the libraries' own writers make: records of bitmaps, expressions,
// variables, programs and containers, and the texts the text readers take, each in its target's input layout.
// Usage: fuzz_seeds <corpus folder>; run from the source root, it also copies the test fixtures it names.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CHRTable.h"
#include "ComboBox.h"
#include "Compiler.h"
#include "Expression.h"
#include "ExpressionCompiler.h"
#include "ExpressionContainer.h"
#include "ExpressionImageProps.h"
#include "ExpressionStorage.h"
#include "ImageBuffer.h"
#include "ImageLinks.h"
#include "MemBitmap.h"
#include "MemBuffer.h"
#include "Program.h"
#include "Properties.h"
#include "Resource.h"
#include "StringContainer.h"
#include "TextEditor.h"
#include "TextEditorComboHistory.h"
#include "Topics.h"
#include "Variables.h"
#include "VariablesProperties.h"

namespace {

std::filesystem::path corpus;
typedef std::vector<uint8_t> TBytes;

void Seed(const std::string& target, const std::string& name, const TBytes& bytes) {
    std::filesystem::create_directories(corpus / target);
    std::ofstream out(corpus / target / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void SeedText(const std::string& target, const std::string& name, const std::string& text) {
    Seed(target, name, TBytes(text.begin(), text.end()));
}

TBytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TBytes Selected(uint8_t selector, const TBytes& bytes) {
    TBytes out{selector};
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

TBytes BufferBytes(const TMemBuffer& buffer) {
    const uint8_t* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return block == nullptr ? TBytes() : TBytes(block, block + buffer.GetSize());
}

// What a FILE writer puts in a stream.
template <typename Write>
TBytes StreamBytes(Write write) {
    FILE* file = std::tmpfile();
    write(file);
    const long size = std::ftell(file);
    std::rewind(file);
    TBytes bytes(static_cast<size_t>(size));
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
    std::fclose(file);
    return bytes;
}

// A small picture of each depth, with a few distinct pixels.
TMemBitmap Picture(int bpp) {
    TMemBitmap bitmap(5, 3, bpp, true);
    for (int x = 0; x < 5; ++x) bitmap.SetPixel(x, x % 3, bpp == 24 ? 0x102030 * (x + 1) : x + 1);
    bitmap.Refresh();
    return bitmap;
}

void BitmapSeeds() {
    for (const char* fixture :
         {"bitmaps/tests/data/colour.bmp", "bitmaps/tests/data/short_table.bmp", "kro/tests/resources/picture.bmp"})
        Seed("bitmaps_bmp", std::filesystem::path(fixture).filename(), FileBytes(fixture));
    Seed("bitmaps_jpeg", "gradient.jpg", FileBytes("bitmaps/tests/data/gradient.jpg"));
    for (const int bpp : {4, 8, 24}) {
        TMemBitmap bitmap = Picture(bpp);
        const std::string depth = std::to_string(bpp);
        TBytes bmp;
        bitmap.EncodeBmp(bmp);
        Seed("bitmaps_bmp", "written" + depth + ".bmp", bmp);
        Seed("bitmaps_imagebuffer", "bmp" + depth, Selected(1, bmp));
        // A DIB block is the file without its 14-byte file header.
        Seed("bitmaps_clipboard", "dib" + depth, TBytes(bmp.begin() + 14, bmp.end()));
        Seed("bitmaps_records", "file" + depth, Selected(0, StreamBytes([&](FILE* f) { bitmap.SaveToStream(f); })));
        std::ostringstream stream;
        bitmap.WriteToStdStreamBin(stream);
        const std::string streamed = stream.str();
        Seed("bitmaps_records", "std" + depth, Selected(2, TBytes(streamed.begin(), streamed.end())));
        TMemBuffer buffer;
        bitmap.WriteToMemBuffer(buffer);
        Seed("bitmaps_records", "buffer" + depth, Selected(4, BufferBytes(buffer)));
    }
    TMemBitmap small = Picture(24);
    Seed("bitmaps_records", "jpegfile", Selected(1, StreamBytes([&](FILE* f) { small.SaveToJpegStream(f); })));
    std::ostringstream jpegStream;
    small.SaveToJpegStream(jpegStream);
    const std::string jpeg = jpegStream.str();
    Seed("bitmaps_records", "jpegstd", Selected(3, TBytes(jpeg.begin(), jpeg.end())));
    TMemBuffer jpegBuffer;
    small.WriteToMemBufferAsJpeg(jpegBuffer);
    Seed("bitmaps_records", "jpegbuffer", Selected(5, BufferBytes(jpegBuffer)));
    TBytes encoded;
    small.EncodeJpeg(encoded);
    Seed("bitmaps_jpeg", "written.jpg", encoded);
    TImageBuffer image(3, 2, 2);
    image.Data[0] = 7;
    TMemBuffer imageRecord;
    image.WriteToMemBuffer(imageRecord);
    Seed("bitmaps_imagebuffer", "record", Selected(0, BufferBytes(imageRecord)));
}

// Expressions that reach the families of built-ins, operators, arrays and walks.
const char* const kExpressions[] = {
    "summa(1,4,[[i*n]])+strlen(s)",
    "str_tok2('a|b|c',0,2)+strupper(s)",
    "x*2.5+p.x-z.re+sin(x)^2",
    "a2[1]+a3[2]*m[1,2]",
    "strformat('%d-%s',n,s)",
    "str_any_tok('a|b|c','|',[[token=='b']])",
    "derive([[x^3+sin(x)]],x)",
    "integrate([[x*x]],x,0,1,10,2)",
    "cmplx(1,2)*cx_exp(z)+to_point(1,2)",
    "n+=3; x=x*2; s=s+'!'",
    "max(1,5,3)+dmid(1.0,2.0)+rand(6)",
    "str_iota(3,[[hexa(cx)]])",
    "array_convert(a2,[[item*2]])+tokenize('1,2',',',a2)",
    "intcond(n>2,1,0)+(n<<2)%5",
};

void ExpressionSeeds() {
    int k = 0;
    for (const char* text : kExpressions) {
        const std::string name = "expression" + std::to_string(k++);
        SeedText("eval_expression", name, text);
        SeedText("eval_tree", name, text);
    }
    TVariableList list;
    list.NewInt("n", false, 3);
    list.NewDouble("x", false, 0.5);
    list.NewString("s", false, "text");
    int stored = 0;
    for (const char* text : {"n*2+x", "strlen(s)+summa(1,3,[[i]])", "'a'+s", "x^2-sin(x)"}) {
        EXPRESSION e = CreateExpression(list, text);
        const std::string name = "stored" + std::to_string(stored++);
        TMemBuffer buffer;
        WriteExpression(buffer, e);
        Seed("eval_storedexpression", name, Selected(0, BufferBytes(buffer)));
        Seed("eval_storedexpression", name + "file", Selected(1, StreamBytes([&](FILE* f) { SaveExpression(f, e); })));
        FreeExpression(e);
    }
    TExpression one("n*x+1", &list);
    TMemBuffer oneRecord;
    one.WriteToMemBuffer(oneRecord);
    Seed("eval_expressioncontainer", "expression", Selected(0, BufferBytes(oneRecord)));
    TExpressions many;
    many.Add("n+1", &list);
    many.Add("s", &list);
    TMemBuffer manyRecord;
    many.WriteToMemBuffer(manyRecord);
    Seed("eval_expressioncontainer", "expressions", Selected(1, BufferBytes(manyRecord)));
    TExpressionContainer container(&list);
    container.AddExpression("n*2");
    container.AddExpression("strlen(s)");
    TMemBuffer containerRecord;
    container.WriteToMemBuffer(containerRecord);
    Seed("eval_expressioncontainer", "container", Selected(2, BufferBytes(containerRecord)));
    Seed("eval_expressioncontainer", "containerfile",
         Selected(3, StreamBytes([&](FILE* f) { container.SaveToStream(f); })));
}

// The look of formula pictures: the defaults, a table size the build makes
// with other ratios and colours, and a font that has no tables.
void ImagePropsSeeds() {
    TExpressionImageProps defaults;
    TExpressionImageProps larger;
    larger.FontSize = 14;
    larger.ExpCharRatio = 0.75f;
    larger.RootCharRatio = 0.4f;
    larger.BkColor = 0x202020;
    larger.TextColor = 0xFFFF00;
    TExpressionImageProps unknown;
    unknown.Font = "Missing";
    int k = 0;
    for (const TExpressionImageProps* props : {&defaults, &larger, &unknown}) {
        TMemBuffer record;
        props->WriteToMemBuffer(record);
        Seed("eval_imageprops", "props" + std::to_string(k++), BufferBytes(record));
    }
}

void VariableSeeds() {
    TVariableList list;
    list.NewInt("n", false, -3);
    list.NewDouble("x", true, 2.5);
    list.NewPoint("p", false);
    list.NewComplex("z", false);
    list.NewString("s", false, "a|b");
    list.NewArray("a", vtString, false);
    list.ResizeArray("a", 2);
    list.NewArray2("m", vtDouble, false);
    list.ResizeArray2("m", 2, 2);
    for (int i = 0; i < list.GetCount(); ++i) {
        TMemBuffer buffer;
        list[i]->WriteToMemBuffer(buffer);
        const std::string name = std::string("variable_") + list[i]->name.c_str();
        Seed("eval_variables", name, Selected(0, BufferBytes(buffer)));
        Seed("eval_variables", name + "_file", Selected(2, StreamBytes([&](FILE* f) { list[i]->SaveToStream(f); })));
    }
    TMemBuffer whole;
    list.WriteToMemBuffer(whole);
    Seed("eval_variables", "list", Selected(1, BufferBytes(whole)));
    Seed("eval_variables", "list_file", Selected(3, StreamBytes([&](FILE* f) { list.SaveToStream(f); })));
    TProperties props;
    SaveVariables(props, list, "vars");
    const TString text = props.GetText();
    Seed("eval_variables", "properties", Selected(4, TBytes(text.c_str(), text.c_str() + text.Length())));
}

const char* const kScripts[] = {
    "int n = 3\nstring s = 'a'\nwhile n > 0\n  n = n - 1\n  s = s + 'b'\nend\n",
    "func int twice(int x)\n  return x * 2\nend\nint y = twice(4)\nif y > 5\n  y = 0\nelse\n  y = 1\nend\n",
    "int a[] = {1,2,3}\ndim a, 5\nint m[2,3]\nm[0,1] = 4\ndim m, 1, 1\n",
    "double d = 1.5\nint a\nswitch a\ncase 1:\n  d = 0\nendcase\ndefault:\n  d = 2\nend\nrepeat\n  d = d - 1\nuntil d "
    "< 0\n",
    ("const int k = 4\nint i\nfor i=0;i<4;i+=1\n  line 0, 0, i, 4\nend\nfunc int OnClick(int x, int y)\nend\n"
     "event Click, OnClick\n"),
    "point p = {1,2}\ncomplex c = {0.5, 1}\nsetpencolor 255\ncircle 10, 10, 5\ntext 1, 1, 'hi'\n",
};

void ScriptSeeds() {
    int k = 0;
    for (const char* text : kScripts) {
        const std::string name = "script" + std::to_string(k++);
        SeedText("kro_script", name, text);
        TStringContainer source;
        source.SetText(text, static_cast<int>(std::strlen(text)));
        TStringContainer directories;
        TUnitSubsList units;
        TProgram program;
        if (!KRO_Compile(source, program, directories, units)) {
            std::fprintf(stderr, "script %s does not compile (%d at line %d)\n", name.c_str(), KRO_ErrorCode,
                         KRO_ErrorLine);
            continue;
        }
        TMemBuffer saved;
        program.WriteToMemBuffer(saved);
        Seed("kro_program", name, Selected(0, BufferBytes(saved)));
        Seed("kro_program", name + "file", Selected(1, StreamBytes([&](FILE* f) { program.SaveToStream(f); })));
    }
    Seed("kro_script", "unit", FileBytes("kro/tests/units/math.txt"));
    for (const char* fixture : {"kro/tests/dialogs/colours.dlg", "kro/tests/resources/form.dlg"})
        Seed("kro_dialogtext", std::filesystem::path(fixture).filename(), FileBytes(fixture));
}

void ContainerSeeds() {
    const TString text("line one|two");
    TMemBuffer textRecord;
    text.WriteToMemBuffer(textRecord);
    Seed("containers_string", "buffer", Selected(0, BufferBytes(textRecord)));
    Seed("containers_string", "file", Selected(1, StreamBytes([&](FILE* f) { text.SaveToStream(f); })));
    std::ostringstream textStream;
    text.WriteToStdStream(textStream);
    const std::string streamed = textStream.str();
    Seed("containers_string", "std", Selected(2, TBytes(streamed.begin(), streamed.end())));

    TStringContainer lines;
    lines.Add("first");
    lines.Add("");
    lines.Add("third line");
    TMemBuffer linesRecord;
    lines.WriteToMemBuffer(linesRecord);
    Seed("containers_stringlist", "buffer", Selected(0, BufferBytes(linesRecord)));
    Seed("containers_stringlist", "file", Selected(1, StreamBytes([&](FILE* f) { lines.SaveToStream(f); })));
    SeedText("containers_stringlist", "text", std::string("\x02one\r\ntwo\nthree"));

    TMemBuffer bytes;
    for (int k = 0; k < 64; ++k) bytes.AddByte(static_cast<uint8_t>(k % 7));
    for (const bool packed : {false, true}) {
        bytes.SetPacked(packed);
        const std::string kind = packed ? "packed" : "plain";
        TMemBuffer item;
        bytes.WriteToMemBuffer(item);
        Seed("containers_membuffer", kind, Selected(0, BufferBytes(item)));
        Seed("containers_membuffer", kind + "file", Selected(1, StreamBytes([&](FILE* f) { bytes.SaveToStream(f); })));
        TMemBuffer block;
        bytes.WriteToPackedBlock(block, packed);
        Seed("containers_membuffer", kind + "block", Selected(2, BufferBytes(block)));
    }
    Seed("containers_membuffer", "fixture", Selected(2, FileBytes("containers/tests/fixture/packed.bin")));

    TProperties props;
    props.AddSection("main");
    props.AddEntry("name", "a\\b\r\nc");
    props.AddInt("count", 7);
    props.AddSection("other");
    props.AddDouble("ratio", 0.25);
    props.AddBool("on", true);
    const TString propsText = props.GetText();
    Seed("containers_properties", "text",
         Selected(0, TBytes(propsText.c_str(), propsText.c_str() + propsText.Length())));
    TMemBuffer propsRecord;
    props.WriteToMemBuffer(propsRecord);
    Seed("containers_properties", "buffer", Selected(1, BufferBytes(propsRecord)));

    TMemResource archive;
    archive.AddBuffer("index.vgt", bytes, true);
    archive.AddBuffer("plain.txt", bytes, false);
    TMemBuffer archiveRecord;
    archive.WriteToMemBuffer(archiveRecord);
    Seed("containers_resource", "archive", BufferBytes(archiveRecord));
}

const char* const kJava =
    "package a.b;\n/* block */ public class Outer extends Base implements I {\n"
    "  private int x = 3; // line\n  public Outer(int a, String b) { x = a; }\n"
    "  static void run(String[] args) throws E { char c = '\\''; String s = \"}\"; }\n"
    "  class Inner { int f(java.util.List<String> l) { return 0; } }\n}\n";

void TextSeeds() {
    for (const char* name : {"parsers_symbol", "parsers_comments", "parsers_java"}) {
        SeedText(name, "java", std::string("\x07") + kJava);
        SeedText(name, "quotes", std::string("\x2f") + "a = \"b c\" + 'd' (e[f]{g}) <h>\n");
    }
    SeedText("parsers_html", "html", "\x01<HTML><Body bgcolor=red><!-- c --><a href='X'>Text</A></body>\n");
    SeedText("parsers_tagged", "tagged", std::string("\x00", 1) + "<B>bold</B> <FONT size=3 face=\"x\">t</FONT> <>\n");
    SeedText("parsers_finder", "finder", "\x03word other\n<B>a word</B> and <I>other</I> text\n");
    Seed("linguara_langtable", "translations", FileBytes("linguara/tests/fixture/translations.txt"));
    SeedText("linguara_langtable", "escapes", "0|1|2\n10|a\\tb|c||d|e\\0f\nx|no id\n");
    for (const char* form :
         {"platform/classlib/tests/forms/BaseTestForm.txt", "platform/classlib/tests/forms/DerivedTestForm.txt"})
        Seed("classlib_formtext", std::filesystem::path(form).filename(), FileBytes(form));
    SeedText("classlib_formtext", "values",
             "object F: TForm\n  Caption = 'a'#13'b'\n  Tag = -4\n  Color = $FF\n"
             "  Font.Style = [fsBold, fsItalic]\n  Items.Strings = (\n    'x'\n    'y')\n"
             "  object B: TButton\n  end\nend\n");
    SeedText("fadenwerk_replacevars", "references",
             "a=1;name=World;e=\nHello $(name), $(a:5@*)|$(name:-8)|$(a*3)|%name%");
    SeedText("fadenwerk_replacevars", "random", "n=2\n$(RAND(a,b,c))$(RAND(1-5))$( n )$(x$(n))");
    SeedText("fadenwerk_tokenize", "fields",
             "\x15"
             "a, 'b;c' ,,\"d\\\"e\"\\t\n$(x)-$(y).$(z)\n12-ab.cd");
    SeedText("fadenwerk_timestring", "datetime", "2024.02.29:23:59:58");
    SeedText("fadenwerk_timestring", "relative", "3_DAYS_AGO $(DATE) $(TIME) $(YEAR)");
    SeedText("helparchive_sources", "topic",
             std::string("\x00", 1) + "<FS=12><B>Page</B><FS=10><NL>Text <LINK=index.vgt,TARGET=main>start</LINK>\n");
    SeedText("helparchive_sources", "picture",
             "\x01picture 8 8 8\npalette 000000 FFFFFF\nfill FFFFFF\nrect 1 1 4 4 000000\n"
             "polygon 000000 0,0 7,0 7,7\nfont 8 bold Arial\ntext 0 0 000000 Ab\n");
    SeedText("helparchive_sources", "links", "\x02# areas\npage.vgt - 0,0 3,0 3,3\nindex.vgt main 1,1 2,1 2,2\n");
    SeedText("helparchive_sources", "list", "\x03Start,index.vgt\nPage,/Pages*One page,page.vgt\n");
    SeedText("fadenwerk_fnmatch", "set", "*.[ch]??\nfile.cpp");
    SeedText("fadenwerk_fnmatch", "negated", "[!a-c]*\\*x\nd*x");
    // A file with two appended entries: the chain starts after a stand-in program.
    TBytes exe = {'M', 'Z', 0, 0};
    const auto put32 = [&exe](uint32_t v) {
        for (int k = 0; k < 4; ++k) exe.push_back(static_cast<uint8_t>(v >> (8 * k)));
    };
    const auto entry = [&](const std::string& name, const std::string& data, bool last) {
        const uint32_t next = last ? 0 : static_cast<uint32_t>(exe.size() + 12 + name.size() + data.size());
        put32(next);
        put32(static_cast<uint32_t>(name.size()));
        exe.insert(exe.end(), name.begin(), name.end());
        put32(static_cast<uint32_t>(data.size()));
        exe.insert(exe.end(), data.begin(), data.end());
    };
    entry("help", "line one\r\nline two", false);
    entry("empty", "", true);
    put32(4);
    put32(0);
    const std::string marker = "trelmoxabin_entries";
    exe.insert(exe.end(), marker.begin(), marker.end());
    Seed("fadenwerk_exedata", "entries", exe);
}

void TopicSeeds() {
    SeedText("tomari_topics", "list",
             std::string("\x00", 1) + "Index,index.vgt\n/Array*Strings,Texts,strings.vgt\n\nalone\n");
    TTopics topics;
    TTopic topic;
    topic.names.Add("Index");
    topic.names.Add("  Strings");
    topic.source = "index.vgt";
    topics += topic;
    TMemBuffer stored;
    topics.WriteToMemBuffer(stored);
    Seed("tomari_topics", "stored", Selected(1, BufferBytes(stored)));

    // A help archive: a topic placing a picture with a link area, the picture, its link file and the index.
    TMemResource help;
    TStringContainer source;
    source.Add("<B>Help</B><NL><IMAGE=p.bmp,LINKS=p.ald> <LINK=index.vgt,TARGET=main>again</LINK>");
    TMemBuffer topicEntry;
    source.WriteToMemBuffer(topicEntry);
    help.AddBuffer("index.vgt", topicEntry);
    TMemBitmap picture = Picture(24);
    TMemBuffer pictureEntry;
    picture.WriteToMemBuffer(pictureEntry);
    help.AddBuffer("p.bmp", pictureEntry);
    TImageLinks links;
    TImageLink* area = links.NewItem();
    area->polygon.Add(POINT{0, 0}, POINT{4, 0}, POINT{4, 2});
    area->target = "index.vgt";
    TMemBuffer linkEntry;
    links.WriteToMemBuffer(linkEntry);
    help.AddBuffer("p.ald", linkEntry);
    help.AddBuffer("topics", stored);
    TMemBuffer helpForm;
    help.WriteToMemBuffer(helpForm);
    TMemBuffer packed;
    helpForm.WriteToPackedBlock(packed);
    Seed("tomari_archive", "packed", Selected(0, BufferBytes(packed)));
    Seed("tomari_archive", "container", Selected(1, BufferBytes(helpForm)));
}

void TableSeeds(const char* folder) {
    Seed("tabulo_chrtable", "courier-new_5.chr", FileBytes(std::string(folder) + "/courier-new_5.chr"));
    TCHRTable table;
    table.SetHeight(3);
    table.AddGlyph('A', 2, {1, 0, 0, 1, 1, 1});
    table.SetCharWidthOnly(' ', 2);
    Seed("tabulo_chrtable", "built", StreamBytes([&](FILE* f) { table.Write(f); }));
}

// The editor's records, each behind the selector of its reader in
// redakt_records; its state stream with and without the text; its settings
// record and macro file; text files; bold-word files.
void EditorSeeds() {
    TTextEditorMacroItem key;
    key.key = 'K';
    key.shift << ssCtrl << ssAlt;
    TTextEditorMacroItem typed;
    typed.kind = mkCharacter;
    typed.ch = 'x';
    TTextEditorMacro macro;
    macro.name = "named";
    macro += key;
    macro += typed;
    TTextEditorMacros macros;
    macros += macro;
    TTextEditorMarkerList markers;
    markers += TEXT_EDITOR_MARKER{3, 1};
    markers += TEXT_EDITOR_MARKER{-1, 9};
    TTextEditorScheme scheme;
    scheme.extensions = "CPP;H";
    scheme.boldWords.Add("int");
    scheme.AutoIndent = true;
    TComboBox history(nullptr);
    for (const char* line : {"sort 3", "", "copy  1"}) history.GetItems()->Add(line);
    history.SetItemIndex(2);
    const auto buffered = [](const auto& write) {
        TMemBuffer buffer;
        write(buffer);
        return BufferBytes(buffer);
    };
    const std::vector<std::pair<const char*, TBytes>> records = {
        {"item-file", StreamBytes([&](FILE* f) { key.SaveToStream(f); })},
        {"item-record", buffered([&](TMemBuffer& b) { key.WriteStreamRecord(b); })},
        {"item-buffer", buffered([&](TMemBuffer& b) { key.WriteToMemBuffer(b); })},
        {"macro-buffer", buffered([&](TMemBuffer& b) { macro.WriteToMemBuffer(b); })},
        {"macro-file", StreamBytes([&](FILE* f) { macro.SaveToStream(f); })},
        {"macro-streamform", buffered([&](TMemBuffer& b) { macro.WriteStreamForm(b); })},
        {"macros-buffer", buffered([&](TMemBuffer& b) { macros.WriteToMemBuffer(b); })},
        {"macros-file", StreamBytes([&](FILE* f) { macros.SaveToStream(f); })},
        {"markers-file", StreamBytes([&](FILE* f) { markers.SaveToStream(f); })},
        {"markers-buffer", buffered([&](TMemBuffer& b) { markers.WriteToMemBuffer(b); })},
        {"scheme-buffer", buffered([&](TMemBuffer& b) { scheme.WriteToMemBuffer(b); })},
        {"combo-history", buffered([&](TMemBuffer& b) { SaveComboHistory(b, &history); })},
    };
    for (size_t i = 0; i < records.size(); ++i)
        Seed("redakt_records", records[i].first, Selected(static_cast<uint8_t>(i), records[i].second));

    TTextEditor editor(nullptr);
    for (const char* line : {"int main() {", "    return 0;", "}"}) editor.lines.Add(line);
    editor.SetCursorPosX(4);
    editor.SetCursorPosY(1);
    editor.selection = TTextEditorSelection{0, 3, 1, 1, 2};
    editor.tabStops.Add(4);
    editor.markers = markers;
    editor.macros[2] += key;
    editor.paramMacros = macros;
    editor.buffers[1].Add("copied");
    editor.fileName = "main.c";
    editor.extraFilters.Add("C files (*.c)|*.c");
    for (const bool withText : {false, true})
        Seed("redakt_statestream", withText ? "with-text" : "state",
             StreamBytes([&](FILE* f) { editor.SaveToStream(f, withText); }));

    // The settings record with and without its bookmarks, and the macro
    // file, full and empty.
    editor.boldWords.Add("return");
    editor.boldWords.Add("\xE9s");
    TTextEditorMacroItem place;
    place.kind = mkParameter;
    place.param = 2;
    editor.paramMacros[0] += place;
    editor.macros[5] += typed;
    editor.schemes.NewItem()->extensions = "CPP;H";
    editor.schemes.Last().boldWords.Add("int");
    if (editor.commandCombo != nullptr) editor.commandCombo->GetItems()->Add("sort 3");
    for (const bool keepMarkers : {true, false}) {
        editor.SetPresrveMarkers(keepMarkers);
        Seed("redakt_settings", keepMarkers ? "record" : "no-bookmarks",
             StreamBytes([&](FILE* f) { editor.SaveSettings(f); }));
    }
    Seed("redakt_macrofile", "macros", StreamBytes([&](FILE* f) { editor.SaveMacros(f); }));
    TTextEditor empty(nullptr);
    Seed("redakt_macrofile", "empty", StreamBytes([&](FILE* f) { empty.SaveMacros(f); }));

    const std::string text = "plain line\n\tindented\ttabs\r\ntrailing  \nlast line without end";
    const std::string page = "&aacute;rv&iacute;zt&ucirc;r&otilde; <b>&amp;</b>\n&Ouml;t\n";
    SeedText("redakt_textfiles", "text", std::string("\x00\x03") + text);
    SeedText("redakt_textfiles", "page", std::string("\x01\x00") + page);
    SeedText("redakt_textfiles", "block", std::string("\x02\x05") + text);
    // Clipboard text: the setting byte, then the block's bytes.
    SeedText("redakt_clipboard", "lines", std::string("\x21") + text + std::string(1, '\0'));
    SeedText("redakt_clipboard", "block", std::string("\x08") + "one\r\ntwo\r\n" + std::string(1, '\0'));
    SeedText("redakt_clipboard", "no-nul", std::string("\x4a") + "\tword\rmore");
    // Bold-word files: as the settings dialog writes one, with several words
    // a line and runs of blanks, and with binary bytes.
    SeedText("redakt_boldwords", "written", "int\r\nreturn\r\n\xE9s\r\n");
    SeedText("redakt_boldwords", "several-a-line", "if  else\twhile\n\n   return   x\r\nclass");
    SeedText("redakt_boldwords", "binary", std::string("\x00\x01 \xFF\xFE\r\n\x80 \r\r\n", 12));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder> <character table folder>\n");
        return 2;
    }
    corpus = argv[1];
    BitmapSeeds();
    ExpressionSeeds();
    ImagePropsSeeds();
    VariableSeeds();
    ScriptSeeds();
    ContainerSeeds();
    TextSeeds();
    TopicSeeds();
    TableSeeds(argv[2]);
    EditorSeeds();
    return 0;
}
