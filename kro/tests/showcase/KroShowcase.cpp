// Runs a drawing script in the Paint of a real window, then a function of the
// same script that builds and shows a dialog, and saves each window as a
// 24-bit BMP file (arguments 1 and 2) for looking at; not a test.
#include <cstdio>
#include <string>

#include "Buttons.h"
#include "ComponentInfos.h"
#include "Compiler.h"
#include "DrawingRuntime.h"
#include "Form.h"
#include "Interpreter.h"
#include "ProcessBar.h"
#include "ScriptCalls.h"
#include "Win32.h"
#include "display/WindowPicture.h"

namespace {

const char* const kPicture =
    "const SKY = 135 + 206 * 256 + 235 * 65536\n"
    "const GRASS = 60 + 170 * 256 + 70 * 65536\n"
    "const YELLOW = 255 + 215 * 256\n"
    "setpencolor SKY\n"
    "setbrushcolor SKY\n"
    "fillrect 0, 0, 399, 169\n"
    "setpencolor GRASS\n"
    "setbrushcolor GRASS\n"
    "fillrect 0, 170, 399, 299\n"
    "// A rainbow of three arcs from the right over the top to the left.\n"
    "int band\n"
    "for band = 0; band < 3; band += 1\n"
    "  setpencolor 255 * (band == 0) + 160 * 256 * (band == 1) + 200 * 65536 * (band == 2)\n"
    "  arc 180, 170, 170 - band, 130 - band, pi, 0\n"
    "end\n"
    "setpencolor YELLOW\n"
    "setbrushcolor YELLOW\n"
    "fillcircle 300, 50, 22\n"
    "int ray\n"
    "for ray = 0; ray < 12; ray += 1\n"
    "  line 300 + 27 * cos(ray * pi / 6), 50 + 27 * sin(ray * pi / 6), 300 + 38 * cos(ray * pi / 6), 50 + 38 * sin(ray * pi / 6)\n"
    "end\n"
    "setpencolor 0\n"
    "setbrushcolor 150 + 90 * 256 + 50 * 65536\n"
    "fillrect 70, 130, 170, 215\n"
    "setbrushcolor 190 + 40 * 256 + 40 * 65536\n"
    "point roof[] = {{60, 130}, {120, 80}, {180, 130}}\n"
    "polygon roof\n"
    "setbrushcolor 90 + 50 * 256 + 20 * 65536\n"
    "fillrect to_point(105, 170), to_point(130, 215)\n"
    "setbrushcolor 250 + 240 * 256 + 160 * 65536\n"
    "fillrect 80, 145, 98, 162\n"
    "rect 142, 145, 160, 162\n"
    "line 151, 145, 151, 162\n"
    "setbrushcolor 40 + 120 * 256 + 40 * 65536\n"
    "fillellipse 270, 160, 30, 40\n"
    "setbrushcolor 100 + 60 * 256 + 30 * 65536\n"
    "fillrect 265, 195, 275, 225\n"
    "setbrushcolor 255 + 255 * 256 + 255 * 65536\n"
    "fillcircle 215, 225, 22\n"
    "setbrushcolor 240 + 140 * 256\n"
    "pie 215, 225, 22, 22, 0, pi / 2\n"
    "setbrushcolor 200 * 65536\n"
    "chord 215, 225, 22, 22, pi, 3 * pi / 2\n"
    "circle 215, 225, 26\n"
    "ellipse 40, 225, 25, 10\n"
    "point path[] = {{10, 250}, {30, 240}, {50, 250}, {70, 240}, {90, 250}}\n"
    "polyline path\n"
    "setpencolor 128 * 65536\n"
    "setfont 'Arial', 1, 22, 0\n"
    "text 12, 8, 'KRO drawing'\n"
    "setfont 'Arial', 2, 14, 0.3\n"
    "text to_point(12, 60), 'tilted'\n";

// Called by the host once the picture is saved: asks for a colour, a size and
// a name, and returns them joined, or '' when the dialog is cancelled.
const char* const kDialogFunction =
    "func string askcolour(string question)\n"
    "  int dialog = NewDialog(80, 80, 340, 230, 'Choose a colour')\n"
    "  int prompt = NewLabel(dialog, 12, 12, question)\n"
    "  int colours = NewListBox(dialog, 12, 34, 140, 100)\n"
    "  string names[] = {'red', 'green', 'blue', 'yellow'}\n"
    "  int done = SetControlLines(colours, names)\n"
    "  done = SetControlInt(colours, 1)\n"
    "  int owner = NewEdit(dialog, 170, 34, 150, 22)\n"
    "  done = SetControlText(owner, 'typed text')\n"
    "  int remember = NewCheckBox(dialog, 170, 66, 'Remember me')\n"
    "  int sizes = NewComboBox(dialog, 170, 90, 150, 22, 1)\n"
    "  string sizeNames[] = {'small', 'medium', 'large'}\n"
    "  done = SetControlLines(sizes, sizeNames)\n"
    "  done = SetControlInt(sizes, 2)\n"
    "  int progress = NewProcessBar(dialog, 170, 120, 150, 18)\n"
    "  int ok = NewButton(dialog, 80, 165, 75, 25, 'OK', 1)\n"
    "  int cancel = NewButton(dialog, 180, 165, 75, 25, 'Cancel', 2)\n"
    "  string answer = ''\n"
    "  if ShowDialog(dialog) == 1\n"
    "    answer = GetControlText(colours) + ', ' + GetControlText(sizes) + ', ' + GetControlText(owner)\n"
    "  end\n"
    "  int released = ReleaseDialog(dialog)\n"
    "  return answer\n"
    "end\n";

// ---- the picture window

TProgram* picture = nullptr;

LRESULT CALLBACK PictureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        KRO_OutDC = BeginPaint(window, &paint);
        KRO_InitGraph();
        if (picture != nullptr) KRO_Run(*picture, true);
        EndPaint(window, &paint);
        KRO_OutDC = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- driving the dialog as a user would, from a timer of its modal loop

constexpr UINT kTickMilliseconds = 200;
constexpr int kCheckTick = 3;
// Child windows need over a second to paint under a virtual display.
constexpr int kSnapshotTick = 10;
constexpr int kGiveUpTick = 25;

const char* dialogPath = nullptr;
bool dialogSaved = false;
int dialogTicks = 0;

// The script window now showing, or null.
TForm* ShownScriptDialog() {
    TComponentInfos* registry = ComponentInfos();
    for (int i = 0; registry != nullptr && i < registry->GetCount(); ++i) {
        TForm* form = dynamic_cast<TForm*>((*registry)[i]->component);
        if (form != nullptr && form->GetVisible()) return form;
    }
    return nullptr;
}

// The first control of that class on the form whose modal result is result
// (any result for classes other than TButton), or null.
template <class Control>
Control* FindControl(TForm* form, TModalResult result = mrNone) {
    for (int i = 0; i < form->GetControlCount(); ++i) {
        Control* control = dynamic_cast<Control*>(form->GetControl(i));
        if (control == nullptr) continue;
        if (result == mrNone) return control;
        if (TButton* button = dynamic_cast<TButton*>(control); button && button->GetModalResult() == result)
            return control;
    }
    return nullptr;
}

void Click(TWinControl* control) {
    if (control == nullptr) return;
    HWND window = control->GetHandle();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Fills the bar as host work would, ticks the check box, saves the window
// and clicks OK; closes the window should the click not end it.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    TForm* form = ShownScriptDialog();
    if (form == nullptr) return;
    ++dialogTicks;
    if (TProcessBar* bar = FindControl<TProcessBar>(form)) bar->SetPos(dialogTicks * 6);
    if (dialogTicks == kCheckTick) Click(FindControl<TCheckBox>(form));
    if (dialogTicks == kSnapshotTick) {
        dialogSaved = win32::SaveWindowPicture(form->GetHandle(), dialogPath);
        Click(FindControl<TButton>(form, mrOk));
    }
    if (dialogTicks == kGiveUpTick) PostMessageA(form->GetHandle(), WM_CLOSE, 0, 0);
}

// ---- the two runs

bool CompileProgram(const std::string& script, TProgram& program) {
    TStringContainer source;
    for (size_t start = 0, end; start < script.size(); start = end + 1) {
        end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        source.Add(TString(script.substr(start, end - start)));
    }
    TStringContainer directories;
    TUnitSubsList units;
    if (KRO_Compile(source, program, directories, units)) return true;
    std::printf("line %d: %s\n", KRO_ErrorLine, KRO_GetErrorMessage(KRO_ErrorCode).c_str());
    return false;
}

// Shows the program's drawing in a window, saves it and closes the window
// (its Paint must not run the program again while a function of it runs).
bool DrawPicture(TProgram& program, const char* path) {
    picture = &program;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PictureWindowProc;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "KroPicture";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "KroPicture", "KRO drawing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 376,
                                  299, nullptr, nullptr, nullptr, nullptr);
    win32::PumpMessagesFor(800);
    const bool saved = win32::SaveWindowPicture(window, path);
    DestroyWindow(window);
    picture = nullptr;
    std::printf("%s %s\n", saved ? "saved" : "could not save", path);
    return saved;
}

// Calls the program's dialog function against the globals the drawing left.
bool AskThroughDialog(TProgram& program, const char* path) {
    dialogPath = path;
    TVariableList params;
    params.NewString("question", false, TString("Your favourite colour:"));
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, DriveDialog);
    const EXPRVALUE answer = KRO_CallFunction(program, KRO_GetFunctionIndex(program, "askcolour"), params);
    KillTimer(nullptr, timer);
    std::printf("%s %s\n", dialogSaved ? "saved" : "could not save", path);
    std::printf("dialog answered '%s'\n", answer.text.c_str());
    return dialogSaved;
}

}  // namespace

int main(int argc, char** argv) {
    const char* picturePath = argc > 1 ? argv[1] : "kro.bmp";
    const char* dialogFile = argc > 2 ? argv[2] : "kro-dialog.bmp";
    TProgram program;
    if (!CompileProgram(std::string(kPicture) + kDialogFunction, program)) return 1;
    const bool drawn = DrawPicture(program, picturePath);
    const bool asked = AskThroughDialog(program, dialogFile);
    return drawn && asked ? 0 : 1;
}
