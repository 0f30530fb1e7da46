// The catalogue's texts: one row per message, one column per language, in the order of
// languages.h. A cell is the message's one text, or Plural(one, other) for a message with a count.
// The English column is the program's English, word for word.
//
// Words, so that every message says the same thing the same way: shopping cart file =
// Warenkorbdatei / fichier de panier; item = Artikel / article; line = Zeile / ligne; paste =
// einfügen / coller; document = Dokument / document; a button by the name that Windows gives it
// in that language (Abbrechen, Wiederholen, Ja, Nein / Annuler, Réessayer, Oui, Non).
#include "import/texts.h"

#include <algorithm>

namespace modMain {
namespace {

// A message's text in one language.
struct Forms {
  constexpr Forms(const wchar_t* text) : one(text), other(text) {}  // NOLINT(google-explicit-constructor)
  constexpr Forms(const wchar_t* one_form, const wchar_t* other_form) : one(one_form), other(other_form) {}
  constexpr Forms() = default;
  const wchar_t* one = nullptr;
  const wchar_t* other = nullptr;
};
constexpr Forms Plural(const wchar_t* one, const wchar_t* other) { return Forms(one, other); }

struct Row {
  Message message;
  std::array<Forms, std::size(kLanguages)> text;
};

constexpr Row kRows[] = {
    {Message::kCartNotFound,
     {L"The Kestrova shopping cart file '{1}' was not found. Import cancelled!",
      L"Die Kestrova-Warenkorbdatei '{1}' wurde nicht gefunden. Import abgebrochen!",
      L"Le fichier de panier Kestrova '{1}' est introuvable. Importation annulée."}},
    {Message::kNotACart,
     {L"The file '{1}' is not a Kestrova shopping cart: its first line and most of its other lines do not have the 14 "
      L"columns of a cart. Nothing was imported.",
      L"Die Datei '{1}' ist kein Kestrova-Warenkorb: Ihre erste Zeile und die meisten ihrer übrigen Zeilen haben nicht "
      L"die 14 Spalten eines Warenkorbs. Es wurde nichts importiert.",
      L"Le fichier '{1}' n'est pas un panier Kestrova : sa première ligne et la plupart de ses autres lignes n'ont pas "
      L"les 14 colonnes d'un panier. Rien n'a été importé."}},
    {Message::kTwoWays,
     {L"The prices in the shopping cart file '{1}' are written in two ways: line {2} has '{3}' and line {4} has '{5}'. "
      L"Nothing was imported.",
      L"Die Preise in der Warenkorbdatei '{1}' sind auf zwei Arten geschrieben: Zeile {2} hat '{3}' und Zeile {4} hat "
      L"'{5}'. Es wurde nichts importiert.",
      L"Les prix du fichier de panier '{1}' sont écrits de deux façons : la ligne {2} contient '{3}' et la ligne {4} "
      L"contient '{5}'. Rien n'a été importé."}},
    {Message::kTooManyArguments,
     {L"Kestrova Cart Import takes at most one argument, the path of a cart file, but it was given {1}. Import one "
      L"cart file at a time.",
      L"Kestrova Cart Import nimmt höchstens ein Argument an, den Pfad einer Warenkorbdatei, hat aber {1} erhalten. "
      L"Importieren Sie eine Warenkorbdatei nach der anderen.",
      L"Kestrova Cart Import accepte au plus un argument, le chemin d'un fichier de panier, mais en a reçu {1}. "
      L"Importez un fichier de panier à la fois."}},
    {Message::kAlreadyRunning,
     {L"A Kestrova cart import is already running. Wait until it has finished, then import the cart again if you "
      L"still need to.",
      L"Ein Import eines Kestrova-Warenkorbs läuft bereits. Warten Sie, bis er beendet ist, und importieren Sie den "
      L"Warenkorb dann erneut, falls das noch nötig ist.",
      L"Une importation de panier Kestrova est déjà en cours. Attendez qu'elle soit terminée, puis importez à nouveau "
      L"le panier si c'est encore nécessaire."}},
    {Message::kHostNotRunning,
     {L"Brevanto is not running. Brevanto must be running in order to use this API",
      L"Brevanto wird nicht ausgeführt. Brevanto muss laufen, damit diese Schnittstelle verwendet werden kann.",
      L"Brevanto n'est pas lancé. Brevanto doit être lancé pour que cette interface puisse être utilisée."}},
    {Message::kNoDocument,
     {L"There are no documents currently open in Brevanto.", L"In Brevanto ist zurzeit kein Dokument geöffnet.",
      L"Aucun document n'est actuellement ouvert dans Brevanto."}},
    {Message::kWrongColumnsLine,
     {L"It appears that line {1} in the shopping cart file does not have the correct number of columns of data, so "
      L"the data will not be pasted into Brevanto.",
      L"Zeile {1} der Warenkorbdatei scheint nicht die richtige Anzahl von Datenspalten zu haben. Ihre Daten werden "
      L"daher nicht in Brevanto eingefügt.",
      L"La ligne {1} du fichier de panier ne semble pas avoir le bon nombre de colonnes de données. Ses données ne "
      L"seront donc pas collées dans Brevanto."}},
    {Message::kWrongColumnsLines,
     {L"It appears that lines {1} in the shopping cart file do not have the correct number of columns of data, so "
      L"their data will not be pasted into Brevanto.",
      L"Die Zeilen {1} der Warenkorbdatei scheinen nicht die richtige Anzahl von Datenspalten zu haben. Ihre Daten "
      L"werden daher nicht in Brevanto eingefügt.",
      L"Les lignes {1} du fichier de panier ne semblent pas avoir le bon nombre de colonnes de données. Leurs données "
      L"ne seront donc pas collées dans Brevanto."}},
    {Message::kNamesNoItemLine,
     {L"Line {1} names no item (its part numbers, manufacturer and description are empty), so it will not be pasted "
      L"into Brevanto.",
      L"Zeile {1} nennt keinen Artikel (ihre Artikelnummern, ihr Hersteller und ihre Beschreibung sind leer). Sie wird "
      L"daher nicht in Brevanto eingefügt.",
      L"La ligne {1} ne désigne aucun article (ses références, son fabricant et sa description sont vides). Elle ne "
      L"sera donc pas collée dans Brevanto."}},
    {Message::kNamesNoItemLines,
     {L"Lines {1} name no item (their part numbers, manufacturer and description are empty), so they will not be "
      L"pasted into Brevanto.",
      L"Die Zeilen {1} nennen keinen Artikel (ihre Artikelnummern, Hersteller und Beschreibungen sind leer). Sie "
      L"werden daher nicht in Brevanto eingefügt.",
      L"Les lignes {1} ne désignent aucun article (leurs références, fabricants et descriptions sont vides). Elles ne "
      L"seront donc pas collées dans Brevanto."}},
    {Message::kChooseOkOrCancel,
     {Plural(L"Choose OK to import the other item, or Cancel to import none.",
             L"Choose OK to import the other {1} items, or Cancel to import none."),
      Plural(L"Wählen Sie OK, um den übrigen Artikel zu importieren, oder Abbrechen, um keinen zu importieren.",
             L"Wählen Sie OK, um die übrigen {1} Artikel zu importieren, oder Abbrechen, um keinen zu importieren."),
      Plural(L"Choisissez OK pour importer l'autre article, ou Annuler pour n'en importer aucun.",
             L"Choisissez OK pour importer les {1} autres articles, ou Annuler pour n'en importer aucun.")}},
    {Message::kNothingImportable,
     {L"None of the cart's lines can be imported.", L"Keine Zeile des Warenkorbs kann importiert werden.",
      L"Aucune ligne du panier ne peut être importée."}},
    {Message::kAlreadyImported,
     {Plural(L"This item of the shopping cart was already imported into the open Brevanto document at {2}.\r\n\r\n"
             L"Choose Yes to import it a second time, or No to import nothing.",
             L"These {1} items of the shopping cart were already imported into the open Brevanto document at {2}."
             L"\r\n\r\nChoose Yes to import them a second time, or No to import nothing."),
      Plural(
          L"Dieser Artikel des Warenkorbs wurde bereits um {2} in das geöffnete Brevanto-Dokument importiert.\r\n\r\n"
          L"Wählen Sie Ja, um ihn ein zweites Mal zu importieren, oder Nein, um nichts zu importieren.",
          L"Diese {1} Artikel des Warenkorbs wurden bereits um {2} in das geöffnete Brevanto-Dokument importiert."
          L"\r\n\r\nWählen Sie Ja, um sie ein zweites Mal zu importieren, oder Nein, um nichts zu importieren."),
      Plural(L"Cet article du panier a déjà été importé dans le document Brevanto ouvert à {2}.\r\n\r\n"
             L"Choisissez Oui pour l'importer une deuxième fois, ou Non pour ne rien importer.",
             L"Ces {1} articles du panier ont déjà été importés dans le document Brevanto ouvert à {2}.\r\n\r\n"
             L"Choisissez Oui pour les importer une deuxième fois, ou Non pour ne rien importer.")}},
    {Message::kMaybeImported,
     {Plural(L"An import of this item of the shopping cart into the open Brevanto document stopped at {2} while it "
             L"was being pasted: it may be in the document.\r\n\r\nCheck the document, then choose Yes to import it "
             L"again, or No to import nothing.",
             L"An import of these {1} items of the shopping cart into the open Brevanto document stopped at {2} while "
             L"they were being pasted: some or all of them may be in the document.\r\n\r\nCheck the document, then "
             L"choose Yes to import them again, or No to import nothing."),
      Plural(L"Ein Import dieses Artikels des Warenkorbs in das geöffnete Brevanto-Dokument wurde um {2} abgebrochen, "
             L"während er eingefügt wurde: Er ist möglicherweise im Dokument.\r\n\r\nPrüfen Sie das Dokument und "
             L"wählen Sie dann Ja, um ihn erneut zu importieren, oder Nein, um nichts zu importieren.",
             L"Ein Import dieser {1} Artikel des Warenkorbs in das geöffnete Brevanto-Dokument wurde um {2} "
             L"abgebrochen, während sie eingefügt wurden: Einige oder alle davon sind möglicherweise im Dokument."
             L"\r\n\r\nPrüfen Sie das Dokument und wählen Sie dann Ja, um sie erneut zu importieren, oder Nein, um "
             L"nichts zu importieren."),
      Plural(L"Une importation de cet article du panier dans le document Brevanto ouvert s'est arrêtée à {2} pendant "
             L"qu'il était collé : il se trouve peut-être dans le document.\r\n\r\nVérifiez le document, puis "
             L"choisissez Oui pour l'importer à nouveau, ou Non pour ne rien importer.",
             L"Une importation de ces {1} articles du panier dans le document Brevanto ouvert s'est arrêtée à {2} "
             L"pendant qu'ils étaient collés : certains ou tous se trouvent peut-être dans le document.\r\n\r\n"
             L"Vérifiez le document, puis choisissez Oui pour les importer à nouveau, ou Non pour ne rien importer.")}},
    {Message::kImported,
     {L"{1} Kestrova Shopping Cart Items have been imported into Brevanto.",
      Plural(L"{1} Kestrova-Warenkorbartikel wurde in Brevanto importiert.",
             L"{1} Kestrova-Warenkorbartikel wurden in Brevanto importiert."),
      Plural(L"{1} article du panier Kestrova a été importé dans Brevanto.",
             L"{1} articles du panier Kestrova ont été importés dans Brevanto.")}},
    {Message::kBusy,
     {L"Brevanto is busy and does not accept the import's requests. Close any open dialog in Brevanto, then choose "
      L"Retry. Choose Cancel to stop the import; nothing has been pasted into Brevanto yet.",
      L"Brevanto ist beschäftigt und nimmt die Anfragen des Imports nicht an. Schließen Sie alle geöffneten "
      L"Dialogfelder in Brevanto, und wählen Sie dann Wiederholen. Wählen Sie Abbrechen, um den Import zu beenden; es "
      L"wurde noch nichts in Brevanto eingefügt.",
      L"Brevanto est occupé et n'accepte pas les demandes de l'importation. Fermez toute boîte de dialogue ouverte "
      L"dans Brevanto, puis choisissez Réessayer. Choisissez Annuler pour arrêter l'importation ; rien n'a encore été "
      L"collé dans Brevanto."}},
    {Message::kListNext, {L"{1}, {2}", L"{1}, {2}", L"{1}, {2}"}},
    {Message::kListLast, {L"{1} and {2}", L"{1} und {2}", L"{1} et {2}"}},
    {Message::kListMore,
     {L"{2} and {1} more", L"{2} und {1} weitere", Plural(L"{2} et {1} autre", L"{2} et {1} autres")}},
    {Message::kProgressFirstLine,
     {L"Importing the Kestrova shopping cart into Brevanto", L"Der Kestrova-Warenkorb wird in Brevanto importiert",
      L"Importation du panier Kestrova dans Brevanto"}},
    {Message::kProgressItem, {L"Item {1} of {2}", L"Artikel {1} von {2}", L"Article {1} sur {2}"}},
    {Message::kProgressPasting,
     {L"Pasting {1} items into Brevanto",
      Plural(L"{1} Artikel wird in Brevanto eingefügt", L"{1} Artikel werden in Brevanto eingefügt"),
      Plural(L"Collage de {1} article dans Brevanto", L"Collage de {1} articles dans Brevanto")}},
    {Message::kErrorText, {L"Error ({1}) {2}", L"Fehler ({1}) {2}", L"Erreur ({1}) {2}"}},
    {Message::kReadFailed,
     {L"Error in ReadFileToString, File='{1}'", L"Fehler in ReadFileToString, Datei='{1}'",
      L"Erreur dans ReadFileToString, fichier='{1}'"}},
    {Message::kUnexpectedError,
     {L"The cart import stopped because of an unexpected error.",
      L"Der Import des Warenkorbs wurde wegen eines unerwarteten Fehlers abgebrochen.",
      L"L'importation du panier s'est arrêtée à cause d'une erreur inattendue."}},
    {Message::kHostClosed,
     {L"The cart import stopped because Brevanto closed while the cart was being imported. Nothing was pasted into "
      L"Brevanto.",
      L"Der Import des Warenkorbs wurde abgebrochen, weil Brevanto während des Imports geschlossen wurde. Es wurde "
      L"nichts in Brevanto eingefügt.",
      L"L'importation du panier s'est arrêtée parce que Brevanto a été fermé pendant l'importation. Rien n'a été "
      L"collé dans Brevanto."}},
    {Message::kHostClosedInPaste,
     {L"The cart import stopped because Brevanto closed while the items were being pasted into it. Some or all of "
      L"them may have been pasted: check the open document in Brevanto before you import the cart again.",
      L"Der Import des Warenkorbs wurde abgebrochen, weil Brevanto geschlossen wurde, während die Artikel eingefügt "
      L"wurden. Einige oder alle davon wurden möglicherweise eingefügt: Prüfen Sie das geöffnete Dokument in "
      L"Brevanto, bevor Sie den Warenkorb erneut importieren.",
      L"L'importation du panier s'est arrêtée parce que Brevanto a été fermé pendant que les articles y étaient "
      L"collés. Certains ou tous ont peut-être été collés : vérifiez le document ouvert dans Brevanto avant "
      L"d'importer à nouveau le panier."}},
    {Message::kErrorInLine,
     {L"It happened while line {1} of the shopping cart file was being handled.",
      L"Der Fehler trat bei der Verarbeitung von Zeile {1} der Warenkorbdatei auf.",
      L"L'erreur s'est produite pendant le traitement de la ligne {1} du fichier de panier."}},
    {Message::kErrInvalidCall,
     {common::kErrInvalidCall.description, L"Ungültiger Prozeduraufruf oder ungültiges Argument",
      L"Argument ou appel de procédure incorrect"}},
    {Message::kErrOverflow, {common::kErrOverflow.description, L"Überlauf", L"Dépassement de capacité"}},
    {Message::kErrOutOfMemory,
     {common::kErrOutOfMemory.description, L"Nicht genügend Speicher", L"Mémoire insuffisante"}},
    {Message::kErrSubscriptOutOfRange,
     {common::kErrSubscriptOutOfRange.description, L"Index außerhalb des gültigen Bereichs",
      L"L'indice n'appartient pas à la sélection"}},
    {Message::kErrTypeMismatch,
     {common::kErrTypeMismatch.description, L"Typen unverträglich", L"Incompatibilité de type"}},
    {Message::kErrInternal, {common::kErrInternal.description, L"Interner Fehler", L"Erreur interne"}},
    {Message::kErrObjectNotSet,
     {common::kErrObjectNotSet.description, L"Objektvariable oder With-Blockvariable nicht festgelegt",
      L"Variable objet ou variable de bloc With non définie"}},
    {Message::kErrInvalidUseOfNull,
     {common::kErrInvalidUseOfNull.description, L"Unzulässige Verwendung von Null", L"Utilisation incorrecte de Null"}},
    {Message::kErrObjectRequired, {common::kErrObjectRequired.description, L"Objekt erforderlich", L"Objet requis"}},
    {Message::kErrAutomation, {common::kErrAutomation.description, L"Automatisierungsfehler", L"Erreur Automation"}},
    {Message::kErrNoSuchMember,
     {common::kErrNoSuchMember.description, L"Objekt unterstützt diese Eigenschaft oder Methode nicht",
      L"Propriété ou méthode non gérée par cet objet"}},
    {Message::kErrKeyAlreadyPresent,
     {common::kErrKeyAlreadyPresent.description,
      L"Dieser Schlüssel ist bereits einem Element dieser Auflistung zugeordnet",
      L"Cette clé est déjà associée à un élément de cette collection"}},
    {Message::kErrApplicationDefined,
     {common::kErrApplicationDefined.description, L"Anwendungs- oder objektdefinierter Fehler",
      L"Erreur définie par l'application ou par l'objet"}},
    {Message::kExplorerVerb,
     {
#define KCI_VERB_CELL(name, code, primary, sublanguage, plural, verb) Forms(L"" verb),
         KCI_LANGUAGES(KCI_VERB_CELL)
#undef KCI_VERB_CELL
     }},
};

constexpr bool InMessageOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (kRows[i].message != static_cast<Message>(i)) return false;
  }
  return std::size(kRows) == static_cast<std::size_t>(Message::kCount);
}
static_assert(InMessageOrder(), "one row per message, in the order of Message");

// The program's own runtime errors, by their English description (the number alone is no sign:
// the automation adapter raises "Automation error" under an HRESULT).
constexpr struct {
  const common::ErrorCode* code;
  Message message;
} kErrors[] = {
    {&common::kErrInvalidCall, Message::kErrInvalidCall},
    {&common::kErrOverflow, Message::kErrOverflow},
    {&common::kErrOutOfMemory, Message::kErrOutOfMemory},
    {&common::kErrSubscriptOutOfRange, Message::kErrSubscriptOutOfRange},
    {&common::kErrTypeMismatch, Message::kErrTypeMismatch},
    {&common::kErrInternal, Message::kErrInternal},
    {&common::kErrObjectNotSet, Message::kErrObjectNotSet},
    {&common::kErrInvalidUseOfNull, Message::kErrInvalidUseOfNull},
    {&common::kErrObjectRequired, Message::kErrObjectRequired},
    {&common::kErrAutomation, Message::kErrAutomation},
    {&common::kErrNoSuchMember, Message::kErrNoSuchMember},
    {&common::kErrKeyAlreadyPresent, Message::kErrKeyAlreadyPresent},
    {&common::kErrApplicationDefined, Message::kErrApplicationDefined},
};

constexpr PluralRule kPluralRules[] = {
#define KCI_PLURAL_RULE(name, code, primary, sublanguage, plural, verb) PluralRule::plural,
    KCI_LANGUAGES(KCI_PLURAL_RULE)
#undef KCI_PLURAL_RULE
};

// The lines that a list names one by one; the rest are counted.
constexpr std::size_t kListedLines = 10;

}  // namespace

PluralForm PluralOf(Language language, std::int64_t count) {
  switch (kPluralRules[static_cast<std::size_t>(language)]) {
    case PluralRule::kOnlyOne:
      return count == 1 ? PluralForm::kOne : PluralForm::kOther;
    case PluralRule::kZeroAndOne:
      return count == 0 || count == 1 ? PluralForm::kOne : PluralForm::kOther;
  }
  return PluralForm::kOther;
}

std::wstring_view Texts::Form(Message message, PluralForm form) const {
  const Forms& forms = kRows[static_cast<std::size_t>(message)].text[static_cast<std::size_t>(language_)];
  const wchar_t* text = form == PluralForm::kOne ? forms.one : forms.other;
  return text == nullptr ? std::wstring_view() : std::wstring_view(text);
}

std::wstring Texts::Fill(Message message, std::span<const Insert> inserts) const {
  const PluralForm form = !inserts.empty() && inserts.front().is_count() ? PluralOf(language_, inserts.front().count())
                                                                         : PluralForm::kOther;
  const std::wstring_view text = Form(message, form);
  std::wstring filled;
  filled.reserve(text.size());
  // One pass over the message's own text: what an insert brings is copied, never read again.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'{') {
      const std::size_t close = text.find(L'}', i);
      std::size_t number = 0;
      bool digits = close != std::wstring_view::npos && close > i + 1;
      for (std::size_t j = i + 1; digits && j < close; ++j) {
        digits = text[j] >= L'0' && text[j] <= L'9';
        number = number * 10 + static_cast<std::size_t>(text[j] - L'0');
      }
      if (digits && number >= 1 && number <= inserts.size()) {
        filled += inserts[number - 1].text();
        i = close;
        continue;
      }
    }
    filled.push_back(text[i]);
  }
  return filled;
}

std::wstring Texts::LineList(const std::vector<std::int16_t>& lines) const {
  if (lines.empty()) return {};
  const std::size_t listed = std::min(lines.size(), kListedLines);
  std::wstring list = std::to_wstring(lines.front());
  for (std::size_t i = 1; i < listed; ++i) {
    const bool last = i + 1 == listed && lines.size() <= kListedLines;
    list = Say(last ? Message::kListLast : Message::kListNext, list, lines[i]);
  }
  if (lines.size() > kListedLines) list = Say(Message::kListMore, lines.size() - kListedLines, list);
  return list;
}

std::wstring Texts::Describe(const common::RuntimeError& error) const {
  for (const auto& known : kErrors) {
    if (error.description() == known.code->description) return Say(known.message);
  }
  return error.description();
}

}  // namespace modMain
