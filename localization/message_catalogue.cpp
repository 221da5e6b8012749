// SPDX-License-Identifier: MIT
// The catalogue table. Messages 6 and 11 share their text and so their
// translation; 29 to 31 are the translation editor's question boxes.
#include "message_catalogue.h"

#include <array>
#include <utility>

#include "translation_store.h"

namespace tessarin {

namespace {

constexpr std::array<std::pair<int, std::u16string_view>, 11> kMessages{{
    {1, u"Bitte schließen Sie das Program und starten Sie es neu."},
    {2, u"Übersetzen"},
    {6, u"Folgende DXF Datei konnte nicht geöffnet werden:"},
    {7, u"Beginne Konvertierung... Bitte warten..."},
    {8, u"Abgebrochen..."},
    {9, u"Konvertierung beendet:"},
    {10, u"Folgende DXF Datei konnte nicht angelegt werden:"},
    {11, u"Folgende DXF Datei konnte nicht geöffnet werden:"},
    {29, u"Suchen"},
    {30, u"Text gefunden. Weitersuchen?"},
    {31, u"Eintrag löschen?"},
}};

}  // namespace

std::u16string_view GermanMessage(int number) {
  for (const auto& [n, text] : kMessages) {
    if (n == number) return text;
  }
  return {};
}

std::u16string MessageText(int number, TranslationStore& store) {
  const std::u16string_view german = GermanMessage(number);
  if (german.empty()) return {};
  return store.TranslateText(german);
}

std::u16string MessageText(int number) { return std::u16string(GermanMessage(number)); }

void RegisterMessages(TranslationStore& store) {
  for (const auto& message : kMessages) MessageText(message.first, store);
}

}  // namespace tessarin
