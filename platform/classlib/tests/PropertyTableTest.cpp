// Published property tables: access by name as text, defaults, chaining and errors.
#include <gtest/gtest.h>

#include <algorithm>

#include "Exceptions.h"
#include "StreamingFixture.h"

namespace {

class PropertyTableTest : public StreamingTest {
protected:
    void SetUp() override {
        StreamingTest::SetUp();
        panel = new TTestPanel(nullptr);
    }
    void TearDown() override { delete panel; }

    TTestPanel* panel = nullptr;
};

TEST_F(PropertyTableTest, SettingByNameReachesTheSetterAndReadsBack) {
    SetPropertyText(panel, "border", "5");
    EXPECT_EQ(panel->borderSets, std::vector<int>{5});
    EXPECT_EQ(panel->GetBorder(), 5);

    struct Case {
        const char* path;
        const char* text;
        const char* readBack;
    };
    const Case cases[] = {
        {"Left", "12", "12"},
        {"Width", "-3", "0"},  // the control's setter makes negative sizes 0
        {"Visible", "false", "False"},
        {"Color", "clRed", "clRed"},
        {"Color", "$00FF0000", "clBlue"},
        {"Color", "$00123456", "1193046"},
        {"Cursor", "crHourGlass", "crHourGlass"},
        {"Align", "alClient", "alClient"},
        {"Caption", "It's", "It's"},
        {"Tag", "-7", "-7"},
        {"Font.Name", "Arial", "Arial"},
        {"Font.Style", "[fsItalic,fsBold]", "[fsBold, fsItalic]"},
        {"Font.Style", "[]", "[]"},
        {"BkBrush.Color", "clLime", "clLime"},
        {"BkBrush.Style", "bsCross", "bsCross"},
        {"TabStop", "True", "True"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " = " + c.text);
        SetPropertyText(panel, c.path, c.text);
        EXPECT_EQ(GetPropertyText(panel, c.path), c.readBack);
    }
    EXPECT_EQ(panel->GetLeft(), 12);
    EXPECT_EQ(panel->GetFont()->GetName(), "Arial");
    EXPECT_EQ(panel->GetBkBrush()->GetColor(), clLime);
    EXPECT_FALSE(panel->GetParentFont());  // a font change clears ParentFont
}

TEST_F(PropertyTableTest, BadNamesAndValuesThrowWithoutChangingTheObject) {
    const char* unknownPaths[] = {"Nope", "Font.Nope", "Left.Value", "Font.", ".Left", "OnClick", "Font"};
    for (const char* path : unknownPaths) {
        SCOPED_TRACE(path);
        EXPECT_THROW(SetPropertyText(panel, path, "1"), EPropertyError);
    }
    struct Case {
        const char* path;
        const char* text;
    };
    const Case badValues[] = {
        {"Left", "abc"},        {"Left", ""},           {"Left", "99999999999"}, {"Left", "$"},
        {"Visible", "Maybe"},   {"Align", "alMiddle"},  {"Align", "3"},          {"Font.Style", "[fsBold,,]"},
        {"Font.Style", "[fsNope]"}, {"Font.Style", "fsBold"}, {"Color", "clPink"},
    };
    for (const Case& c : badValues) {
        SCOPED_TRACE(std::string(c.path) + " = " + c.text);
        std::string before = GetPropertyText(panel, c.path);
        EXPECT_THROW(SetPropertyText(panel, c.path, c.text), EConvertError);
        EXPECT_EQ(GetPropertyText(panel, c.path), before);
    }
    EXPECT_THROW(SetPropertyEvent(panel, "OnClick", std::any(42)), EPropertyError);
    EXPECT_THROW(SetPropertyEvent(panel, "Left", std::any()), EPropertyError);
}

TEST_F(PropertyTableTest, DefaultsFollowTheRows) {
    EXPECT_TRUE(IsPropertyDefault(panel, "Visible"));
    EXPECT_TRUE(IsPropertyDefault(panel, "Border"));
    EXPECT_TRUE(IsPropertyDefault(panel, "Font"));
    EXPECT_TRUE(IsPropertyDefault(panel, "OnClick"));
    EXPECT_FALSE(IsPropertyDefault(panel, "Left"));  // always written
    panel->SetVisible(false);
    panel->GetFont()->SetSize(12);
    SetPropertyEvent(panel, "OnClick", std::any(TNotifyEvent([](TObject*) {})));
    EXPECT_FALSE(IsPropertyDefault(panel, "Visible"));
    EXPECT_FALSE(IsPropertyDefault(panel, "Font"));
    EXPECT_FALSE(IsPropertyDefault(panel, "OnClick"));
    EXPECT_TRUE(static_cast<bool>(panel->OnClick));
}

TEST_F(PropertyTableTest, TablesChainThroughTheClassesAndDerivedRowsReplaceBaseRows) {
    std::vector<std::string> names;
    for (const TPropertyInfo* row : PublishedProperties(panel)) names.push_back(row->name);
    auto position = [&](const char* name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(position("Name"), position("Left"));
    EXPECT_LT(position("Left"), position("TabStop"));
    EXPECT_LT(position("TabStop"), position("Border"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "Hint"), 1);
    EXPECT_EQ(FindPropertyInfo(panel, "HINT"), &kTestPanelProperties[2]);
    EXPECT_EQ(FindPropertyInfo(panel, "Nope"), nullptr);
    EXPECT_EQ(FindPropertyInfo(nullptr, "Left"), nullptr);

}

}  // namespace
