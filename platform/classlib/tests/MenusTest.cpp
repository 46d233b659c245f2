// Popup menus: items chosen through the responder, and a control's PopupMenu
// opening once per right click whoever opens it.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"
#include "Form.h"
#include "Streaming.h"
#include "win32/Responder.h"

namespace {

// Opens its popup menu itself from MouseDown, as the scroll control does.
class TSelfOpening : public TCustomControl {
    CLASSLIB_CLASS(TSelfOpening, TCustomControl)

public:
    using TCustomControl::TCustomControl;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        if (button == mbRight && GetPopupMenu()) {
            POINT screen = ClientToScreen(POINT{x, y});
            GetPopupMenu()->Popup(screen.x, screen.y);
            return;
        }
        TCustomControl::MouseDown(button, shift, x, y);
    }
};

class MenusTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        menu = new TPopupMenu(host);
        for (const char* caption : {"&Cut", "-", "&Copy"}) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
            menu->GetItems()->Add(item);
        }
    }
    // Counts the popup menus that open and chooses the item with answerText.
    win32::ModalResponder Responder() {
        return [this](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::PopupMenu) {
                ++opened;
                texts.clear();
                for (const win32::ModalItem& item : interaction.items) {
                    texts.push_back(item.separator ? "-" : item.text);
                    if (item.text == answerText) return win32::ModalReply::Answer(item.identifier);
                }
            }
            return win32::ModalReply::Answer(0);
        };
    }

    TPopupMenu* menu = nullptr;
    std::vector<std::string> clicked;
    std::vector<std::string> texts;
    std::string answerText;
    int opened = 0;
};

TEST_F(MenusTest, ChosenItemIsClickedAfterTheMenuCloses) {
    win32::ScopedResponder responder(Responder());
    answerText = "&Copy";
    menu->Popup(10, 10);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Cut", "-", "&Copy"}));
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Copy"}));
    menu->GetItems()->GetItem(2)->SetEnabled(false);
    clicked.clear();
    answerText.clear();
    menu->Popup(10, 10);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(menu->GetPopupCount(), 2u);
}

TEST_F(MenusTest, RightClickOpensTheMenuOnce) {
    win32::ScopedResponder responder(Responder());
    auto* plain = new TCustomControl(host);
    auto* selfOpening = new TSelfOpening(host);
    auto* graphic = new TGraphicControl(host);
    int position = 0;
    for (TControl* control : std::vector<TControl*>{plain, selfOpening, graphic}) {
        control->SetBounds(position, 0, 40, 40);
        control->SetParent(host);
        control->SetPopupMenu(menu);
        position += 50;
    }
    int rightDowns = 0;
    plain->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        rightDowns += button == mbRight;
    };
    driver.Click(plain->GetHandle(), 5, 5, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(rightDowns, 1);
    EXPECT_EQ(menu->GetPopupComponent(), plain);
    driver.Advance(1000);
    driver.Click(selfOpening->GetHandle(), 5, 5, 1);
    EXPECT_EQ(opened, 2);
    driver.Advance(1000);
    driver.Click(host->GetHandle(), 105, 5, 1);  // the graphic control
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(menu->GetPopupComponent(), graphic);
    // The keyboard's context-menu request opens it even right after a click.
    SendMessageA(selfOpening->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(selfOpening->GetHandle()),
                 MAKELPARAM(0xFFFF, 0xFFFF));
    EXPECT_EQ(opened, 4);
}

TEST_F(MenusTest, AControlWithoutMenuLeavesTheRightClickToItsParent) {
    win32::ScopedResponder responder(Responder());
    host->SetPopupMenu(menu);
    auto* child = new TCustomControl(host);
    child->SetBounds(0, 0, 40, 40);
    child->SetParent(host);
    auto* graphic = new TGraphicControl(host);
    graphic->SetBounds(50, 0, 40, 40);
    graphic->SetParent(host);
    driver.Click(child->GetHandle(), 5, 5, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(menu->GetPopupComponent(), host);
    driver.Advance(1000);
    driver.Click(host->GetHandle(), 55, 5, 1);
    EXPECT_EQ(opened, 2);
    // A child menu without AutoPopup leaves the click to the parent's menu.
    auto* childMenu = new TPopupMenu(host);
    childMenu->SetAutoPopup(false);
    child->SetPopupMenu(childMenu);
    driver.Advance(1000);
    driver.Click(child->GetHandle(), 5, 5, 1);
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(childMenu->GetPopupCount(), 0u);
}

TEST_F(MenusTest, ControlForgetsADestroyedMenu) {
    auto* control = new TCustomControl(host);
    control->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(control->GetPopupMenu(), nullptr);
}

TEST(MenuItem, SubItemsKeepTheirOrderAndRefuseLoops) {
    TMenuItem root(nullptr);
    auto* first = new TMenuItem(nullptr);
    auto* second = new TMenuItem(nullptr);
    root.Add(second);
    root.Insert(0, first);
    EXPECT_EQ(root.GetItem(0), first);
    EXPECT_EQ(second->GetParent(), &root);
    EXPECT_THROW(root.GetItem(2), EListError);
    EXPECT_THROW(first->Add(&root), EInvalidOperation);
    first->Add(second);  // moves
    EXPECT_EQ(root.GetCount(), 1);
    EXPECT_EQ(first->GetCount(), 1);
}

TEST_F(MenusTest, ShownItemsCarryTheirStatesAtTheScreenPoint) {
    TMenuItem* cut = menu->GetItems()->GetItem(0);
    cut->SetChecked(true);
    menu->GetItems()->GetItem(2)->SetEnabled(false);
    menu->GetItems()->Add("&Hidden")->SetVisible(false);
    TMenuItem* more = menu->GetItems()->Add("&More");
    more->Add("&Paste", [this](TObject*) { clicked.push_back("paste"); });
    std::vector<win32::ModalItem> items;
    RECT where{};
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        items = interaction.items;
        GetWindowRect(interaction.window, &where);
        return win32::ModalReply::Answer(0);
    });
    menu->Popup(150, 120);
    ASSERT_EQ(items.size(), 4u);  // the hidden item is left out
    EXPECT_TRUE(items[0].checked);
    EXPECT_TRUE(items[1].separator);
    EXPECT_FALSE(items[2].enabled);
    EXPECT_TRUE(items[3].submenu);
    EXPECT_EQ(where.left, 150);
    EXPECT_EQ(where.top, 120);
    EXPECT_EQ(menu->FindItemByCaption("paste")->GetParent(), more);
    EXPECT_EQ(more->GetMenu(), menu);
    more->Clear();
    EXPECT_EQ(more->GetCount(), 0);
    menu->GetItems()->Delete(0);
    EXPECT_EQ(menu->GetItems()->IndexOf(more), 3);
}

// A form whose menu items are bound to its handlers by name.
class TMenuForm : public TForm {
    CLASSLIB_CLASS(TMenuForm, TForm)

public:
    TMenuForm() : TForm(nullptr, 0) {}
    void OpenClick(TObject*) { ++opens; }
    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry handlers[] = {CLASSLIB_HANDLER(TMenuForm, OpenClick)};
        return BindHandler(handlers, this, name.c_str());
    }
    int opens = 0;
};

TEST(MenuForm, AFormTextBuildsTheMenuAndWritesItBack) {
    win32::TestDriver driver;
    TMenuForm form;
    const std::string text =
        "object MenuForm: TMenuForm\n"
        "  object Popup: TPopupMenu\n"
        "  end\n"
        "  object Open: TMenuItem\n"
        "    ParentMenu = 'Popup'\n"
        "    Caption = '&Open'\n"
        "    OnClick = OpenClick\n"
        "  end\n"
        "  object Recent: TMenuItem\n"
        "    ParentMenu = 'Popup'\n"
        "    Caption = 'Recent'\n"
        "  end\n"
        "  object First: TMenuItem\n"
        "    ParentMenu = 'Recent'\n"
        "    Caption = 'first.txt'\n"
        "    Checked = True\n"
        "  end\n"
        "end\n";
    ReadComponentText(&form, text);
    auto* popup = dynamic_cast<TPopupMenu*>(form.FindComponent("Popup"));
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->GetItems()->GetCount(), 2);
    EXPECT_EQ(popup->GetItems()->GetItem(1)->GetItem(0)->GetName(), "First");
    popup->GetItems()->GetItem(0)->Click();
    EXPECT_EQ(form.opens, 1);
    std::string written = WriteComponentText(&form);
    EXPECT_NE(written.find("ParentMenu = 'Recent'"), std::string::npos) << written;
    EXPECT_NE(written.find("Checked = True"), std::string::npos) << written;
}

}  // namespace
