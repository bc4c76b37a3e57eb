#pragma once
// The command-line check: reads a deck exactly as File > Open does and runs
// the checks of File > Save, with every message printed as a line.

#include <iosfwd>
#include <optional>
#include <string>

namespace rillo {

struct CheckRequest {
    std::string deck;
    std::optional<std::string> output;  ///< also write the deck here
    bool answerYes = false;             ///< how Yes/No questions are answered
};

/// Exit status: 0 read and every check passed (and the output written),
/// 1 a check refused or an error was reported, 2 the deck could not be read.
int RunCheck(const CheckRequest& request, std::ostream& messages);

}  // namespace rillo
