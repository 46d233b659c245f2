// Tests of TProperties: sections, typed values, key order and storage forms.
#include <gtest/gtest.h>

#include <cstdio>

#include "MemBuffer.h"
#include "Properties.h"
#include "StringContainer.h"

namespace {

TProperties Sample() {
    TProperties props;
    props.AddSection("vars", true);
    props.AddEntry("b", "");
    props.AddEntry("a", "");
    props.AddSection("vars_a", true);
    props.AddInt("type", 2);
    props.AddInt("value", int64_t(-9000000000));
    props.AddDouble("real", 0.1);
    props.AddEntry("text", "line\nwith [brackets]=and \\ backslash");
    return props;
}

void ExpectSample(TProperties& props) {
    ASSERT_TRUE(props.SetSection("vars"));
    TStringContainer keys;
    EXPECT_EQ(props.GetSectionKeys(keys), 2);
    EXPECT_EQ(keys.GetText(",").str(), "b,a");
    ASSERT_TRUE(props.SetSection("vars_a"));
    EXPECT_EQ(props.GetInt("type"), 2);
    EXPECT_EQ(props.GetInt64("value"), -9000000000);
    EXPECT_EQ(props.GetDouble("real"), 0.1);
    EXPECT_EQ(props.GetString("text").str(), "line\nwith [brackets]=and \\ backslash");
}

}  // namespace

TEST(Properties, TypedValuesAndDefaults) {
    TProperties props = Sample();
    ExpectSample(props);
    EXPECT_TRUE(props.KeyExists("type"));
    EXPECT_FALSE(props.KeyExists("missing"));
    EXPECT_EQ(props.GetInt("missing", 7), 7);
    EXPECT_EQ(props.GetInt("text", 3), 3);  // not a number
    EXPECT_EQ(props.GetInt("value", 4), 4);  // beyond 32 bits
    EXPECT_FALSE(props.SetSection("nothing"));
    EXPECT_EQ(props.GetSection().str(), "vars_a");
    props.AddInt("type", 5);  // replaces
    EXPECT_EQ(props.GetInt("type"), 5);
    EXPECT_TRUE(props.DeleteKey("type"));
    EXPECT_FALSE(props.KeyExists("type"));
    EXPECT_TRUE(props.DeleteSection("vars"));
    EXPECT_FALSE(props.SectionExists("vars"));
}

TEST(Properties, FileAndBufferRoundTrips) {
    const TProperties props = Sample();
    const std::string file = testing::TempDir() + "containers_properties_test.ini";
    const char* name = file.c_str();
    props.WriteToFile(name);
    TProperties fromFile;
    fromFile.ReadFromFile(name);
    std::remove(name);
    ExpectSample(fromFile);

    TMemBuffer buffer;
    props.WriteToMemBuffer(buffer);
    TProperties fromBuffer;
    ASSERT_TRUE(fromBuffer.ReadFromMemBuffer(buffer));
    ExpectSample(fromBuffer);
    for (int length = 0; length < buffer.GetSize(); length += 3) {
        TMemBuffer truncated;
        truncated.Add(buffer.GetBlock(), length);
        TProperties damaged;
        EXPECT_FALSE(damaged.ReadFromMemBuffer(truncated)) << length;
    }
}
