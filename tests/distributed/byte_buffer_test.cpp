#include "distributed/byte_buffer.h"

#include <gtest/gtest.h>

namespace plexo::distributed {
namespace {

TEST(ByteBufferTest, ListsOfTextsReadBackInOrderBetweenOtherValues) {
  ByteWriter out;
  out.Int(7);
  out.Texts({"a.txt: no data", "", "b.txt: Sampling size of 20000 exceeds program limit!"});
  out.Texts({});
  out.Int(-3);
  ByteReader in(out.Bytes());
  EXPECT_EQ(in.Int(), 7);
  EXPECT_EQ(in.Texts(),
            (std::vector<std::string>{"a.txt: no data", "",
                                      "b.txt: Sampling size of 20000 exceeds program limit!"}));
  EXPECT_TRUE(in.Texts().empty());
  EXPECT_EQ(in.Int(), -3);
}

TEST(ByteBufferTest, ACountLargerThanTheBytesLeftReadsOnlyTheTextsThere) {
  // A rank that died mid-message must not make the root reserve a count it was never sent.
  ByteWriter out;
  out.Int(int64_t{1} << 40);
  out.Text("only one");
  ByteReader in(out.Bytes());
  EXPECT_EQ(in.Texts(), std::vector<std::string>{"only one"});
  EXPECT_EQ(in.Int(), 0);  // past the end reads as zero
}

}  // namespace
}  // namespace plexo::distributed
