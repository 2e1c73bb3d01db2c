// The LZH codec, checked against the plain second implementation in reference_lzh.h in
// both directions, on sound, truncated and hostile streams.
#include "skin/store/lzh_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/skin/store/lzh_test_input.h"
#include "tests/skin/store/reference_lzh.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (uint8_t& b : out) b = uint8_t(rng());
  return out;
}

using lzh_test_input::MixedBytes;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct RoundTripCase {
  const char* name;
  Bytes input;
};

class LzhRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LzhRoundTrip, BothDecodersGiveBackTheInputOfBothEncoders) {
  const Bytes& input = GetParam().input;
  const Bytes ours = LzhCompress(input);
  ASSERT_GE(ours.size(), 4u);
  EXPECT_EQ(uint32_t(ours[0] | ours[1] << 8 | ours[2] << 16 | ours[3] << 24), input.size());
  EXPECT_EQ(LzhExpand(ours), input);
  EXPECT_EQ(reference_lzh::Expand(ours), input);
  EXPECT_EQ(LzhExpand(LzhCompress(input, {4096, false})), input);
  if (input.size() <= 70000) {  // the reference encoder searches by brute force
    const Bytes theirs = reference_lzh::Compress(input);
    EXPECT_EQ(LzhExpand(theirs), input);
    EXPECT_EQ(reference_lzh::Expand(theirs), input);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LzhRoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", {}}, RoundTripCase{"OneByte", {0x41}},
        RoundTripCase{"ThreeBytes", {0, 0xFF, 0}}, RoundTripCase{"LeadingSpaces", Text("      x")},
        RoundTripCase{"Sixty", Bytes(60, 0x20)}, RoundTripCase{"SixtyOne", Bytes(61, 'q')},
        RoundTripCase{"Random40K", RandomBytes(40000, 1)},  // > 32,000 literals: rebuilds
        RoundTripCase{"Random300K", RandomBytes(300000, 2)},
        RoundTripCase{"OneByteRun", Bytes(1 << 20, 0xAB)},
        RoundTripCase{"Period4096",
                      [] {
                        Bytes b = RandomBytes(4096, 3);
                        const Bytes copy = b;
                        for (int i = 0; i < 5; ++i) b.insert(b.end(), copy.begin(), copy.end());
                        return b;
                      }()},
        RoundTripCase{"Mixed60K", MixedBytes(60000, 4)},
        RoundTripCase{"Mixed1M", MixedBytes(1 << 20, 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LzhExpand, LengthZeroOrBelowGivesNothing) {
  EXPECT_TRUE(LzhExpand(Bytes{0, 0, 0, 0}).empty());
  EXPECT_TRUE(LzhExpand(Bytes{0, 0, 0, 0, 0xFF, 0x12}).empty());
  EXPECT_TRUE(LzhExpand(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).empty());  // -1
  EXPECT_TRUE(LzhExpand(Bytes{}).empty());                              // missing bytes read as 0
  Bytes out{1, 2, 3};
  TLZH().Expand(Bytes{0, 0, 0, 0}, out);
  EXPECT_TRUE(out.empty());
}

TEST(LzhExpand, TruncatedCodeReadsZeroBitsUntilTheLengthIsReached) {
  const Bytes input = MixedBytes(20000, 6);
  const Bytes full = LzhCompress(input);
  for (size_t keep : {full.size() / 3, full.size() / 2 + 1, full.size() - 1}) {
    const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(keep));
    const Bytes out = LzhExpand(cut);
    EXPECT_GE(out.size(), input.size()) << keep;
    EXPECT_LT(out.size(), input.size() + 60) << keep;
    EXPECT_EQ(out, reference_lzh::Expand(cut)) << keep;
  }
  // So little code that 20,000 bytes cannot come from it: refused.
  EXPECT_THROW(LzhExpand(Bytes(full.begin(), full.begin() + 40)), ElzhException);
  // What the cut keeps still decodes to the original's start.
  const Bytes half(full.begin(), full.begin() + std::ptrdiff_t(full.size() / 2));
  const Bytes out = LzhExpand(half);
  EXPECT_TRUE(std::equal(input.begin(), input.begin() + 1000, out.begin()));
}

TEST(LzhExpander, StepsOfAnySizeGiveTheBytesOfAWholeExpansion) {
  const Bytes full = LzhCompress(MixedBytes(120000, 8));  // long enough for tree rebuilds
  const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(full.size() * 2 / 3));
  std::mt19937 rng(9);
  for (const Bytes& stream : {full, cut}) {
    LzhExpander expander(stream);
    std::vector<uint8_t> out(expander.OutputSize());
    int64_t asked = 0;
    while (asked < expander.Length()) {
      asked += int64_t(rng() % 200);
      const int64_t got = expander.ExpandTo(out.data(), asked);
      ASSERT_GE(got, std::min(asked, expander.Length()));
      ASSERT_EQ(got, expander.Expanded());
    }
    out.resize(size_t(expander.Expanded()));
    EXPECT_EQ(out, LzhExpand(stream));
  }
}

TEST(LzhExpand, MatchesBeforeAnythingIsWrittenReadTheInitialWindow) {
  reference_lzh::Encoder enc;
  enc.Begin(9);
  enc.Match(3, 0);     // from window byte 4035 (a space) into what it writes itself
  enc.Match(3, 4095);  // from bytes 4039..4041, not written yet: zeros
  enc.Match(3, 4042);  // from byte 4095 (zero), then round to bytes 0 and 1 (spaces)
  const Bytes stream = enc.Finish();
  EXPECT_EQ(LzhExpand(stream), (Bytes{' ', ' ', ' ', 0, 0, 0, 0, ' ', ' '}));
  EXPECT_EQ(reference_lzh::Expand(stream), LzhExpand(stream));
}

TEST(LzhExpand, FinalMatchIsCopiedWholePastTheLength) {
  reference_lzh::Encoder enc;
  enc.Begin(2);
  enc.Literal('a');
  enc.Match(10, 0);
  const Bytes stream = enc.Finish();
  EXPECT_EQ(LzhExpand(stream), Bytes(11, 'a'));
  EXPECT_EQ(reference_lzh::Expand(stream), Bytes(11, 'a'));
}

TEST(LzhExpand, RefusesLengthsTheCodeCannotHold) {
  // 0x7FFFFFFF bytes from four bytes of code: refused before any memory is taken.
  const Bytes huge{0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
  try {
    LzhExpand(huge);
    FAIL() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_NE(std::string(e.what()).find("2147483647"), std::string::npos) << e.what();
  }
  // 100 MiB from a stream long enough for it by the bit count is still beyond the cap.
  Bytes long_stream(2 << 20, 0);
  const uint32_t length = 100u << 20;
  for (int i = 0; i < 4; ++i) long_stream[size_t(i)] = uint8_t(length >> (8 * i));
  EXPECT_THROW(LzhExpand(long_stream), ElzhException);
  EXPECT_EQ(TLZH::ExpandLimit(size_t(1) << 30), TLZH::kMaxExpandedLength);
  // The limit leaves room for the best the code can do (60 bytes from 10 bits).
  EXPECT_EQ(LzhExpand(LzhCompress(Bytes(1 << 22, 0))), Bytes(1 << 22, 0));
  // A stream with no code at all may still name a short length (zero bits decode).
  EXPECT_EQ(LzhExpand(Bytes{60, 0, 0, 0}).size(), reference_lzh::Expand({60, 0, 0, 0}).size());
  EXPECT_THROW(LzhExpand(Bytes{61 + 60, 0, 0, 0}), ElzhException);
}

TEST(LzhCompress, FindsMatchesAsWellAsAGreedyLongestMatchParse) {
  const Bytes input = MixedBytes(65536, 7);
  const size_t ours = LzhCompress(input).size();
  const size_t greedy = LzhCompress(input, {4096, false}).size();
  const size_t reference = reference_lzh::Compress(input).size();
  EXPECT_LE(ours, greedy);
  EXPECT_LE(ours, reference);
  EXPECT_LT(ours, input.size() / 2);
  EXPECT_LT(LzhCompress(Bytes(1 << 20, 7)).size(), 30000u);  // 60 bytes per ~10 bits
}

}  // namespace
}  // namespace skin
