// Tests of the start-up: the forms it makes, how the loop ends, what happens
// to errors; and of the program: no run without a display, its pictures.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "ArrowScroller.h"
#include "LoopStep.h"
#include "MostranaFixture.h"
#include "Registration.h"
#include "Responder.h"

namespace {

using StartupTest = MostranaTest;

TEST_F(StartupTest, MakesTheThreeFormsInOrderWithTheFirstAsTheMainForm) {
    std::vector<TComponent*> globals, owned;
    std::vector<std::string> classes;
    TForm* mainForm = nullptr;
    std::vector<bool> shown;
    TLoopStep step([&] {
        globals = {Form1, Form2, Form3};
        for (int i = 0; i < Application->GetComponentCount(); ++i) {
            owned.push_back(Application->GetComponent(i));
            classes.push_back(Application->GetComponent(i)->ClassName());
        }
        mainForm = Application->GetMainForm();
        for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form2), static_cast<TForm*>(Form3)})
            shown.push_back(form->GetVisible() && IsWindowVisible(form->GetHandle()));
        Form1->Close();
    });
    EXPECT_EQ(RunMostrana(), 0);
    ASSERT_TRUE(step.Ran());
    EXPECT_EQ(owned, globals);
    EXPECT_EQ(classes, (std::vector<std::string>{"TForm1", "TForm2", "TForm3"}));
    EXPECT_EQ(mainForm, globals[0]);
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true}));
    // The forms go when the program ends.
    EXPECT_EQ(Application->GetComponentCount(), 0);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Application->GetMainForm(), nullptr);
}

// From start to close no message box shows: not while the forms are made, not
// when the program ends.
TEST_F(StartupTest, ClosingAnyOfTheFormsEndsTheProgram) {
    std::vector<std::string> boxes;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        boxes.push_back(interaction.caption + ": " + interaction.text);
        return win32::ModalReply::Answer(interaction.defaultAnswer);
    });
    for (int closed = 0; closed < 3; ++closed) {
        bool mainFormClosed = false;
        TLoopStep step([&] {
            Form1->OnClose = [&](TObject*, TCloseAction&) { mainFormClosed = true; };
            TForm* forms[] = {Form1, Form2, Form3};
            forms[closed]->Close();
            // Ends the loop all the same, so that a failure does not hang the test.
            if (!mainFormClosed) Application->Terminate();
        });
        EXPECT_EQ(RunMostrana(), 0) << "Form" << closed + 1;
        EXPECT_TRUE(step.Ran()) << "Form" << closed + 1;
        EXPECT_TRUE(mainFormClosed) << "Form" << closed + 1;
        EXPECT_TRUE(Application->GetTerminated()) << "Form" << closed + 1;
    }
    EXPECT_EQ(boxes, std::vector<std::string>{});
}

// Makes the stored layouts' arrow scrollers fail while it lives.
class ScrollerFailure {
public:
    explicit ScrollerFailure(TComponentFactory factory) {
        if (factory)
            RegisterClass(TComponentClass{TArrowScroller::StaticClassInfo(), factory});
        else
            UnRegisterClass(TArrowScroller::StaticClassInfo());
    }
    ~ScrollerFailure() { RegisterClass<TArrowScroller>(); }
};

TComponent* ThrowPlainError(TComponent*) { throw std::runtime_error("no scroller today"); }

TEST_F(StartupTest, AnErrorWhileTheFormsAreMadeGoesToTheExceptionDialog) {
    struct Case {
        const char* what;
        TComponentFactory factory;  // null: the class is not registered
        const char* handed;         // what the message HandleException gets holds
        bool boxShown;
    };
    const Case cases[] = {
        {"an Exception", nullptr, "class TArrowScroller not found", true},
        {"another error", &ThrowPlainError, "", false},
    };
    for (const Case& c : cases) {
        std::vector<win32::ModalInteraction> boxes;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            boxes.push_back(interaction);
            return win32::ModalReply::Answer(IDOK);
        });
        // Records what start-up hands on, then shows it as the application would.
        std::vector<std::string> handed;
        Application->OnException = [&](TObject*, const Exception& error) {
            handed.push_back(error.Message());
            Application->ShowException(error);
        };
        int result = -1;
        {
            ScrollerFailure failure(c.factory);
            result = RunMostrana();
        }
        EXPECT_EQ(result, 0) << c.what;
        ASSERT_EQ(handed.size(), 1u) << c.what;
        if (*c.handed) {
            EXPECT_NE(handed[0].find(c.handed), std::string::npos) << c.what << ": " << handed[0];
        } else {
            EXPECT_EQ(handed[0], "") << c.what;
        }
        ASSERT_EQ(boxes.size(), c.boxShown ? 1u : 0u) << c.what;
        if (c.boxShown) {
            EXPECT_EQ(boxes[0].kind, win32::ModalKind::MessageBox);
            EXPECT_EQ(boxes[0].text, handed[0] + ".");
            EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
        }
        EXPECT_EQ(Application->GetComponentCount(), 0) << c.what;
    }
}

// Runs the program with changes to its environment; gives its exit code and what it wrote.
int RunProgram(const std::string& environment, std::string& output) {
    const std::string command = "env " + environment + " timeout 60 " MOSTRANA_PROGRAM " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[256];
    output.clear();
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MostranaProgram, RefusesToRunWithoutADisplayOrWithABadShotsFolder) {
    struct Case {
        std::string environment;
        std::string output;
    };
    const Case cases[] = {
        {"-u SUITE_DISPLAY -u DISPLAY -u WAYLAND_DISPLAY -u MOSTRANA_SHOTS",
         "mostrana: a graphical display is needed (X11 or Wayland), and none could be opened\n"},
        {"SUITE_DISPLAY=headless MOSTRANA_SHOTS=/nonexistent/folder",
         "mostrana: MOSTRANA_SHOTS names no folder: /nonexistent/folder\n"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(RunProgram(c.environment, output), 1) << c.environment;
        EXPECT_EQ(output, c.output) << c.environment;
    }
}

// Pictures need no real display: the headless back end draws the same surfaces.
TEST(MostranaProgram, SavesThePicturesItCanAndEndsWithOneWhenOneFails) {
    const char* temporary = std::getenv("TMPDIR");
    std::string folder = std::string(temporary && *temporary ? temporary : "/tmp") + "/mostrana_shots_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    // A folder where the first picture would go.
    const std::string blocked = folder + "/Form1.bmp";
    ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);
    std::string output;
    EXPECT_EQ(RunProgram("SUITE_DISPLAY=headless MOSTRANA_SHOTS=" + folder, output), 1);
    EXPECT_EQ(output, "mostrana: could not save the picture " + folder + "/Form1.bmp\n");
    for (const char* name : {"/Form2.bmp", "/Form3.bmp"}) {
        struct stat facts {};
        EXPECT_EQ(stat((folder + name).c_str(), &facts), 0) << name;
        EXPECT_GT(facts.st_size, 54) << name;
        std::remove((folder + name).c_str());
    }
    rmdir(blocked.c_str());
    rmdir(folder.c_str());
}

}  // namespace
