#include "shell/search/search_dialog.h"

#include "base/dialog_buttons.h"

#include "shell/search/search_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvo {

namespace {
QComboBox* HistoryBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(260);
    box->setMaxCount(kSearchHistoryLength);
    return box;
}

void LoadHistory(QComboBox* box, const QStringList& history, const QString& text) {
    box->clear();
    box->addItems(history.mid(0, kSearchHistoryLength));
    box->setEditText(text);
}
} // namespace

TTextSearchDialog::TTextSearchDialog(bool replace, QWidget* parent) : QDialog(parent) {
    setWindowTitle(replace ? QStringLiteral("  Replace text") : QStringLiteral("  Search Text"));
    setWindowFlag(Qt::Tool);
    setObjectName(replace ? QStringLiteral("dlgTextReplace") : QStringLiteral("dlgTextSearch"));

    auto* fields = new QFormLayout;
    searchText_ = HistoryBox(this);
    fields->addRow(new QLabel(QStringLiteral("&Search for:"), this), searchText_);
    qobject_cast<QLabel*>(fields->labelForField(searchText_))->setBuddy(searchText_);
    if (replace) {
        replaceText_ = HistoryBox(this);
        auto* label = new QLabel(QStringLiteral("&Replace with:"), this);
        label->setBuddy(replaceText_);
        fields->addRow(label, replaceText_);
    }

    auto* options = new QGroupBox(QStringLiteral(" Options "), this);
    auto* optionsLayout = new QVBoxLayout(options);
    caseSensitive_ = new QCheckBox(QStringLiteral("C&ase sensitivity"), options);
    wholeWords_ = new QCheckBox(QStringLiteral("&Whole words only"), options);
    fromCaret_ = new QCheckBox(QStringLiteral("Search from &caret"), options);
    selectedOnly_ = new QCheckBox(QStringLiteral("&Selected text only"), options);
    for (auto* box : {caseSensitive_, wholeWords_, fromCaret_, selectedOnly_})
        optionsLayout->addWidget(box);

    auto* direction = new QGroupBox(QStringLiteral(" Direction "), this);
    auto* directionLayout = new QVBoxLayout(direction);
    forward_ = new QRadioButton(QStringLiteral("&Forward"), direction);
    backward_ = new QRadioButton(QStringLiteral("&Backward"), direction);
    directionLayout->addWidget(forward_);
    directionLayout->addWidget(backward_);
    directionLayout->addStretch();
    forward_->setChecked(true);

    auto* groups = new QHBoxLayout;
    groups->addWidget(options, 3);
    groups->addWidget(direction, 2);

    QDialogButtonBox* buttons = AddOkCancelButtons(*this).Box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    setSizeGripEnabled(false);
}

void TTextSearchDialog::Load(const TSearchState& state) {
    LoadHistory(searchText_, state.SearchHistory, state.SearchText);
    if (replaceText_) LoadHistory(replaceText_, state.ReplaceHistory, state.ReplaceText);
    caseSensitive_->setChecked(state.CaseSensitive);
    wholeWords_->setChecked(state.WholeWords);
    fromCaret_->setChecked(state.FromCaret);
    selectedOnly_->setChecked(state.SelectedOnly);
    (state.Backwards ? backward_ : forward_)->setChecked(true);
    searchText_->lineEdit()->selectAll();
}

void TTextSearchDialog::Store(TSearchState& state) const {
    state.SearchText = searchText_->currentText();
    AddToHistory(state.SearchHistory, state.SearchText);
    if (replaceText_) {
        state.ReplaceText = replaceText_->currentText();
        AddToHistory(state.ReplaceHistory, state.ReplaceText);
    }
    state.CaseSensitive = caseSensitive_->isChecked();
    state.WholeWords = wholeWords_->isChecked();
    state.FromCaret = fromCaret_->isChecked();
    state.SelectedOnly = selectedOnly_->isChecked();
    state.Backwards = backward_->isChecked();
}

} // namespace korvo
