// Popup menus: items chosen through the responder, and a control's PopupMenu
// opening once per right click whoever opens it.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"
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

}  // namespace
