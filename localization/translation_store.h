// SPDX-License-Identifier: MIT
// The translation store: German interface texts to the language in force,
// learned at run time into "translate.dat" in the program folder.
#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// Language codes; the code is also the slot of the translation table.
enum LanguageCode : int {
  kGerman = 0,
  kEnglish = 1,
  kFrench = 2,
  kDutch = 3,
  kItalian = 4,
  kSpanish = 5,
  kPortuguese = 6,
};

// Builds the store from `progpath` + "translate.dat" (`progpath` ends in a
// path separator). A missing or unreadable file gives an empty store.
void InitTranslation(const std::string& progpath);

// Whether InitTranslation has built a store.
bool TranslationStoreExists();

// The language code in force, read by every lookup. 1 (English) at start.
int Language();
void SetLanguage(int code);

// The translation of `text` into the language in force, or `text` itself.
// A text the store does not know is learned and the file is saved.
std::u16string TranslateText(std::u16string_view text);

}  // namespace tessarin
