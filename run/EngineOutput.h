#pragma once
// Reading what a model program prints: its standard output cut into lines,
// and the progress lines "step N of M" among them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rillo::run {

struct StepCount {
    int step = 0;
    int steps = 0;
};

/// The step count of a progress line "step N of M" (blanks around the words
/// and a CR line end allowed, "Step" in any case); nothing for any other
/// line, or when N is greater than M or M is 0.
std::optional<StepCount> parseStepLine(std::string_view line);

/// Cuts printed text that arrives in chunks of any size into whole lines.
class LineSplitter {
public:
    /// The lines that this chunk completes, without their line ends.
    std::vector<std::string> add(std::string_view chunk);
    /// The last line when the text did not end with a line end.
    std::optional<std::string> finish();

private:
    std::string pending_;
};

}  // namespace rillo::run
