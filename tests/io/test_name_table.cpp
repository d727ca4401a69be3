// The name hash table shared by the readers and the name lookups.
#include <gtest/gtest.h>

#include <string>

#include "io/name_table.hpp"

namespace {

using torva::NameTable;

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
