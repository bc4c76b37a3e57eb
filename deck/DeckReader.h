#pragma once
// Reading a deck. The core, readDeck, turns a file's bytes into a deck or
// into a read error naming the line and columns it could not account for:
// every line is taken by exactly one card (or is the matter after the last
// card that a file may end with), and every field's text is taken whole.
// It uses no user-interface services. openDeck is the editor's wrapper: the
// file dialog, the progress bar, the pointer and the messages.

#include "DeckHost.h"
#include "UiServices.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rillo {

/// Why a deck file could not be read, and where.
struct ReadError {
    /// Line 1 is no deck header (the file is not a deck at all).
    bool badHeader = false;
    long long line = 0;        ///< 1-based; 0 when no line is to blame
    int firstColumn = 0;       ///< 0 when the whole line is to blame
    int lastColumn = 0;
    std::string card;          ///< the card the line was read for
    std::string what;          ///< what is wrong, for a person
    /// "Line 6 (card 1.2), columns 16-20: <what>"
    std::string describe() const;
};

/// What reading gave: a deck, or the error that refused it.
struct DeckRead {
    std::unique_ptr<Deck> deck;
    std::optional<ReadError> error;
    /// Warnings that did not stop the reading (too many special elements).
    std::vector<std::string> notices;
    /// For each line of the file, the card that took it ("end" for what
    /// follows the last card). Lines not reached when an error refused the
    /// file are missing.
    std::vector<std::string> lineCards;
};

using ReadProgress = std::function<void(int)>;

/// Reads a deck from the bytes of a file.
DeckRead readDeck(std::string_view bytes, const ReadProgress& progress = {});
/// The same into a fresh deck (the editor's own); the result holds no deck.
DeckRead readDeckInto(std::string_view bytes, Deck& deck, const ReadProgress& progress = {});

/// The bytes of a deck file. Only a regular file is read (a FIFO or a
/// device would never end); throws RuntimeError with the reason.
std::string readDeckFile(const std::string& path);

/// The first `count` lines of a deck file's bytes as the reader sees them
/// (every kind of line end, a byte-order mark skipped, Windows-1252 text
/// decoded), without their line ends.
std::vector<std::string> firstDeckLines(std::string_view bytes, std::size_t count);

/// Whether line 1 is a deck header that the reader accepts: its four
/// 5-column fields each hold a number.
bool isDeckHeader(std::string_view line);
/// The IOPT of line 3: 0, 1, or -1 when column 13 holds neither digit.
int ioptOf(std::string_view line3);

enum class OpenResult { Opened, Cancelled, BadHeader, ReadError };

/// Opens a deck into the editor. An empty path asks the user for a file.
/// Failures are reported to the user; the result tells the caller what
/// happened.
OpenResult openDeck(UiServices& ui, EditorHost& host, const std::string& path);

/// The implied decimal point of an integration period: a text without a
/// point gets one before its last character ("  300" -> "30.0").
std::string withImpliedPoint(const std::string& text);

/// Limits that keep a damaged file from growing the tables without bound.
inline constexpr int MaxGridRows = 10000;
inline constexpr std::size_t MaxDeckBytes = 64u << 20;

}  // namespace rillo
