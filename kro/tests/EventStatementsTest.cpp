// Tests of the event statement: binding each event to a fitting function, its errors and the saved form.
#include "KroTestSupport.h"

namespace {

class EventStatementsTest : public KroCompileTest {};

TEST_F(EventStatementsTest, EachEventBindsAFunctionThatTakesItsParameters) {
    const struct {
        const char* event;
        const char* parameters;
        int code;
    } cases[] = {
        {"Click", "int x, int y", 1},
        {"DoubleClick", "int x, int y", 2},
        {"MouseDown", "int x, int y, int buttons", 3},
        {"MouseMove", "int x, int y, int buttons", 4},
        {"MouseUp", "int x, int y, int buttons", 5},
        {"KeyPress", "string key", 6},
        {"Paint", "", 7},
        {"Resize", "int width, int height", 8},
        // A string parameter takes a variable of any type.
        {"Click", "string x, int y", 1},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("func int other()\nend\nfunc int handler(") + c.parameters +
                                 ")\nend\nevent " + c.event + ", handler";
        ASSERT_TRUE(Compile(text)) << c.event << " " << KRO_ErrorCode;
        ASSERT_EQ(program.events.GetCount(), 1) << c.event;
        EXPECT_EQ(program.events[0].code, c.code) << c.event;
        EXPECT_EQ(program.events[0].function, 1) << c.event;
    }
}

TEST_F(EventStatementsTest, EveryCheckFailsWithItsCode) {
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"event", 35},
        {"event Click", 35},
        {"event Click, onClick, more", 35},
        {"event Clack, onClick", 46},
        {"event click, onClick", 46},
        {"event , onClick", 46},
        {"event Click, missing", 47},
        {"event Click, ", 47},
        {"event Click, later", 47},
        {"event MouseDown, onClick", 48},
        {"event Paint, onClick", 48},
        {"event KeyPress, onClick", 48},
        {"event Click, onArray", 48},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("func int onClick(int x, int y)\nend\nfunc int onArray(int x[], int y)\nend\n") +
                                 c.line + "\nfunc int later(int x, int y)\nend";
        EXPECT_FALSE(Compile(text)) << c.line;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.line;
        EXPECT_EQ(KRO_ErrorLine, 5) << c.line;
        EXPECT_EQ(program.events.GetCount(), 0) << c.line;
    }
}

TEST_F(EventStatementsTest, BindingsSurviveSaveAndLoad) {
    ASSERT_TRUE(Compile("func int onPaint()\nend\nfunc int onKey(string k)\nend\nfunc int onSize(string w, string h)\nend\n"
                        "event Paint, onPaint\nevent KeyPress, onKey\nevent Resize, onSize"));
    ASSERT_EQ(program.events.GetCount(), 3);
    EXPECT_EQ(program.events[2].code, 8);
    EXPECT_EQ(program.events[2].function, 2);
    TProgram loaded;
    ASSERT_TRUE(ReloadProgram(program, loaded));
    ASSERT_EQ(loaded.events.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.events[i].code, program.events[i].code);
        EXPECT_EQ(loaded.events[i].function, program.events[i].function);
    }
}

}  // namespace
