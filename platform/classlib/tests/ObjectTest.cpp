// Run-time class names, inheritance tests and the assignment fall-back.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "Object.h"

namespace {

class TShape : public TPersistent {
    CLASSLIB_CLASS(TShape, TPersistent)
};

class TSquare : public TShape {
    CLASSLIB_CLASS(TSquare, TShape)
};

TEST(Object, ClassNamesAndInheritance) {
    TSquare square;
    const TObject& object = square;
    EXPECT_STREQ(object.ClassName(), "TSquare");
    EXPECT_TRUE(object.InheritsFrom<TShape>());
    EXPECT_TRUE(object.InheritsFrom<TPersistent>());
    EXPECT_TRUE(object.InheritsFrom<TObject>());
    EXPECT_FALSE(TShape().InheritsFrom<TSquare>());
    EXPECT_FALSE(object.InheritsFrom(nullptr));
}

TEST(Object, AssignWithoutSupportThrowsConvertError) {
    TSquare target;
    TShape source;
    try {
        target.Assign(&source);
        FAIL() << "no exception";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TShape to a TSquare");
        EXPECT_TRUE(error.InheritsFrom<Exception>());
    }
}

}  // namespace
