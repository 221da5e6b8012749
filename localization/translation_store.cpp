// SPDX-License-Identifier: MIT
// Translation store, first stage: no table yet, so every text comes back
// unchanged; the language code in force is kept here already.
#include "translation_store.h"

namespace tessarin {

namespace {
int languageInForce = kEnglish;
}  // namespace

void InitTranslation(const std::string&) {}

bool TranslationStoreExists() { return false; }

int Language() { return languageInForce; }

void SetLanguage(int code) { languageInForce = code; }

std::u16string TranslateText(std::u16string_view text) { return std::u16string(text); }

}  // namespace tessarin
