#include "EngineOutput.h"

#include <gtest/gtest.h>

namespace rillo::run {
namespace {

TEST(EngineOutput, ProgressLinesAreReadAndEverythingElseIsNot) {
    auto count = [](std::string_view line) {
        const auto c = parseStepLine(line);
        return c ? std::to_string(c->step) + "/" + std::to_string(c->steps) : std::string("-");
    };
    EXPECT_EQ(count("step 3 of 120"), "3/120");
    EXPECT_EQ(count("  Step 0 of 5 \r"), "0/5");
    EXPECT_EQ(count("STEP 5 of 5"), "5/5");
    EXPECT_EQ(count("step 6 of 5"), "-") << "more steps than there are";
    EXPECT_EQ(count("step 1 of 0"), "-");
    EXPECT_EQ(count("step -1 of 5"), "-");
    EXPECT_EQ(count("step 3 of 120 done"), "-");
    EXPECT_EQ(count("stepping 3 of 4"), "-");
    EXPECT_EQ(count("step three of 4"), "-");
    EXPECT_EQ(count("step 3 of"), "-");
    EXPECT_EQ(count("step 99999999999 of 99999999999"), "-") << "out of range is no count";
    EXPECT_EQ(count("model output line"), "-");
    EXPECT_EQ(count(""), "-");
}

TEST(EngineOutput, LinesAreWholeWhateverChunksTheyArriveIn) {
    LineSplitter lines;
    EXPECT_TRUE(lines.add("step 1 ").empty());
    EXPECT_EQ(lines.add("of 2\r\nstep 2 of 2\n\nlast"), (std::vector<std::string>{"step 1 of 2", "step 2 of 2", ""}));
    EXPECT_EQ(lines.finish(), std::optional<std::string>("last"));
    EXPECT_EQ(lines.finish(), std::nullopt);
    EXPECT_EQ(lines.add("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(lines.finish(), std::nullopt);
}

}  // namespace
}  // namespace rillo::run
