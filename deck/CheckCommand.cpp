#include "CheckCommand.h"

#include "ConsoleUi.h"
#include "DeckReader.h"
#include "DeckWriter.h"

namespace rillo {

int RunCheck(const CheckRequest& request, std::ostream& messages) {
    ConsoleUi ui(messages);
    ui.setAnswerYes(request.answerYes);
    HeadlessHost host;
    if (request.deck.empty() || openDeck(ui, host, request.deck) != OpenResult::Opened) return 2;

    SaveOptions options;
    options.askFinished = false;
    options.checkOnly = !request.output.has_value();
    options.path = request.output;
    return saveDeck(ui, host, options) == SaveResult::Saved ? 0 : 1;
}

}  // namespace rillo
