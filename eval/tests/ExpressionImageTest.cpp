// Tests of formula typesetting: layout rules on block-glyph tables, and golden images drawn with the generated tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BinaryOperators.h"
#include "ExpressionImage.h"
#include "ExpressionImageCanvas.h"
#include "ExpressionImageLayout.h"
#include "ExpressionImageTestSupport.h"
#include "TreeTestSupport.h"

namespace {

const uint32_t kWhite = 0xFFFFFF;

// The tree fixture with the variables a, b and c as well.
class FormulaTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        list.NewDouble("a", false, 1.0);
        list.NewDouble("b", false, 2.0);
        list.NewDouble("c", false, 3.0);
    }
    TImageBuffer ImageOf(const std::string& text, const TExpressionImageProps& look) {
        TImageBuffer image;
        TTree tree = Tree(text);
        EXPECT_TRUE(tree) << text;
        CreateNodeImage(list, tree.get(), image, look);
        return image;
    }
};

// Block tables: size 10 is 5 x 10 a character, size 6 is 4 x 8, size 5 is 3 x 6.
class ExpressionImageTest : public FormulaTest {
protected:
    void SetUp() override {
        FormulaTest::SetUp();
        props.Font = "Block";
        folder.Write(BlockTable(5, 10), "Block", 10);
        folder.Write(BlockTable(4, 8), "Block", 6);
    }
    TImageBuffer ImageOf(const std::string& text) { return FormulaTest::ImageOf(text, props); }
    static TImageBuffer Blank(int width, int height) {
        TImageBuffer image;
        CreateBlankImage(image, width, height, kWhite);
        return image;
    }

    TemporaryCharacterFolder folder;
    TExpressionImageProps props;
};

TEST_F(ExpressionImageTest, FractionBarGrowsWithTheOperands) {
    struct {
        int height, rows;
    } const cases[] = {{20, 1}, {70, 4}};
    for (const auto& c : cases) {
        TImageBuffer out;
        CreateFractionImage(out, Blank(12, c.height), Blank(30, c.height), props);
        EXPECT_EQ(out.Width, 38);
        EXPECT_EQ(out.Height, 2 * c.height + c.rows);
        const InkBox bar = InkBoxOf(out, kWhite);
        EXPECT_EQ(bar.top, c.height);
        EXPECT_EQ(bar.bottom - bar.top + 1, c.rows) << c.height;
        EXPECT_EQ(bar.left, 0);
        EXPECT_EQ(bar.right, 37);
    }
}

TEST_F(ExpressionImageTest, ExponentIsSmallerAndRaised) {
    const TExpressionImageProps before = props;
    TImageBuffer image = ImageOf("x^2");
    // Base 5 x 10, exponent 4 x 8 (size trunc(10 x 0.6) = 6), raised by trunc(10 x 0.4) = 4.
    ASSERT_EQ(image.Width, 9);
    ASSERT_EQ(image.Height, 12);
    const InkBox base = InkBoxOf(image, kWhite, 0, 4), exponent = InkBoxOf(image, kWhite, 5, 8);
    EXPECT_EQ(base.top, 2);
    EXPECT_EQ(base.bottom, 11);
    EXPECT_EQ(exponent.top, 0);
    EXPECT_EQ(base.bottom - exponent.bottom, 4);
    EXPECT_EQ(props.FontSize, before.FontSize);
    EXPECT_EQ(props.Font.str(), before.Font.str());
}

TEST_F(ExpressionImageTest, FunctionPowerKeepsTheExponentAtFullSize) {
    // "sin" carries 2 at size 10 (raised: 10 + 4 high), then "(x)" with 1-pixel parentheses.
    TImageBuffer image = ImageOf("sin(x)^2");
    EXPECT_EQ(image.Width, 4 * 5 + (5 + 2));
    EXPECT_EQ(image.Height, 14);
    // pow keeps its exponent at full size too; "^" shrinks it.
    EXPECT_EQ(ImageOf("pow(x,y)").Height, 14);
    EXPECT_EQ(ImageOf("x^y").Height, 12);
}

TEST_F(ExpressionImageTest, ParenthesesOnlyAroundLooserOperands) {
    // Each character is 5 wide; parentheses of a 10-high operand add 10 / 7 = 1 on each side.
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"(a+b)*c", 5 * 5 + 2},
        {"a-b-c", 5 * 5},
        {"a-(b-c)", 5 * 5 + 2},
        {"(x^y)^z", 5 + 4 + 2 + 4},
        {"a*(b+c)", 5 * 5 + 2},
        {"(a+b)/c", 5 * 3 + 8},
        {"a^(b+c)", 5 + 4 * 3},
        {"sin(x)", 3 * 5 + 5 + 2},
        {"atan2(y,x)", 5 * 5 + 3 * 5 + 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageOf(c.text).Width, c.width) << c.text;
    }
}

TEST_F(ExpressionImageTest, RootDegreesUseTheSmallerTables) {
    TImageBuffer withoutTable = ImageOf("sqrt(x)");
    folder.Write(BlockTable(3, 6), "Block", 5);
    TImageBuffer image = ImageOf("sqrt(x)");
    // Degree 3 wide, tick trunc(6 x 0.5) = 3, stem 6, radicand 5: 3 - 3 + 6 + 5 + 0.
    EXPECT_EQ(image.Width, 11);
    EXPECT_EQ(withoutTable.Width, 8);
    EXPECT_EQ(image.Height, 10 + 1);
    const InkBox degree = InkBoxOf(image, kWhite, 0, 2);
    EXPECT_EQ(degree.top, 0);
    // root(x,3) draws its degree at trunc(10 x 0.5) = 5 as well.
    EXPECT_EQ(ImageOf("root(x,3)").Width, 11);
}

// A variable leaf of reference and flag.
TENode* NewVariableLeaf(int32_t reference, bool absolute) {
    TENode* node = new TENode();
    node->kind = nkLeaf;
    node->item = MakeItem(ekVariable);
    node->item.value.variable.reference = reference;
    node->item.value.variable.absolute = absolute;
    return node;
}

TEST_F(ExpressionImageTest, LeavesDrawTheirFullText) {
    const struct {
        TENode* node;
        int characters;
    } cases[] = {
        {NewInt64Node(5000000000LL), 10},
        {NewInt64Node(-9223372036854775807LL - 1), 20},
        {NewDoubleNode(0.25), 8},
        {NewVariableLeaf(0, false), 1},  // the last variable, "c"
        // References of a damaged stored expression name no variable.
        {NewVariableLeaf(INT32_MIN, false), 0},
        {NewVariableLeaf(INT32_MAX, true), 0},
        {NewVariableLeaf(-1, false), 0},
    };
    for (const auto& c : cases) {
        TTree tree(c.node);
        TImageBuffer image;
        CreateNodeImage(list, tree.get(), image, props);
        EXPECT_EQ(image.Width, 5 * c.characters);
        EXPECT_EQ(image.Height, 10);
    }
}

TEST_F(ExpressionImageTest, UnaryOperatorDrawsNothing) {
    TTree unary(new TENode());
    unary->kind = nkLeaf;
    unary->item = MakeItem(ekUnaryOperator);
    TImageBuffer kept = Blank(3, 2);
    kept.Data[0] = 7;
    CreateNodeImage(list, unary.get(), kept, props);
    EXPECT_EQ(kept.Width, 3);
    EXPECT_EQ(kept.Height, 2);
    EXPECT_EQ(kept.Data[0], 7);
    // As an operand it is 0 x 0: "+y" alone, and no comma in atan2's arguments.
    TTree sum(NewOperatorNode(opAdd));
    sum->left = unary.release();
    sum->right = Tree("y").release();
    TImageBuffer image;
    CreateNodeImage(list, sum.get(), image, props);
    EXPECT_EQ(image.Width, 10);
    EXPECT_EQ(image.Height, 10);
}

TEST_F(ExpressionImageTest, MissingTablesLeaveOnlyStrokes) {
    props.Font = "Nowhere";
    EXPECT_EQ(ImageOf("x+y").Width, 0);
    TImageBuffer fraction = ImageOf("x/y");
    EXPECT_EQ(fraction.Width, 8);
    EXPECT_EQ(fraction.Height, 1);
    // A ratio that is not a number gives size 0, whose table is missing too.
    props.Font = "Block";
    props.ExpCharRatio = std::nanf("");
    EXPECT_EQ(ImageOf("x^2").Width, 5);
}

TEST_F(ExpressionImageTest, ImagesPastTheLimitsAreLeftEmpty) {
    const struct {
        int64_t width, height;
        bool made;
    } cases[] = {
        {kMaxFormulaWidth, 1, true},
        {0, kMaxFormulaHeight, true},
        {kMaxFormulaWidth + 1, 1, false},
        {0, kMaxFormulaHeight + 1, false},
        {4096, 1024, true},
        {8192, 2049, false},
    };
    for (const auto& c : cases) {
        TImageBuffer image;
        EXPECT_EQ(CreateBlankImage(image, c.width, c.height, kWhite), c.made) << c.width << " x " << c.height;
        EXPECT_EQ(image.Width, c.made ? c.width : 0) << c.width << " x " << c.height;
        EXPECT_EQ(image.Height, c.made ? c.height : 0) << c.width << " x " << c.height;
    }
    // A stored size of 167772159 raises the exponent by 67 million rows:
    // that piece is left empty, and the fraction is its bar alone.
    props.FontSize = 0x09FFFFFF;
    TImageBuffer fraction = ImageOf("x^2/(y+1)");
    EXPECT_EQ(fraction.Width, 8);
    EXPECT_EQ(fraction.Height, 1);
}

TEST_F(ExpressionImageTest, ParenthesesAreArcsOnBothSides) {
    TImageBuffer image = Blank(20, 70);
    AddParentheses(image, props);
    ASSERT_EQ(image.Width, 20 + 2 * 10);
    ASSERT_EQ(image.Height, 70);
    const InkBox left = InkBoxOf(image, kWhite, 0, 9), right = InkBoxOf(image, kWhite, 30, 39);
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(right.right, 39);
    EXPECT_EQ(left.top, 0);
    EXPECT_EQ(right.top, 0);
    EXPECT_GE(left.bottom, 68);
    EXPECT_GE(right.bottom, 68);
    // Thickness 70 / 32 = 2: the middle row has two ink pixels at the outer edge.
    EXPECT_FALSE(PixelIs(image, 0, 35, kWhite));
    EXPECT_FALSE(PixelIs(image, 1, 35, kWhite));
    EXPECT_TRUE(PixelIs(image, 2, 35, kWhite));
    double cx, cy, r;
    EXPECT_FALSE(CircleThroughPoints(0, 0, 1, 1, 2, 2, cx, cy, r));
    ASSERT_TRUE(CircleThroughPoints(0, 5, 5, 0, 10, 5, cx, cy, r));
    EXPECT_DOUBLE_EQ(cx, 5);
    EXPECT_DOUBLE_EQ(cy, 5);
    EXPECT_DOUBLE_EQ(r, 5);
}

// Formulas drawn with the generated tables in the default look, and one in
// other colours, compared byte for byte with the BMP files under golden/.
// EVAL_UPDATE_GOLDEN=1 writes the files instead.
class ExpressionImageGoldenTest : public FormulaTest {
protected:
    ScopedCharacterFolder generatedTables{EVAL_TEST_CHR_DIR};

    static std::vector<char> FileBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    void CheckGolden(const char* name, const char* text, const TExpressionImageProps& props) {
        TImageBuffer image = ImageOf(text, props);
        const std::string golden = std::string("golden/") + name + ".bmp";
        const char* update = std::getenv("EVAL_UPDATE_GOLDEN");
        if (update != nullptr && std::string(update) == "1") {
            ASSERT_TRUE(image.Save(golden.c_str())) << golden;
            return;
        }
        const std::string drawn =
            (std::filesystem::temp_directory_path() / (std::string("eval_") + name + ".bmp")).string();
        ASSERT_TRUE(image.Save(drawn.c_str()));
        const std::vector<char> expected = FileBytes(golden);
        ASSERT_FALSE(expected.empty()) << golden;
        EXPECT_TRUE(FileBytes(drawn) == expected) << text << ": differs from " << golden;
        std::remove(drawn.c_str());
    }
};

TEST_F(ExpressionImageGoldenTest, DefaultPropsFindTheirTable) {
    TExpressionImageProps props;
    TImageBuffer image;
    TCHRTableCache cache;
    CreateTextImage("x", image, props, cache);
    EXPECT_GT(image.Width, 0);
    EXPECT_GT(image.Height, 0);
}

TEST_F(ExpressionImageGoldenTest, FormulasMatchTheirImages) {
    const struct {
        const char* name;
        const char* text;
    } formulas[] = {
        {"product_of_sum", "(a+b)*c"},
        {"differences", "a-b-c-(x-y)"},
        {"fraction", "(a+b)/(c-1)"},
        {"nested_fraction", "1/(1+1/x)"},
        {"powers", "x^2+y^(n+1)"},
        {"roots", "sqrt(x)+root(x+1,3)"},
        {"function_powers", "sin(x)^2+cos(x)^2"},
        {"functions", "pow(a,b)*atan2(y,x)-5000000000*exp(0.25)"},
    };
    const TExpressionImageProps props;
    for (const auto& f : formulas) CheckGolden(f.name, f.text, props);
    TExpressionImageProps coloured;
    coloured.FontSize = 16;
    coloured.BkColor = 0xE0FFFF;
    coloured.TextColor = 0xC00000;
    CheckGolden("coloured", "(x^2+1)/sqrt(a*b)", coloured);
}

}  // namespace
