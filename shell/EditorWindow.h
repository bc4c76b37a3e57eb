#pragma once
// The child window that holds an open deck: the card editor when it is part
// of the build, otherwise the plain deck window.

#ifdef RILLO_HAVE_CARD_EDITOR
#include "CardEditor.h"
namespace rillo::shell {
using EditorWindow = rillo::CardEditor;
}
#else
#include "DeckWindow.h"
namespace rillo::shell {
using EditorWindow = DeckWindow;
}
#endif
