#pragma once

namespace korvo {

class IEditorHost;
class TEditorForm;

// Find and Replace in the text of a document with the search state the
// documents share. The dialog starts from a selection within one line, or
// else the word at the caret; its first search covers the whole scope
// unless the user chose to search from the caret.
void ShowSearchDialog(IEditorHost& host, TEditorForm& form, bool replace);
// Searches (and replaces) once more, forwards or backwards from the caret;
// beeps when nothing is found.
void RunSearch(IEditorHost& host, TEditorForm& form, bool replace, bool backwards);

} // namespace korvo
