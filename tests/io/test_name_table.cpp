// The name hash table shared by the readers and the name lookups.
#include <gtest/gtest.h>

#include <string>

#include "io/name_table.hpp"

namespace {

using torva::NameTable;

// ELF hash computed step by step from its definition, for a few names.
std::uint32_t referenceElf(const std::string& s) {
  std::uint64_t h = 0;
  for (unsigned char c : s) {
    h = ((h << 4) + c) & 0xFFFFFFFFu;
    std::uint64_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g & 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(h);
}

TEST(NameTable, ElfHashMatchesItsDefinition) {
  EXPECT_EQ(NameTable::elfHash(""), 0u);
  EXPECT_EQ(NameTable::elfHash("A"), 65u);
  EXPECT_EQ(NameTable::elfHash("AB"), 65u * 16 + 66);
  for (std::string s : {"R0001", "a much longer row name with blanks    ", "COLUMN_NAME_12345678",
                        "\xff\xfe\xfd\xfc\xfb\xfa\xf9\xf8"})
    EXPECT_EQ(NameTable::elfHash(s), referenceElf(s)) << s;
}

TEST(NameTable, BucketCountsComeFromThePrimeList) {
  EXPECT_EQ(NameTable::bucketCountFor(0), 29u);
  EXPECT_EQ(NameTable::bucketCountFor(29), 29u);
  EXPECT_EQ(NameTable::bucketCountFor(30), 229u);
  EXPECT_EQ(NameTable::bucketCountFor(100000), 129403u);
  EXPECT_EQ(NameTable::bucketCountFor(9999991), 9999991u);
  EXPECT_EQ(NameTable::bucketCountFor(50000000), 9999991u);
}

TEST(NameTable, InsertFindAndDuplicates) {
  NameTable table(1000);
  for (int i = 0; i < 5000; ++i) ASSERT_TRUE(table.insert("C" + std::to_string(i), i));
  EXPECT_EQ(table.size(), 5000u);
  for (int i = 0; i < 5000; ++i) EXPECT_EQ(table.find("C" + std::to_string(i)), i);
  EXPECT_FALSE(table.insert("C17", 99));
  EXPECT_EQ(table.find("C17"), 17);
  EXPECT_EQ(table.find("c17"), -1);    // case-sensitive
  EXPECT_EQ(table.find("C17 "), -1);   // blanks are part of a name
  EXPECT_TRUE(table.insert("C17 ", 7));
  EXPECT_EQ(table.find("C17 "), 7);
  EXPECT_TRUE(table.insert("", 3));    // the empty name is a key like any other
  EXPECT_EQ(table.find(""), 3);
  table.clear();
  EXPECT_EQ(table.size(), 0u);
  EXPECT_EQ(table.find("C1"), -1);
  EXPECT_TRUE(table.insert("C1", 1));
}

}  // namespace
