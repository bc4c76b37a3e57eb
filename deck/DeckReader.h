#pragma once
// Opening a deck: reads a deck file into the card editor's deck, field by
// field from the fixed columns of the layout, and shows the editor.

#include "DeckHost.h"
#include "UiServices.h"

#include <string>

namespace rillo {

enum class OpenResult { Opened, Cancelled, BadHeader, ReadError };

/// Opens a deck. An empty path asks the user for a file. Failures are
/// reported to the user; the result tells the caller what happened.
OpenResult OpenDeck(UiServices& ui, EditorHost& host, const std::string& path);

/// The implied decimal point of an integration period: a text without a
/// point gets one before its last character ("  300" -> "30.0").
std::string withImpliedPoint(const std::string& text);

/// Limits that keep a damaged file from growing the tables without bound.
inline constexpr int MaxGridRows = 10000;
inline constexpr std::size_t MaxLineLength = 4096;

}  // namespace rillo
