// Find and replace: the search dialog's fill-in, searching forwards and
// backwards, replacing with confirmation, and where the confirmation goes.
#include "gui_test_support.h"
#include "shell/commands.h"
#include "shell/confirm_replace_dialog.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/editor_form.h"
#include "shell/main_window.h"
#include "shell/search_dialog.h"
#include "shell/source_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

TEditor& NewDocument(TTestWindow& window, const QString& text) {
    window->actFileNew->trigger();
    window.Active().TextControl()->setText(text);
    window.Active().SetCaretPos({1, 1});
    window->UpdateCommands();
    return window.Active();
}

// A search dialog that the user fills in with these values.
std::function<bool(bool, TSearchState&)> UserTypes(QString search, QString replace = {},
                                                   bool backwards = false) {
    return [=](bool, TSearchState& state) {
        state.SearchText = search;
        state.ReplaceText = replace;
        state.Backwards = backwards;
        AddToHistory(state.SearchHistory, search);
        return true;
    };
}

QString Selected(TEditor& document) {
    return document.TextControl()->selectedText();
}

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void FindFillsInTheSelectionOrTheWordAtTheCaret() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "load counter, 1   \r\nadd total, 2");
        document.TextControl()->setSelection(0, 5, 0, 12);
        window->Commands().actSearchFind->trigger();
        document.TextControl()->setSelection(0, 5, 1, 3);
        window->Commands().actSearchFind->trigger();
        document.SetCaretPos({2, 6});
        window->Commands().actSearchFind->trigger();
        document.SetCaretPos({1, 18});
        window->Commands().actSearchFind->trigger();
        QCOMPARE(window.Dialogs.SearchTextsShown, QStringList({"counter", "add", "total", ""}));
    }

    void FindSelectsTheNextMatchAndFindFwdContinues() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "x abc abc\r\nabc");
        window.Dialogs.Search = UserTypes("abc");
        window->Commands().actSearchFind->trigger();
        QCOMPARE(Selected(document), QString("abc"));
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 6}));
        window->UpdateCommands();
        QVERIFY(window->Commands().actSearchFindNext->isEnabled());
        window->Commands().actSearchFindNext->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 10}));
        window->Commands().actSearchFindNext->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 4}));
        window->Commands().actSearchFindNext->trigger();
        QCOMPARE(window.Dialogs.Beeps, 1);
        QVERIFY(!document.HasSelection());
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 4}));
        // Backwards from the caret: the last match again, caret at its start.
        window->Commands().actSearchFindPrev->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 1}));
        window->Commands().actSearchFindPrev->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 7}));
    }

    void FindFwdAfterABackwardFindSearchesForwards() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc abc abc");
        document.SetCaretPos({1, 6});
        window.Dialogs.Search = [](bool, TSearchState& state) {
            state.SearchText = "abc";
            state.Backwards = true;
            state.FromCaret = true;
            return true;
        };
        window->Commands().actSearchFind->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 1}));
        window->UpdateCommands();
        window->Commands().actSearchFindNext->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 8}));
    }

    void FindWithoutSearchFromCaretStartsAtTheTop() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc\r\nx\r\nabc");
        document.SetCaretPos({3, 4});
        window.Dialogs.Search = UserTypes("abc");
        window->Commands().actSearchFind->trigger();
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 4}));
    }

    void OptionsReachTheSearch_data() {
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<int>("column");
        QTest::newRow("plain") << false << false << 4;
        QTest::newRow("case") << true << false << 13;
        QTest::newRow("whole words") << false << true << 9;
        QTest::newRow("both") << true << true << 18;
    }

    void OptionsReachTheSearch() {
        QFETCH(bool, caseSensitive);
        QFETCH(bool, wholeWords);
        QFETCH(int, column);
        TTestWindow window;
        TEditor& document = NewDocument(window, "ABCd ABC abcx abc");
        window.Dialogs.Search = [=](bool, TSearchState& state) {
            state.SearchText = "abc";
            state.CaseSensitive = caseSensitive;
            state.WholeWords = wholeWords;
            return true;
        };
        window->Commands().actSearchFind->trigger();
        QCOMPARE(document.GetCaretPos().Column, column);
    }

    void SelectedTextOnly() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc abc abc abc");
        document.TextControl()->setSelection(0, 3, 0, 11);
        window.Dialogs.Search = [](bool, TSearchState& state) {
            state.SearchText = "abc";
            state.ReplaceText = "X";
            state.SelectedOnly = true;
            return true;
        };
        window->Commands().actSearchReplace->trigger();
        QCOMPARE(document.TextControl()->text(), QString("abc X X abc"));
    }

    void ReplaceAsksForEveryMatch() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc abc abc abc abc");
        window.Dialogs.Search = UserTypes("abc", "xy");
        window.Dialogs.ReplaceAnswers = {TReplaceAnswer::Yes, TReplaceAnswer::No,
                                         TReplaceAnswer::Yes, TReplaceAnswer::Cancel};
        window->Commands().actSearchReplace->trigger();
        QCOMPARE(document.TextControl()->text(), QString("xy abc xy abc abc"));
        QCOMPARE(window.Dialogs.ReplaceTexts.size(), 4);
        QCOMPARE(window.Dialogs.ReplaceTexts.first(), QString("abc"));
        QCOMPARE(window.Dialogs.ReplaceSessionsEnded, 1);
        // One undo step takes every replacement back.
        document.Undo();
        QCOMPARE(document.TextControl()->text(), QString("abc abc abc abc abc"));
    }

    void YesToAllReplacesTheRestWithoutAsking() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "aa aa aa aa");
        window.Dialogs.Search = UserTypes("aa", "aaa");
        window.Dialogs.ReplaceAnswers = {TReplaceAnswer::No, TReplaceAnswer::YesToAll};
        window->Commands().actSearchReplace->trigger();
        QCOMPARE(document.TextControl()->text(), QString("aa aaa aaa aaa"));
        QCOMPARE(window.Dialogs.ReplaceTexts.size(), 2);
    }

    void ReplacingBackwards() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abab");
        window.Dialogs.Search = UserTypes("ab", "x", true);
        window->Commands().actSearchReplace->trigger();
        QCOMPARE(document.TextControl()->text(), QString("xx"));
        QCOMPARE(window.Dialogs.ReplaceTexts.size(), 2);
    }

    void ReplacingATextByItselfNeverAsks() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc abc\r\nabc");
        document.SetModified(false);
        window.Dialogs.Search = UserTypes("abc", "abc");
        window->Commands().actSearchReplace->trigger();
        QCOMPARE(window.Dialogs.ReplaceTexts.size(), 0);
        QCOMPARE(document.TextControl()->text(), QString("abc abc\r\nabc"));
        QVERIFY(!document.Modified());
        QCOMPARE(window.Dialogs.Beeps, 0);
    }

    void ReplaceIsForEditModeOnly() {
        TTestWindow window;
        TEditor& document = NewDocument(window, "abc");
        QVERIFY(window->Commands().actSearchReplace->isEnabled());
        document.Form()->ListingLines = {"?x"};
        document.SetMode(dmErrors);
        window->UpdateCommands();
        QVERIFY(!window->Commands().actSearchReplace->isEnabled());
        QVERIFY(window->Commands().actSearchFind->isEnabled());
    }

    void ConfirmationPlacement_data() {
        QTest::addColumn<QRect>("editor");
        QTest::addColumn<QRect>("match");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<QPoint>("place");
        QRect editor(100, 100, 600, 300);
        QSize dialog(200, 80);
        QTest::newRow("below the match")
            << editor << QRect(150, 120, 30, 14) << dialog << QPoint(150, 138);
        QTest::newRow("kept inside on the right")
            << editor << QRect(650, 120, 30, 14) << dialog << QPoint(500, 138);
        QTest::newRow("above in the lower third")
            << editor << QRect(150, 350, 30, 14) << dialog << QPoint(150, 266);
        QTest::newRow("centred on a narrow editor")
            << QRect(100, 100, 150, 300) << QRect(110, 120, 30, 14) << dialog << QPoint(75, 138);
    }

    void ConfirmationPlacement() {
        QFETCH(QRect, editor);
        QFETCH(QRect, match);
        QFETCH(QSize, dialog);
        QFETCH(QPoint, place);
        QCOMPARE(PlaceConfirmDialog(editor, match, dialog), place);
    }

    void TheConfirmationDialogAsks() {
        TConfirmReplaceDialog dialog;
        dialog.SetSearchText("abc");
        QCOMPARE(dialog.windowTitle(), QString("  Confirm replace"));
        QCOMPARE(dialog.Question(), QString("Replace this occurence of \"abc\"?"));
        const QList<std::pair<QString, TReplaceAnswer>> buttons = {
            {"&Yes", TReplaceAnswer::Yes},
            {"&No", TReplaceAnswer::No},
            {"Cancel", TReplaceAnswer::Cancel},
            {"Yes to &all", TReplaceAnswer::YesToAll}};
        for (const auto& [caption, answer] : buttons) {
            QTimer::singleShot(0, &dialog, [&dialog, caption] {
                for (auto* button : dialog.findChildren<QPushButton*>())
                    if (button->text() == caption) button->click();
            });
            QCOMPARE(dialog.Ask(), answer);
        }
    }

    void TheSearchDialogKeepsItsState() {
        TSearchState state;
        state.SearchText = "abc";
        state.SearchHistory = {"old", "ABC"};
        state.CaseSensitive = true;
        state.Backwards = true;
        TTextSearchDialog dialog(true);
        QCOMPARE(dialog.windowTitle(), QString("  Replace text"));
        dialog.Load(state);
        QCOMPARE(dialog.SearchTextBox()->currentText(), QString("abc"));
        QVERIFY(dialog.CaseSensitiveBox()->isChecked());
        QVERIFY(dialog.BackwardButton()->isChecked());
        dialog.ReplaceTextBox()->setEditText("xyz");
        dialog.WholeWordsBox()->setChecked(true);
        dialog.Store(state);
        QCOMPARE(state.SearchHistory, QStringList({"abc", "old"}));
        QCOMPARE(state.ReplaceHistory, QStringList({"xyz"}));
        QCOMPARE(state.ReplaceText, QString("xyz"));
        QVERIFY(state.WholeWords);
        QCOMPARE(TTextSearchDialog(false).windowTitle(), QString("  Search Text"));
    }

    void HistoryKeepsTenEntries() {
        QStringList history;
        for (int i = 0; i < 12; ++i)
            AddToHistory(history, QString::number(i));
        QCOMPARE(history.size(), kSearchHistoryLength);
        QCOMPARE(history.first(), QString("11"));
        AddToHistory(history, "5");
        QCOMPARE(history.first(), QString("5"));
        QCOMPARE(history.count("5"), 1);
    }
};

QTEST_MAIN(SearchTest)
#include "search_test.moc"
