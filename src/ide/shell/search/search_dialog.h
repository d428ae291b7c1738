#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace korvo {

struct TSearchState;

// The Find dialog, or with replace set the Replace dialog, which adds the
// replacement field.
class TTextSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextSearchDialog(bool replace, QWidget* parent = nullptr);

    // Fills the controls from the state, histories included.
    void Load(const TSearchState& state);
    // The controls' values into the state; the texts go to the top of their
    // histories.
    void Store(TSearchState& state) const;

    QComboBox* SearchTextBox() const { return searchText_; }
    QComboBox* ReplaceTextBox() const { return replaceText_; }
    QCheckBox* CaseSensitiveBox() const { return caseSensitive_; }
    QCheckBox* WholeWordsBox() const { return wholeWords_; }
    QCheckBox* FromCaretBox() const { return fromCaret_; }
    QCheckBox* SelectedOnlyBox() const { return selectedOnly_; }
    QRadioButton* BackwardButton() const { return backward_; }

private:
    QComboBox* searchText_ = nullptr;
    QComboBox* replaceText_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QCheckBox* fromCaret_ = nullptr;
    QCheckBox* selectedOnly_ = nullptr;
    QRadioButton* forward_ = nullptr;
    QRadioButton* backward_ = nullptr;
};

} // namespace korvo
