#include "storage/TblBuffer.h"

#include <gtest/gtest.h>

#include <string>

TEST(TblBufferTest, EmptyTextIsOneZeroByteWhileAClearedValueHoldsNothing)
{
    TblBuffer text;
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(text.data(), nullptr);
    EXPECT_STREQ(text.c_str(), "");

    text.Set("");
    EXPECT_EQ(text.size(), 1u);
    ASSERT_NE(text.data(), nullptr);
    EXPECT_EQ(text.data()[0], '\0');

    text.Set("Hero");
    EXPECT_EQ(text.size(), 5u);
    text.Append(" and Tim");
    EXPECT_EQ(text.str(), "Hero and Tim");
    EXPECT_EQ(text.size(), std::string("Hero and Tim").size() + 1);

    text.Clear();
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(text.data(), nullptr);
    text.Append("x"); // appending to nothing starts a text
    EXPECT_EQ(text.str(), "x");
}

TEST(TblBufferTest, FormatHasNoFixedLengthLimit)
{
    const std::string longName(25000, 'q');
    TblBuffer text;
    text.Format("[%s]=%d", longName.c_str(), 42);
    EXPECT_EQ(text.str(), "[" + longName + "]=42");
    EXPECT_EQ(text.size(), longName.size() + 6);
}

TEST(TblBufferTest, BytesKeepEmbeddedZerosAndNoTerminator)
{
    const char bytes[] = {'a', '\0', 'b', '\0'};
    TblBuffer blob;
    blob.SetBytes(bytes, sizeof bytes);
    ASSERT_EQ(blob.size(), sizeof bytes);
    EXPECT_EQ(std::string(blob.data(), blob.size()), std::string(bytes, sizeof bytes));

    blob.SetBytes(bytes, 0);
    EXPECT_TRUE(blob.IsNull());
}
