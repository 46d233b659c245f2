// TStrings and TStringList.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "Strings.h"

namespace {

std::string Joined(const TStrings& list) {
    std::string result;
    for (int i = 0; i < list.GetCount(); ++i) result += (i ? "|" : "") + list.GetStrings(i);
    return result;
}

TEST(StringList, AddInsertDeleteAndObjects) {
    TStringList list;
    TObject first, second;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.AddObject("c", &second), 1);
    list.InsertObject(0, "a", &first);
    list.Insert(3, "d");
    EXPECT_EQ(Joined(list), "a|b|c|d");
    EXPECT_EQ(list.GetObjects(0), &first);
    EXPECT_EQ(list.IndexOfObject(&second), 2);
    EXPECT_EQ(list.IndexOf("C"), 2) << "case is ignored";
    EXPECT_EQ(list.IndexOf("x"), -1);
    list.SetStrings(1, "B");
    list.Delete(3);
    list.Exchange(0, 2);
    EXPECT_EQ(Joined(list), "c|B|a");
    EXPECT_EQ(list.GetObjects(2), &first);
    list.Move(0, 2);
    EXPECT_EQ(Joined(list), "B|a|c");
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(StringList, IndexesOutsideTheListThrow) {
    TStringList list;
    list.Add("one");
    const auto attempts = {
        std::function<void()>([&] { list.GetStrings(1); }), std::function<void()>([&] { list.GetStrings(-1); }),
        std::function<void()>([&] { list.Delete(1); }), std::function<void()>([&] { list.Insert(2, "x"); }),
        std::function<void()>([&] { list.SetObjects(5, nullptr); }),
        std::function<void()>([&] { list.Exchange(0, 1); })};
    for (const auto& attempt : attempts) EXPECT_THROW(attempt(), EStringListError);
    try {
        list.GetStrings(7);
    } catch (const EStringListError& error) {
        EXPECT_EQ(error.Message(), "List index out of bounds (7)");
    }
}

TEST(StringList, SortedListsKeepOrderAndTheDuplicatesRule) {
    TStringList list;
    list.Add("pear");
    list.Add("Apple");
    list.SetSorted(true);
    EXPECT_EQ(Joined(list), "Apple|pear");
    EXPECT_EQ(list.Add("fig"), 1);
    EXPECT_EQ(list.Add("FIG"), 1) << "dupIgnore keeps the first";
    EXPECT_EQ(list.GetCount(), 3);
    int index = -1;
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("apple"), EStringListError);
    list.SetDuplicates(dupAccept);
    list.Add("apple");
    EXPECT_EQ(list.GetCount(), 4);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("APPLE"), -1);
}

TEST(Strings, TextSplitsOnEveryLineEnd) {
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(Joined(list), "one|two|three|four");
    EXPECT_EQ(list.GetText(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    list.SetText("a\r\n\r\n");
    EXPECT_EQ(list.GetCount(), 2);
    list.SetText("");
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetText(), "");
}

TEST(Strings, CommaTextQuotesWhatNeedsIt) {
    TStringList list;
    list.SetCommaText("a, \"b c\",\"say \"\"hi\"\"\",d e");
    EXPECT_EQ(Joined(list), "a|b c|say \"hi\"|d|e");
    EXPECT_EQ(list.GetCommaText(), "a,\"b c\",\"say \"\"hi\"\"\",d,e");
    list.SetCommaText("\"open");
    EXPECT_EQ(Joined(list), "open");
    list.SetCommaText("x,");
    EXPECT_EQ(list.GetCount(), 2);
    list.Clear();
    list.Add("");
    EXPECT_EQ(list.GetCommaText(), "\"\"");
}

TEST(Strings, NamesAndValues) {
    TStringList list;
    list.SetText("Width=10\nColor=red");
    EXPECT_EQ(list.GetValues("color"), "red");
    EXPECT_EQ(list.GetNames(0), "Width");
    list.SetValues("Height", "5");
    list.SetValues("Width", "");
    EXPECT_EQ(Joined(list), "Color=red|Height=5");
    EXPECT_EQ(list.GetValues("missing"), "");
}

TEST(Strings, AssignAndUpdatesSendOneChange) {
    TStringList source;
    TObject object;
    source.AddObject("x", &object);
    source.Add("y");
    TStringList target;
    int changes = 0;
    int changings = 0;
    target.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &target);
        ++changes;
    };
    target.OnChanging = [&](TObject*) { ++changings; };
    target.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changings, 1);
    EXPECT_TRUE(target.Equals(&source));
    EXPECT_EQ(target.GetObjects(0), &object);

    target.BeginUpdate();
    target.BeginUpdate();
    target.Add("z");
    target.EndUpdate();
    EXPECT_EQ(changes, 1);
    target.EndUpdate();
    EXPECT_EQ(changes, 2);
    target.EndUpdate();  // unmatched: nothing
    target.Add("w");
    EXPECT_EQ(changes, 3);

    TPersistent other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

}  // namespace
