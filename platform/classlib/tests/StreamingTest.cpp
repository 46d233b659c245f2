// Form texts and resources: loading, inheriting, binding events, writing, and damaged input.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <locale>

#include "Exceptions.h"
#include "Module.h"
#include "Streaming.h"
#include "StreamingFixture.h"

// The C library keeps the search path it builds from LOCPATH when it loads a
// locale from there (the decimal-comma locale below); not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace {

template <class T>
T* Find(TComponent* root, const char* name) {
    return dynamic_cast<T*>(root->FindComponent(name));
}

// A locale that writes a decimal comma, compiled once per process with
// localedef into a temporary folder when none is installed.
class TDecimalCommaLocale {
public:
    static const char* Name() {
        static TDecimalCommaLocale locale;
        return locale.name_;
    }

private:
    TDecimalCommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "cs_CZ.UTF-8"})
            if (WritesComma(name)) {
                name_ = name;
                return;
            }
        char folder[] = "/tmp/suite-locales-XXXXXX";
        if (!mkdtemp(folder)) return;
        folder_ = folder;
        std::string command = "localedef -i de_DE -f UTF-8 " + folder_ + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        setenv("LOCPATH", folder, 1);
        if (WritesComma("de_DE.UTF-8")) name_ = "de_DE.UTF-8";
    }
    ~TDecimalCommaLocale() {
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    static bool WritesComma(const char* name) {
        if (!std::setlocale(LC_NUMERIC, name)) return false;
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        std::setlocale(LC_NUMERIC, "C");
        return std::strcmp(text, "1,5") == 0;
    }

    const char* name_ = nullptr;
    std::string folder_;
};

// The process locale (C and C++) set to name for the object's life.
class ScopedProcessLocale {
public:
    explicit ScopedProcessLocale(const char* name) { std::locale::global(std::locale(name)); }
    ~ScopedProcessLocale() { std::locale::global(std::locale::classic()); }
};

template <class Real>
bool SameBits(Real a, Real b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A form with one panel (or none, to read a text into).
struct TRealForm {
    TBaseTestForm form{nullptr};
    TTestPanel* panel = nullptr;
    explicit TRealForm(bool withPanel = true) {
        form.SetName("Reals");
        if (!withPanel) return;
        panel = new TTestPanel(&form);
        panel->SetName("Panel1");
        panel->SetParent(&form);
    }
};

TEST_F(StreamingTest, FormFromResourceHasItsControlsPropertiesAndBoundEvents) {
    TBaseTestForm form(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&form, TCustomControl::StaticClassInfo()));

    EXPECT_EQ(form.GetName(), "BaseTestForm");
    EXPECT_EQ(form.GetLeft(), 40);
    EXPECT_EQ(form.GetWidth(), 300);
    EXPECT_EQ(form.GetCaption(), "P\xF8\xEDli\x9A");  // stored as UTF-8, embedded as code page 1250
    auto* panel = Find<TTestPanel>(&form, "Panel1");
    auto* button = Find<TTestButton>(&form, "Button1");
    ASSERT_TRUE(panel && button);
    EXPECT_EQ(panel->GetParent(), &form);
    EXPECT_EQ(button->GetParent(), panel);
    EXPECT_EQ(button->GetOwner(), &form);
    EXPECT_EQ(panel->GetBoundsRect().left, 8);
    EXPECT_EQ(button->GetLeft(), 10);
    EXPECT_EQ(button->GetTop(), 20);
    EXPECT_EQ(button->GetCaption(), "Press 'me'");
    EXPECT_EQ(button->GetFont()->GetName(), "Arial");
    EXPECT_TRUE(button->GetFont()->GetStyle().Contains(fsItalic));
    EXPECT_EQ(panel->GetBkBrush()->GetColor(), clYellow);

    // Properties were set while loading; Loaded ran once and ended it.
    EXPECT_EQ(panel->borderSets, std::vector<int>{4});
    EXPECT_TRUE(panel->setWhileLoading);
    EXPECT_EQ(panel->loadedCalls, 1);
    EXPECT_FALSE(panel->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(form.GetComponentState().Contains(csLoading));

    button->OnClick(button);
    ASSERT_EQ(form.clicks.size(), 1u);
    EXPECT_EQ(form.clicks[0], button);
    panel->OnMouseDown(panel, mbLeft, TShiftState(), 33, 4);
    EXPECT_EQ(form.lastMouseX, 33);
}

TEST_F(StreamingTest, InheritedFormGetsBothSetsOfControlsAndItsOverrides) {
    TDerivedTestForm form(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&form, TCustomControl::StaticClassInfo()));

    EXPECT_EQ(form.GetName(), "DerivedTestForm");
    EXPECT_EQ(form.GetCaption(), "Derived");
    EXPECT_EQ(form.GetWidth(), 300);  // from the base form's text
    auto* panel = Find<TTestPanel>(&form, "Panel1");
    auto* ok = Find<TTestButton>(&form, "OkButton");
    ASSERT_TRUE(panel && ok && Find<TTestButton>(&form, "Button1"));
    EXPECT_EQ(panel->GetLeft(), 16);  // overridden
    EXPECT_EQ(panel->GetTop(), 8);    // inherited
    EXPECT_EQ(panel->loadedCalls, 1);
    EXPECT_EQ(ok->GetParent(), &form);
    EXPECT_FALSE(ok->GetVisible());
    EXPECT_EQ(ok->GetColor(), 0xFF8000);
    ok->OnClick(ok);
    EXPECT_EQ(form.okClicks, 1);
    Find<TTestButton>(&form, "Button1")->OnClick(nullptr);
    EXPECT_EQ(form.clicks.size(), 1u);  // the base form's handler, found through the chain

    // Stopping at the base form reads only the derived form's text, which
    // then lacks the inherited panel.
    TDerivedTestForm partial(nullptr);
    EXPECT_THROW(InitInheritedComponent(&partial, TBaseTestForm::StaticClassInfo()), EReadError);
}

// The base form and a form derived from it side by side under one owner: the
// derived one is named by its own text alone, so the names do not clash.
TEST_F(StreamingTest, ADerivedFormBesideItsBaseFormUnderOneOwnerTakesItsOwnName) {
    TComponent owner(nullptr);
    auto* base = new TBaseTestForm(&owner);
    ASSERT_TRUE(InitInheritedComponent(base, TCustomControl::StaticClassInfo()));
    auto* derived = new TDerivedTestForm(&owner);
    ASSERT_NO_THROW(InitInheritedComponent(derived, TCustomControl::StaticClassInfo()));
    EXPECT_EQ(base->GetName(), "BaseTestForm");
    EXPECT_EQ(derived->GetName(), "DerivedTestForm");
    EXPECT_EQ(owner.FindComponent("DerivedTestForm"), derived);
}

TEST_F(StreamingTest, ClassWithoutResourceOfItsOwnIsSkipped) {
    TPlainTestForm plain(nullptr);
    EXPECT_TRUE(InitInheritedComponent(&plain, TCustomControl::StaticClassInfo()));  // the base form's text
    EXPECT_NE(plain.FindComponent("Panel1"), nullptr);
    TPlainTestForm none(nullptr);
    EXPECT_FALSE(InitInheritedComponent(&none, TBaseTestForm::StaticClassInfo()));
    EXPECT_EQ(none.GetComponentCount(), 0);
    EXPECT_FALSE(InitInheritedComponent(nullptr, nullptr));
}

TEST_F(StreamingTest, SavingWritesOnlyNonDefaultValuesAndReadsBackTheSame) {
    TBaseTestForm form(nullptr);
    form.SetName("Saved");
    form.SetBounds(1, 2, 30, 40);
    auto* panel = new TTestPanel(&form);
    panel->SetName("Panel1");
    panel->SetParent(&form);
    panel->SetBounds(5, 6, 70, 80);
    panel->SetBorder(3);
    panel->SetHint("never stored");
    panel->GetBkBrush()->SetColor(clRed);
    auto* button = new TTestButton(&form);
    button->SetName("Button1");
    button->SetParent(panel);
    button->SetBounds(0, 0, 10, 10);
    button->SetCaption("It's\r");
    button->GetFont()->SetStyle({fsBold});
    button->SetVisible(false);
    auto* counter = new TTestCounter(&form);
    counter->SetName("Counter");
    counter->SetTag(5);

    const std::string expected =
        "object Saved: TBaseTestForm\n"
        "  Left = 1\n  Top = 2\n  Width = 30\n  Height = 40\n"
        "  object Panel1: TTestPanel\n"
        "    Left = 5\n    Top = 6\n    Width = 70\n    Height = 80\n"
        "    Border = 3\n    BkBrush.Color = clRed\n"
        "    object Button1: TTestButton\n"
        "      Left = 0\n      Top = 0\n      Width = 10\n      Height = 10\n"
        "      Caption = 'It''s'#13\n      Font.Style = [fsBold]\n      ParentFont = False\n"
        "      Visible = False\n"
        "    end\n"
        "  end\n"
        "  object Counter: TTestCounter\n"
        "    Tag = 5\n"
        "  end\n"
        "end\n";
    std::string text = WriteComponentText(&form);
    EXPECT_EQ(text, expected);

    TBaseTestForm copy(nullptr);
    ReadComponentText(&copy, text);
    EXPECT_EQ(WriteComponentText(&copy), expected);
    EXPECT_EQ(Find<TTestButton>(&copy, "Button1")->GetCaption(), "It's\r");
    EXPECT_EQ(WriteComponentText(nullptr), "");
}

TEST_F(StreamingTest, RealNumbersRoundTripBitForBitInAnyLocale) {
    // Pairs of a float and a double, each table ending with its type's extremes.
    const float floats[] = {0.0f, -0.0f, 1.5f, -2.5f, 7.25f, 0.1f, 1e-38f, 1e38f, FLT_MAX, -FLT_MAX, FLT_TRUE_MIN};
    const double doubles[] = {0.0, -0.0, 1.5, -2.5, 7.25, 0.1, 1e-300, 1e300, DBL_MAX, -DBL_MAX, DBL_TRUE_MIN};
    static_assert(std::size(floats) == std::size(doubles));
    auto everyCase = [&] {
        for (std::size_t i = 0; i < std::size(floats); ++i) {
            SCOPED_TRACE(i);
            TRealForm saved;
            saved.panel->SetRatio(floats[i]);
            saved.panel->SetLow(doubles[i]);
            std::string text = WriteComponentText(&saved.form);
            EXPECT_EQ(text.find(','), std::string::npos) << text;
            TRealForm copy(false);
            ReadComponentText(&copy.form, text);
            auto* panel = Find<TTestPanel>(&copy.form, "Panel1");
            ASSERT_NE(panel, nullptr);
            EXPECT_TRUE(SameBits(panel->GetRatio(), floats[i])) << text;
            EXPECT_TRUE(SameBits(panel->GetLow(), doubles[i])) << text;
        }
    };
    everyCase();
    const char* comma = TDecimalCommaLocale::Name();
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma could be made (localedef missing)";
    ScopedProcessLocale locale(comma);
    char written[16];
    std::snprintf(written, sizeof written, "%.1f", 1.5);
    ASSERT_STREQ(written, "1,5");
    everyCase();
}

TEST_F(StreamingTest, RealNumbersReadInEitherFormAndDefaultsAreLeftOut) {
    TRealForm saved;
    EXPECT_EQ(WriteComponentText(&saved.form).find("Ratio"), std::string::npos);
    saved.panel->SetLow(-10);
    saved.panel->SetRatio(0.25f);
    std::string text = WriteComponentText(&saved.form);
    EXPECT_NE(text.find("    Ratio = 0.25\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Low"), std::string::npos) << text;

    struct Case {
        const char* text;
        double low;
    } const cases[] = {{"1.5", 1.5}, {"1.5e-3", 0.0015}, {"-2.5E+2", -250}, {"7", 7}, {"0.000001", 1e-6},
                       {".5", 0.5},  {"-.25", -0.25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TBaseTestForm form(nullptr);
        ReadComponentText(&form, std::string("object F: TBaseTestForm\nobject P: TTestPanel\nLow = ") + c.text +
                                     "\nRatio = " + c.text + "\nend\nend\n");
        EXPECT_EQ(Find<TTestPanel>(&form, "P")->GetLow(), c.low);
        EXPECT_EQ(Find<TTestPanel>(&form, "P")->GetRatio(), static_cast<float>(c.low));
    }
    // A property that allows NaN takes it and writes it back.
    TBaseTestForm form(nullptr);
    ReadComponentText(&form, "object F: TBaseTestForm\nobject P: TTestPanel\nLevel = nan\nend\nend\n");
    EXPECT_TRUE(std::isnan(Find<TTestPanel>(&form, "P")->GetLevel()));
    EXPECT_NE(WriteComponentText(&form).find("Level = nan"), std::string::npos);
}

TEST_F(StreamingTest, DamagedRealNumbersNameThePropertyAndTheLine) {
    struct Case {
        const char* property;
        const char* value;
    } const cases[] = {
        {"Ratio", "1.5.2"}, {"Ratio", "1e99999"}, {"Ratio", "1e39"}, {"Ratio", "abc"},  {"Low", "1,5"},
        {"Low", "1e400"},   {"Low", "nan"},       {"Low", "-inf"},   {"Ratio", "'1.5'"}, {"Low", "1.5x"},
        // Signs, points and words where no number has them; a plus sign is no
        // part of a stored number.
        {"Ratio", "--1"},   {"Low", "1-2"},       {"Low", "1.5 2"},  {"Ratio", "[1]"},   {"Ratio", "+1.5"},
        {"Low", "."},       {"Low", "1.5 abc"},   {"Low", "1 ;"},    {"Ratio", "[a b]"}, {"Low", "'1.5"},
        {"Left", "+1"},     {"Left", ".5"},       {"OnMouseDown", "NoSuchHandler"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " = " + c.value);
        TBaseTestForm form(nullptr);
        try {
            ReadComponentText(&form, std::string("object F: TBaseTestForm\n object P: TTestPanel\n  ") + c.property +
                                         " = " + c.value + "\n end\nend\n");
            ADD_FAILURE() << "read without an error";
        } catch (const EReadError& error) {
            EXPECT_NE(error.Message().find(c.property), std::string::npos) << error.Message();
            EXPECT_NE(error.Message().find("line 3"), std::string::npos) << error.Message();
        }
    }
}

TEST_F(StreamingTest, EventsBoundByNameAreWrittenAndReadBack) {
    const std::string text =
        "object Events: TBaseTestForm\n"
        "  OnDblClick = FormDblClick\n"
        "  object Panel1: TTestPanel\n"
        "    OnMouseDown = PanelMouseDown\n"
        "    object Button1: TTestButton\n"
        "      OnClick = ButtonClick\n"
        "    end\n"
        "  end\n"
        "end\n";
    TBaseTestForm first(nullptr);
    ReadComponentText(&first, text);
    std::string written = WriteComponentText(&first);
    for (const char* line : {"  OnDblClick = FormDblClick\n", "    OnMouseDown = PanelMouseDown\n",
                             "      OnClick = ButtonClick\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line << written;

    TBaseTestForm second(nullptr);
    ReadComponentText(&second, written);
    auto* panel = Find<TTestPanel>(&second, "Panel1");
    auto* button = Find<TTestButton>(&second, "Button1");
    second.OnDblClick(&second);
    panel->OnMouseDown(panel, mbLeft, TShiftState(), 17, 3);
    button->OnClick(button);
    EXPECT_EQ(second.doubleClicks, 1);
    EXPECT_EQ(second.lastMouseX, 17);
    EXPECT_EQ(second.clicks, std::vector<TObject*>{button});
    EXPECT_EQ(first.doubleClicks + first.clicks.size(), 0u);

    // A handler bound in code by name is written too; a lambda, also one
    // assigned over a named event, is not.
    button->OnClick = std::any_cast<TNotifyEvent>(BindHandler(kBaseTestFormHandlers, &second, "FormDblClick"));
    panel->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {};
    second.OnDblClick = MakeEvent(&second, &TBaseTestForm::FormDblClick);
    written = WriteComponentText(&second);
    EXPECT_NE(written.find("OnClick = FormDblClick"), std::string::npos) << written;
    EXPECT_EQ(written.find("OnMouseDown"), std::string::npos) << written;
    EXPECT_EQ(written.find("OnDblClick"), std::string::npos) << written;
    EXPECT_THROW(SetPropertyEvent(panel, "OnClick", std::any(TNotifyEvent([](TObject*) {})), "no name"),
                 EPropertyError);
}

TEST_F(StreamingTest, DamagedTextGivesAClearErrorAndNoCrash) {
    const std::string head = "object F: TBaseTestForm\n";
    struct Case {
        const char* what;
        std::string text;
        bool classNotFound;
    };
    std::string deep = head;
    for (int i = 0; i < 70; ++i) deep += "object P" + std::to_string(i) + ": TTestPanel\n";
    const Case cases[] = {
        {"unknown class", head + "object X: TNoSuchClass\nend\nend\n", true},
        {"unknown property", head + "Nope = 1\nend\n", false},
        {"unknown sub-property", head + "Font.Nope = 1\nend\n", false},
        {"bad number", head + "Left = 12x\nend\n", false},
        {"string for a number", head + "Left = '12'\nend\n", false},
        {"number for a string", head + "Caption = 12\nend\n", false},
        {"value for an object", head + "Font = 1\nend\n", false},
        {"missing end", head + "Left = 1\n", false},
        {"missing value", head + "Left =\nend\n", false},
        {"unterminated string", head + "Caption = 'abc\nend\n", false},
        {"bad character code", head + "Caption = #999\nend\n", false},
        {"stray character", head + "Left = 1 ;\nend\n", false},
        {"unknown handler", head + "OnClick = NoSuchHandler\nend\n", false},
        {"handler of another type", head + "OnClick = PanelMouseDown\nend\n", false},
        {"inherited object missing", head + "inherited Q: TTestPanel\nend\nend\n", false},
        {"duplicate name", head + "object A: TTestPanel\nend\nobject A: TTestPanel\nend\nend\n", false},
        {"bad name", head + "object A: TTestPanel\nName = '1x'\nend\nend\n", false},
        {"text after the end", head + "end\nobject G: TBaseTestForm\nend\n", false},
        {"wrong root class", "object F: TTestPanel\nend\n", false},
        {"empty text", "", false},
        {"nesting too deep", deep, false},
        {"bad set", head + "Font.Style = [fsBold fsItalic]\nend\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBaseTestForm form(nullptr);
        if (c.classNotFound)
            EXPECT_THROW(ReadComponentText(&form, c.text), EClassNotFound);
        else
            EXPECT_THROW(ReadComponentText(&form, c.text), EReadError);
        EXPECT_FALSE(form.GetComponentState().Contains(csLoading));
    }
    try {
        TBaseTestForm form(nullptr);
        ReadComponentText(&form, head + "Left = 1\n  Wrong = 2\nend\n");
        FAIL();
    } catch (const EReadError& error) {
        EXPECT_NE(error.Message().find("line 3"), std::string::npos) << error.Message();
        EXPECT_NE(error.Message().find("Wrong"), std::string::npos) << error.Message();
    }
}

TEST_F(StreamingTest, EveryCutOrDamagedResourceTextLoadsOrFailsCleanly) {
    HRSRC resource = FindResourceA(nullptr, "tbasetestform", "FORM");
    ASSERT_NE(resource, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                           SizeofResource(nullptr, resource));
    auto load = [](const std::string& damaged) {
        TBaseTestForm form(nullptr);
        try {
            ReadComponentText(&form, damaged);
        } catch (const Exception&) {
        }
        EXPECT_FALSE(form.GetComponentState().Contains(csLoading));
    };
    for (std::size_t length = 0; length < text.size(); ++length) load(text.substr(0, length));
    for (std::size_t at = 0; at < text.size(); ++at)
        for (char replacement : {'\x01', '=', '\'', '['}) {
            std::string damaged = text;
            damaged[at] = replacement;
            load(damaged);
        }
}

}  // namespace
