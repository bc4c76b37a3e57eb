#pragma once
// Saving a deck: each card is checked and written in the deck layout. The
// whole deck is written to a temporary file beside the target, which takes
// the target's place only when every card was written, so a refused or
// failed save leaves the previous file as it was.

#include "DeckHost.h"
#include "UiServices.h"

#include <optional>
#include <string>

namespace rillo {

/// What a save did, and why it wrote nothing when it did not.
struct SaveResult {
    enum Status {
        Saved,      ///< the deck was written
        Cancelled,  ///< the user cancelled the save dialog
        Refused,    ///< a check refused the deck (the user was told why)
        Failed,     ///< the file could not be written, or a value does not fit its columns
    };
    Status status = Saved;
    /// Refused or failed: the card being written ("" when no card is to
    /// blame), the line of the file it would have been written to, the
    /// columns of a value that does not fit them (0 when none), and the
    /// message the user was given.
    std::string card;
    long long line = 0;
    int firstColumn = 0, lastColumn = 0;
    std::string message;
    /// Saved, and the user answered Yes to "Finished with this File?": the
    /// editor has been closed.
    bool finished = false;

    friend bool operator==(const SaveResult& r, Status s) { return r.status == s; }
    /// "Saved", "Refused at line 12 (card 3.1), columns 21-28: ...", for logs and tests.
    std::string describe() const;
};

struct SaveOptions {
    /// Save to this path without the save dialog.
    std::optional<std::string> path;
    /// Run every check but write nothing.
    bool checkOnly = false;
    /// Ask "Finished with this File?" after a successful save.
    bool askFinished = true;
};

SaveResult saveDeck(UiServices& ui, EditorHost& host, const SaveOptions& options = {});

/// The deck's text as the save writes it (CR LF line ends), for the given
/// deck; runs the same checks and dialogue. Empty when the save ends early.
std::optional<std::string> DeckText(UiServices& ui, EditorHost& host);

/// Writes `contents` to `path` through a temporary file in the same folder
/// that replaces the target only once it is complete and flushed. Throws
/// RuntimeError with the system's description on failure; the target is then
/// untouched and no temporary file is left. A path that is a symbolic link
/// is written through: the file it leads to is replaced, the link stays.
void writeFileAtomically(const std::string& path, const std::string& contents);

/// Whether this user may write an existing file (a missing file is writable);
/// a file marked read-only never is.
bool isWritableFile(const std::string& path);

}  // namespace rillo
