// Tests of the array statements at run time: scripts compiled, run, and their arrays read back.
#include "ArrayRuntime.h"

#include "Interpreter.h"
#include "KroTestSupport.h"

namespace {

class ArrayRuntimeTest : public KroCompileTest {
protected:
    void TearDown() override {
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    // Compiles and runs the script, then shows the array: a 1-D array's items
    // joined by commas, a 2-D array as lines "x" columns.
    std::string RunAndShow(const std::string& script, const char* array) {
        const int before = Variables.GetCount();
        EXPECT_TRUE(Compile(script)) << script << " code " << KRO_ErrorCode;
        KRO_Run(program, false);
        std::string shown = "missing";
        if (const TVariable* v = Variables.GetVar(array)) {
            if (v->type == vtArray) shown = v->AsString(',').str();
            if (v->type == vtArray2) shown = std::to_string(v->value.a2.lines) + "x" + std::to_string(v->value.a2.cols);
        }
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
        return shown;
    }

    int variablesAtStart = Variables.GetCount();
};

struct TArrayCase {
    const char* script;
    const char* array;
    const char* expected;
};

const TArrayCase kArrayCases[] = {
    // Declarations and dim; a size that cannot be had changes nothing.
    {"int a[]", "a", "0,0,0,0,0,0,0,0,0,0"},
    {"int m[][]", "m", "10x10"},
    {"int a[3]\ndim a, 5", "a", "0,0,0,0,0"},
    {"int a[] = {1,2,3}\ndim a, 2000000000", "a", "1,2,3"},
    {"int a[] = {1,2,3}\ndim a, -1", "a", "1,2,3"},
    {"int a[] = {1,2,3}\ndim a, 0", "a", ""},
    {"int a[2000000000]", "a", ""},
    {"int m[2,3]\ndim m, 4, 5", "m", "4x5"},
    {"int m[2,3]\ndim m, 2000000000, 2000000000", "m", "2x3"},
    {"int m[2,3]\ndim m, -1, 4", "m", "2x3"},
    // Items regained after a shrink start at zero.
    {"int a[] = {1,2,3}\ndim a, 1\ndim a, 3", "a", "1,0,0"},
    {"string s[] = {'x','y'}\ndim s, 1\ndim s, 2", "s", "x,"},
    {"int m[2,2]\nm[0,1] = 4\nm[1,1] = 5\ndim m, 1, 1\ndim m, 2, 2\nint t[]\na_getcol m, 1, t", "t", "0,0"},
    // a_filter keeps first occurrences in order.
    {"int a[] = {3,0,3,0,5}\na_filter a", "a", "3,0,5"},
    {"string s[] = {'','a',''}\na_filter s", "s", ",a"},
    {"point p[] = {{1,2},{1,3},{1,2}}\na_filter p", "p", "{1, 2},{1, 3}"},
    // a_add and a_insert (clamped), int items keep 64 bits.
    {"int a[] = {1}\na_add a, 5000000000", "a", "1,5000000000"},
    {"double d[] = {1}\na_add d, 'text'", "d", "1,0"},
    {"string s[] = {'x','y','z'}\na_insert s, 0, 'v'", "s", "v,x,y,z"},
    {"string s[] = {'x','y','z'}\na_insert s, 99, 'v'", "s", "x,y,z,v"},
    {"string s[] = {'x','y','z'}\na_insert s, -5, 'v'", "s", "v,x,y,z"},
    {"int k = 0\nint a[] = {0,0}\na_insert a, k += 1, k * 10", "a", "0,10,0"},
    // a_delete ignores indices outside the array.
    {"string s[] = {'x','y','z'}\na_delete s, -1", "s", "x,y,z"},
    {"string s[] = {'x','y','z'}\na_delete s, 3", "s", "x,y,z"},
    {"string s[] = {'x','y','z'}\na_delete s, 1", "s", "x,z"},
    // a_sort; point and complex arrays stay as they are.
    {"double d[] = {1.5,-2,7}\na_sort d, desc", "d", "7,1.5,-2"},
    {"int a[] = {3,-1,5000000000,2}\na_sort a, asc", "a", "-1,2,3,5000000000"},
    {"string s[] = {'b','c','a'}\na_sort s, asc", "s", "a,b,c"},
    {"point p[] = {{3,4},{1,2}}\na_sort p, asc", "p", "{3, 4},{1, 2}"},
    // a_reverse of each array named.
    {"int a[] = {1,2,3,4,5}\na_reverse a", "a", "5,4,3,2,1"},
    {"int a[] = {1,2}\nstring s[] = {'x','y','z','w'}\na_reverse a, s", "s", "w,z,y,x"},
    {"int a[] = {1,2}\nstring s[] = {'x','y','z','w'}\na_reverse a, s", "a", "2,1"},
    // a_fill and a_exchange.
    {"int a[3]\na_fill a, 4", "a", "4,4,4"},
    {"string s[2]\na_fill s, 'q'", "s", "q,q"},
    {"int a[] = {1,2,3}\na_exchange a, 0, 2", "a", "3,2,1"},
    {"int a[] = {1,2,3}\na_exchange a, 0, 3", "a", "1,2,3"},
    {"point p[] = {{1,2},{3,4}}\na_exchange p, 1, 0", "p", "{3, 4},{1, 2}"},
    {"string s[] = {'x','y'}\na_exchange s, 0, 1", "s", "y,x"},
    // a_getitems clamps both ends and does nothing on an empty range.
    {"int a[] = {1,2,3}\nint t[] = {9}\na_getitems a, 2, 1, t", "t", "9"},
    {"int a[] = {1,2,3}\nint t[] = {9}\na_getitems a, -5, 99, t", "t", "1,2,3"},
    {"int a[] = {1,2,3}\nint t[] = {9}\na_getitems a, 1, 1, t", "t", "2"},
    // a_getline and a_getcol ignore indices outside the array.
    {"int m[2,3]\nm[0,1] = 7\nint t[] = {9}\na_getline m, 2, t", "t", "9"},
    {"int m[2,3]\nm[0,1] = 7\nint t[] = {9}\na_getline m, 0, t", "t", "0,7,0"},
    {"int m[2,3]\nm[0,1] = 7\nint t[] = {9}\na_getcol m, 1, t", "t", "7,0"},
    {"int m[2,3]\nm[0,1] = 7\nint t[] = {9}\na_getcol m, 3, t", "t", "9"},
    // a_assign gives exactly the values named.
    {"string s[5]\na_assign s, {'p','q','r'}", "s", "p,q,r"},
    {"complex c[]\na_assign c, {{1,2}}", "c", "{1, 2}"},
};

TEST_F(ArrayRuntimeTest, StatementsTable) {
    for (const TArrayCase& c : kArrayCases) EXPECT_EQ(RunAndShow(c.script, c.array), c.expected) << c.script;
}

TEST_F(ArrayRuntimeTest, StatementsInsideAFunctionReachTheLocalArray) {
    EXPECT_EQ(RunAndShow("func int count()\nint local[] = {4,5}\na_add local, 6\nreturn array_count(local)\nend\n"
                         "int n[] = {0}\nn[0] = count()",
                         "n"),
              "3");
}

TEST_F(ArrayRuntimeTest, TokensWithoutAnArrayOrRecordDoNothing) {
    Variables.NewInt("scalar", false, 7);
    TToken token(ttArrayAdd);
    EXPECT_EQ(RunArrayStatement(program, token), 0);
    auto* args = new TStatementArgs(ttArrayAdd);
    args->variables.push_back(KRO_VARINFO{0, 0});  // the last variable: the int
    token.record.reset(args);
    EXPECT_EQ(RunArrayStatement(program, token), 0);
    EXPECT_EQ(Variables.GetVar("scalar")->value.i, 7);
}

}  // namespace
