#pragma once

namespace korvo {

class IDocumentHost;
class TDocumentForm;

// Find and Replace in the text of a document with the search state the
// documents share. The dialog starts from a selection within one line, or
// else the word at the caret; its first search covers the whole scope
// unless the user chose to search from the caret.
void ShowSearchDialog(IDocumentHost& host, TDocumentForm& form, bool replace);
// Searches (and replaces) once more, forwards or backwards from the caret;
// beeps when nothing is found.
void RunSearch(IDocumentHost& host, TDocumentForm& form, bool replace, bool backwards);

} // namespace korvo
