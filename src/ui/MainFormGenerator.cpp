// "Eingabe › Trägerrost erzeugen…": the system from a deck description.

#include "model/DeckGenerator.h"
#include "ui/DeckGeneratorDialog.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"

namespace {

// The dialog opens with the description last taken over in this run.
DeckDescription& LastDeck() {
    static DeckDescription deck = DefaultDeck();
    return deck;
}

} // namespace

void TMainForm::Trgerrosterzeugen1Click() {
    TDeckGeneratorDialog dialog(
        LastDeck(),
        [this](const DeckDescription& deck) {
            // Asks to save a modified system; the generated one has no file yet.
            if (!NewSystem())
                return false;
            GenerateDeck(deck, input_);
            LastDeck() = deck;
            ShowInputWindow(false);
            return true;
        },
        this);
    dialogs_.Exec(&dialog);
}
