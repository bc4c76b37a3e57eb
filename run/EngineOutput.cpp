#include "EngineOutput.h"

#include <cctype>
#include <charconv>

namespace rillo::run {

namespace {

void skipBlanks(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
}

bool takeWord(std::string_view& text, std::string_view word) {
    skipBlanks(text);
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    text.remove_prefix(word.size());
    return true;
}

std::optional<int> takeNumber(std::string_view& text) {
    skipBlanks(text);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

}  // namespace

std::optional<StepCount> parseStepLine(std::string_view line) {
    if (!takeWord(line, "step")) return std::nullopt;
    const auto step = takeNumber(line);
    if (!step || !takeWord(line, "of")) return std::nullopt;
    const auto steps = takeNumber(line);
    skipBlanks(line);
    if (!steps || !line.empty() || *steps <= 0 || *step < 0 || *step > *steps) return std::nullopt;
    return StepCount{*step, *steps};
}

std::vector<std::string> LineSplitter::add(std::string_view chunk) {
    std::vector<std::string> lines;
    for (char c : chunk) {
        if (c == '\n') {
            if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
            lines.push_back(std::move(pending_));
            pending_.clear();
        } else {
            pending_ += c;
        }
    }
    return lines;
}

std::optional<std::string> LineSplitter::finish() {
    if (pending_.empty()) return std::nullopt;
    std::string last = std::move(pending_);
    pending_.clear();
    return last;
}

}  // namespace rillo::run
