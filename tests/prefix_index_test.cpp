#include <gtest/gtest.h>

#include <string>

#include "refdata/text_hash.h"

namespace quorvel {
namespace {

int Find(const PrefixIndex& index, std::string_view text) {
  return index.Find(text, PrefixIndex::Hash(text));
}

TEST(PrefixIndex, KeepsTheFirstValueOfATextAndFindsEveryTextAfterGrowing) {
  PrefixIndex index;
  EXPECT_EQ(Find(index, "W"), -1);
  for (int i = 0; i < 5000; ++i) index.Insert("P" + std::to_string(i), i);
  index.Insert("P17", 99999);  // a later entry of the same text loses
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(Find(index, "P" + std::to_string(i)), i);
  EXPECT_EQ(Find(index, "P5000"), -1);
  EXPECT_EQ(Find(index, "P"), -1);
  EXPECT_EQ(Find(index, ""), -1);
}

TEST(PrefixIndex, HashesOfBeginningsComeFromExtendingOneCharacterAtATime) {
  std::uint64_t hash = PrefixIndex::kEmptyHash;
  std::string call = "KH6ABC";
  for (std::size_t length = 1; length <= call.size(); ++length) {
    hash = PrefixIndex::Extend(hash, call[length - 1]);
    EXPECT_EQ(hash, PrefixIndex::Hash(call.substr(0, length)));
  }
  PrefixIndex index;
  index.Insert("KH6", 3);
  EXPECT_EQ(index.Find("KH6", PrefixIndex::Hash("KH6")), 3);
  EXPECT_EQ(index.Find("KH7", PrefixIndex::Hash("KH6")), -1);  // same hash, other text
}

}  // namespace
}  // namespace quorvel
