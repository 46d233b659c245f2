// The aggregating commands calc, count and ecount: their values on one
// thread and on several, their messages, their progress notices, and the
// sums and extremes past 32 and 64 bits.
#include <algorithm>
#include <string>
#include <vector>

#include "Edit.h"
#include "RecordingEditor.h"
#include "TextEditorResultDlgs.h"

namespace {

void SelectBlock(TTextEditor& editor, int first, int end) {
    editor.selection = TTextEditorSelection{};
    editor.selection.selStartLine = first;
    editor.selection.selEndLine = end;
}

void Threads(TTextEditor& editor, int workers, int chunk) {
    editor.multiThreaded = workers > 0;
    editor.threadCount = std::max(workers, 1);
    editor.chunkLines = chunk;
}

// Runs a command line; returns what it showed, in order: "result <text>"
// for the calc result dialog, "box <caption>|<text>" for a message box.
class CalcCommandsTest : public RecordingEditorTest {
protected:
    void SetUp() override {
        RecordingEditorTest::SetUp();
        editor = PlaceFocused();
    }

    std::vector<std::string> Run(const std::string& commandLine) {
        std::vector<std::string> shown;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                shown.push_back("box " + interaction.caption + "|" + interaction.text);
                icons.push_back(interaction.style & 0xF0u);
                return win32::ModalReply::Answer(IDOK);
            }
            shown.push_back("result " + SharedCalcResultDlg()->edResult->GetText());
            return win32::ModalReply::Answer(mrOk);
        });
        TString line(commandLine);
        editor->ExecCommand(line);
        return shown;
    }

    TRecordingEditor* editor = nullptr;
    std::vector<UINT> icons;
};

}  // namespace

// Each row on one thread and on two workers with tasks of one or two lines.
TEST_F(CalcCommandsTest, EachCommandShowsItsValue) {
    const std::vector<std::string> fields = {"a|1|10|x", "b|2|-2.5", "c|3|abc", "d|4|7"};
    const struct {
        std::vector<std::string> text;
        int selFirst, selEnd;  // equal: no line block
        const char* command;
        const char* shown;
    } kCases[] = {
        {{"1", "2", "4"}, 0, 0, "calc ave", "2"},
        {{"1", "2", "4"}, 0, 0, "calc dave", "2.33333"},
        {{"1", "2", "4"}, 0, 0, "calc sum", "7"},
        {{"5", "abc"}, 0, 0, "calc min", "0"},
        {{"5", "abc"}, 0, 0, "calc max", "5"},
        {{"-9", "-4", "-7", "-12", "-5"}, 0, 0, "calc max", "-4"},
        {{"-9", "-4", "-7", "-12", "-5"}, 0, 0, "calc min", "-12"},
        {{"-9", "-4", "-7", "-12", "-5"}, 0, 0, "calc dmax", "-4"},
        {{"1.5", "x", "-0.25", "2"}, 0, 0, "calc dsum", "3.25"},
        {{"1.5", "x", "-0.25", "2"}, 0, 0, "calc dmin", "-0.25"},
        {{"1.5", "x", "-0.25", "2"}, 0, 0, "calc sum", "2"},  // only whole numbers count
        {fields, 0, 0, "calc sum strtok(line, '|', 2)", "17"},
        {fields, 0, 0, "calc dsum strtok(line, '|', 2)", "14.5"},
        {fields, 0, 0, "calc sum strtok(line, '|', 1)", "10"},
        {fields, 1, 3, "calc sum strtok(line, '|', 1)", "5"},
        {fields, 0, 0, "calc max line_number * 10", "30"},
        {fields, 0, 0, "calc sum ", "0"},  // a blank after the word: no expression
        {{"3000000000", "-5"}, 0, 0, "calc sum", "2999999995"},
        {{"3000000000", "-5"}, 0, 0, "calc max", "3000000000"},
        // min and max give a value read, however far past 32 bits; only
        // a range without lines shows the start values.
        {{"3000000000", "4000000000"}, 0, 0, "calc min", "3000000000"},
        {{"-3000000000"}, 0, 0, "calc max", "-3000000000"},
        {{"-2147483648"}, 0, 0, "calc max", "-2147483648"},
        {{"9223372036854775807", "9223372036854775807"}, 0, 0, "calc min", "9223372036854775807"},
        {{"-9223372036854775808", "-9223372036854775808"}, 0, 0, "calc max", "-9223372036854775808"},
        {{}, 0, 0, "calc min", "2147483647"},
        {{}, 0, 0, "calc max", "-2147483647"},
        // Sums and averages are exact past 2^63.
        {{"9223372036854775807", "1"}, 0, 0, "calc sum", "9223372036854775808"},
        {{"-9223372036854775808", "-1", "-9223372036854775808"}, 0, 0, "calc sum", "-18446744073709551617"},
        {{"9223372036854775807", "9223372036854775807"}, 0, 0, "calc ave", "9223372036854775807"},
        {{"-9223372036854775808", "-9223372036854775807"}, 0, 0, "calc ave", "-9223372036854775807"},
        {{}, 0, 0, "calc ave", "0"},
        {{}, 0, 0, "calc dave", "0"},
        {{}, 0, 0, "calc sum", "0"},
        {{"aaaa"}, 0, 0, "count aa", "2"},
        {{"aaaa", "baab", "", "aa aa"}, 0, 0, "count aa", "5"},
        {{"aaaa", "baab"}, 0, 0, "count a a", "0"},
        {{"aaaa", "baab"}, 0, 0, "count", "0"},
        {fields, 0, 0, "ecount line_number >= 2", "2"},
        {fields, 0, 0, "ecount strlen(line) > 6", "3"},
        {fields, 2, 4, "ecount sel_number == 1", "1"},
    };
    for (int workers : {0, 2}) {
        for (int chunk : {1, 2}) {
            for (const auto& c : kCases) {
                SetLines(*editor, c.text);
                SelectBlock(*editor, c.selFirst, c.selEnd);
                Threads(*editor, workers, chunk);
                EXPECT_EQ(Run(c.command), std::vector<std::string>{std::string("result ") + c.shown})
                    << c.command << ", " << workers << " workers, chunk " << chunk;
                EXPECT_FALSE(editor->GetModified());
            }
        }
    }
}

TEST_F(CalcCommandsTest, AnUnknownOperationOrABadExpressionShowsItsMessageAndNoValue) {
    SetLines(*editor, {"1", "2"});
    const struct {
        const char* command;
        const char* box;
    } kCases[] = {
        {"calc total", "box calc|Unknown operation"},
        {"calc Sum", "box calc|Unknown operation"},  // the word is compared exactly
        {"calc", "box calc|Unknown operation"},
        {"calc total line +", "box Expression|Wrong expression: line +"},  // compiled first
        {"calc sum line +", "box Expression|Wrong expression: line +"},
        {"ecount line ==", "box Expression|Wrong expression: line =="},
        {"ecount", "box Expression|Wrong expression: "},
    };
    for (int workers : {0, 2}) {
        for (const auto& c : kCases) {
            Threads(*editor, workers, 1);
            icons.clear();
            EXPECT_EQ(Run(c.command), std::vector<std::string>{c.box}) << c.command;
            EXPECT_EQ(icons, std::vector<UINT>{static_cast<UINT>(MB_ICONERROR)}) << c.command;
        }
    }
}

// Start, each line on one thread, end, then the value; the workers report
// nothing between start and end.
TEST_F(CalcCommandsTest, TheCommandsReportTheirProgress) {
    SetLines(*editor, {"4", "5", "6"});
    for (const char* command : {"calc sum", "count 5", "ecount strlen(line) > 0"}) {
        for (int workers : {0, 2}) {
            Threads(*editor, workers, 1);
            std::vector<std::string> log;
            editor->OnProgressChange = [&](TTextEditor*, int total, int position) {
                log.push_back(std::to_string(total) + "," + std::to_string(position));
            };
            const std::vector<std::string> shown = Run(command);
            editor->OnProgressChange = nullptr;
            log.insert(log.end(), shown.begin(), shown.end());
            const bool threaded = workers > 0 && std::string(command).rfind("calc", 0) == 0;
            const std::vector<std::string> expected =
                threaded ? std::vector<std::string>{"0,-1", "0,-2", log.back()}
                         : std::vector<std::string>{"0,-1", "3,0", "3,1", "3,2", "0,-2", log.back()};
            EXPECT_EQ(log, expected) << command << ", " << workers << " workers";
        }
    }
}

// Sums in 64 bits: a million lines of 1000000 on one thread and on four.
TEST_F(CalcCommandsTest, AMillionLinesOfAMillionSumToTenToTheTwelfth) {
    SetLines(*editor, std::vector<std::string>(1000000, "1000000"));
    for (int workers : {0, 4}) {
        Threads(*editor, workers, 10000);
        EXPECT_EQ(Run("calc sum"), std::vector<std::string>{"result 1000000000000"}) << workers << " workers";
        EXPECT_EQ(Run("calc ave"), std::vector<std::string>{"result 1000000"}) << workers << " workers";
    }
}

// A million values at either end of 64 bits sum and average exactly, on one
// thread and on four.
TEST_F(CalcCommandsTest, AMillionValuesAtTheEndsOf64BitsSumExactly) {
    const struct {
        const char* value;
        const char* sum;
    } kCases[] = {
        {"9223372036854775807", "9223372036854775807000000"},
        {"-9223372036854775808", "-9223372036854775808000000"},
    };
    for (const auto& c : kCases) {
        SetLines(*editor, std::vector<std::string>(1000000, c.value));
        for (int workers : {0, 4}) {
            Threads(*editor, workers, 10000);
            EXPECT_EQ(Run("calc sum"), std::vector<std::string>{std::string("result ") + c.sum}) << workers;
            EXPECT_EQ(Run("calc ave"), std::vector<std::string>{std::string("result ") + c.value}) << workers;
        }
    }
}
