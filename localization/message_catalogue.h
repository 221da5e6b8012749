// SPDX-License-Identifier: MIT
// The numbered messages the program shows from its code. The German text is
// also the key of its translation.
#pragma once

#include <string>
#include <string_view>

namespace tessarin {

class TranslationStore;

// The translation editor's question boxes.
enum EditorMessage : int {
  kMsgSearchCaption = 29,  // "Suchen"
  kMsgSearchFound = 30,    // "Text gefunden. Weitersuchen?"
  kMsgDeleteCaption = 31,  // "Eintrag löschen?"; the box's text is the German key
};

// German text of message `number`; empty for a number the catalogue lacks.
std::u16string_view GermanMessage(int number);

// Message `number` in the language in force of `store`: the translation of
// its German text (learned when the store does not know it yet). Empty for a
// number the catalogue lacks.
std::u16string MessageText(int number, TranslationStore& store);
// Message `number` for a program without a translation store: its German
// text.
std::u16string MessageText(int number);

// Looks every message up once in `store`, in ascending order, so that the
// store learns those it does not know yet.
void RegisterMessages(TranslationStore& store);

}  // namespace tessarin
