// The class registry and the palette pages.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "StreamingFixture.h"

namespace {

class TPaletteOne : public TComponent {
    CLASSLIB_CLASS(TPaletteOne, TComponent)

public:
    explicit TPaletteOne(TComponent* owner) : TComponent(owner) {}
};

class TPaletteTwo : public TComponent {
    CLASSLIB_CLASS(TPaletteTwo, TComponent)

public:
    explicit TPaletteTwo(TComponent* owner) : TComponent(owner) {}
};

TEST(RegistrationTest, RegisteredClassIsMadeByNameWithItsOwner) {
    RegisterClass<TPaletteOne>();
    EXPECT_EQ(GetClass("tpaletteone"), TPaletteOne::StaticClassInfo());
    EXPECT_EQ(FindClass("TPaletteOne"), TPaletteOne::StaticClassInfo());
    TComponent owner(nullptr);
    TComponent* made = CreateComponent("TPALETTEONE", &owner);
    EXPECT_TRUE(made->InheritsFrom<TPaletteOne>());
    EXPECT_EQ(made->GetOwner(), &owner);

    UnRegisterClass(TPaletteOne::StaticClassInfo());
    EXPECT_EQ(GetClass("TPaletteOne"), nullptr);
    EXPECT_THROW(FindClass("TPaletteOne"), EClassNotFound);
    EXPECT_THROW(CreateComponent("TPaletteOne", &owner), EClassNotFound);
    EXPECT_EQ(owner.GetComponentCount(), 1);
    RegisterClass({nullptr, nullptr});  // ignored
}

TEST(RegistrationTest, PalettePagesKeepTheirOrderAndEachClassOncePerPage) {
    RegisterComponents("Rollan", {ComponentClass<TPaletteOne>(), ComponentClass<TPaletteTwo>()});
    RegisterComponents("Statora", {ComponentClass<TPaletteTwo>()});
    RegisterComponents("Rollan", {ComponentClass<TPaletteOne>()});

    std::vector<TPalettePage> pages = PalettePages();
    auto page = [&](const std::string& name) -> const TPalettePage* {
        for (const TPalettePage& candidate : pages)
            if (candidate.name == name) return &candidate;
        return nullptr;
    };
    ASSERT_TRUE(page("Rollan") && page("Statora"));
    EXPECT_LT(page("Rollan"), page("Statora"));
    EXPECT_EQ(page("Rollan")->classes,
              (std::vector<const TClassInfo*>{TPaletteOne::StaticClassInfo(), TPaletteTwo::StaticClassInfo()}));
    EXPECT_EQ(page("Statora")->classes, std::vector<const TClassInfo*>{TPaletteTwo::StaticClassInfo()});
    EXPECT_EQ(GetClass("TPaletteTwo"), TPaletteTwo::StaticClassInfo());
}

}  // namespace
