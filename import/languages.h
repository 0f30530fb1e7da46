#pragma once
// The languages that the program speaks, one line each. This file is read by the C++ compiler (the
// catalogue, texts.h) and by the resource compiler (KestrovaCartImport.rc.in, through the C
// preprocessor), so it holds nothing but this list.
//
// X(enumerator, code, primary, sublanguage, plural rule, verb):
//  - enumerator: the language's name in modMain::Language;
//  - code: the value of `Language` in the registry that asks for it (language_choice.h);
//  - primary: the Windows primary language id of the display languages that choose it (0x07 for
//    de-DE, de-AT, de-CH...);
//  - sublanguage: with `primary`, the Windows language that its resources are tagged with (0x01,
//    SUBLANG_DEFAULT, which a display language of the same primary language falls back to);
//  - plural rule: which counts take the "one" form (modMain::PluralRule);
//  - verb: Explorer's menu entry for a cart file, in UTF-8.
// The first line is the language of everyone whose display language has no line of its own.
//
// A new language is one line here and one column in the catalogue (texts.cpp).
#define KCI_LANGUAGES(X)                                            \
  X(kEnglish, "en", 0x09, 0x01, kOnlyOne, "Import into Brevanto")   \
  X(kGerman, "de", 0x07, 0x01, kOnlyOne, "In Brevanto importieren") \
  X(kFrench, "fr", 0x0C, 0x01, kZeroAndOne, "Importer dans Brevanto")

// The resource id of the Explorer verb's text in the exe's string table, which the package's
// registry entry names ("@<exe>,-<id>").
#define KCI_VERB_STRING_ID 100
