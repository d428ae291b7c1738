// Editing: the comment toggle, find and replace with their dialogs, the
// highlighter, the editor settings, printing and the HTML export.
#include "assembler/syn_picoblaze.h"
#include "base/theme.h"
#include "common/settings.h"
#include "gui_test_support.h"
#include "shell/document/lexer.h"
#include "shell/document/printing.h"
#include "shell/search/confirm_replace_dialog.h"
#include "shell/search/search_dialog.h"
#include "shell/settings/highlighter_settings.h"
#include "text/format_columns.h"

#include <QPrintPreviewWidget>

using namespace korvo;
using namespace korvo::test;

namespace {

// Name, text, selection (from line, column to line, column, counting from
// 1), the text after Comment.
using TCommentRow = std::tuple<const char*, const char*, std::array<int, 4>, const char*>;
const TCommentRow kCommentRows[] = {
    {"two whole lines", "a\r\nb\r\nc", {1, 1, 3, 1}, ";a\r\n;b\r\nc"},
    {"part of two lines", "ab\r\ncd\r\ne", {1, 1, 2, 2}, ";ab\r\n;cd\r\ne"},
    {"one line", "load s0, 1\r\nx", {1, 1, 1, 5}, ";load s0, 1\r\nx"},
    {"uncomment", ";a\r\n;b\r\nc", {1, 1, 3, 1}, "a\r\nb\r\nc"},
    {"uncomment only lines that have one", ";a\r\nb\r\n;c", {1, 1, 3, 2}, "a\r\nb\r\nc"},
    {"first line decides", "a\r\n;b\r\nc", {1, 1, 3, 1}, ";a\r\n;;b\r\nc"},
    {"not from column one", "ab\r\ncd", {1, 2, 2, 1}, "ab\r\ncd"},
    {"no selection", "ab\r\ncd", {1, 1, 1, 1}, "ab\r\ncd"},
};

// A search as the user sets it in the dialog; options holds the words
// "backwards", "case", "caret", "selected" and "whole" of the options set.
TSearchState Search(const char* text, const char* replace, const QString& options) {
    TSearchState state;
    state.SearchText = text;
    state.ReplaceText = replace;
    state.Backwards = options.contains("backwards");
    state.CaseSensitive = options.contains("case");
    state.FromCaret = options.contains("caret");
    state.SelectedOnly = options.contains("selected");
    state.WholeWords = options.contains("whole");
    return state;
}

// Name, text, caret, search options, then the caret after Find "abc", after
// Find Next and after Find Previous (which starts before the selected match).
using TFindRow =
    std::tuple<const char*, const char*, TCaretPos, const char*, TCaretPos, TCaretPos, TCaretPos>;
const TFindRow kFindRows[] = {
    {"any case", "ABCd ABC abcx abc", {1, 1}, "", {1, 4}, {1, 9}, {1, 1}},
    {"case", "ABCd ABC abcx abc", {1, 1}, "case", {1, 13}, {1, 18}, {1, 10}},
    {"whole words", "ABCd ABC abcx abc", {1, 1}, "whole", {1, 9}, {1, 18}, {1, 6}},
    {"no next match", "ABCd ABC abcx abc", {1, 1}, "case whole", {1, 18}, {1, 18}, {1, 15}},
    {"from the top", "abc\r\nx\r\nabc", {3, 4}, "", {1, 4}, {3, 4}, {1, 1}},
    {"back from the caret", "abc abc abc", {1, 6}, "backwards caret", {1, 1}, {1, 8}, {1, 1}},
};

// Name, text, search, replacement, options, the answers to the
// confirmations, the text after, the confirmations asked.
using TReplaceRow = std::tuple<const char*, const char*, const char*, const char*, const char*,
                               std::deque<TReplaceAnswer>, const char*, int>;
using enum TReplaceAnswer;
const TReplaceRow kReplaceRows[] = {
    {"asks each match", "ab ab ab ab ab", "ab", "x", "", {Yes, No, Yes, Cancel}, "x ab x ab ab", 4},
    {"yes to all", "aa aa aa aa", "aa", "aaa", "", {No, YesToAll}, "aa aaa aaa aaa", 2},
    {"backwards", "abab", "ab", "x", "backwards", {}, "xx", 2},
    {"by itself never asked", "abc abc\r\nabc", "abc", "abc", "", {}, "abc abc\r\nabc", 0},
    {"selected text only", "abc abc abc abc", "abc", "X", "selected", {}, "abc X X abc", 2},
};

// Name, the "Theme" setting.
const std::tuple<const char*, int> kThemeRows[] = {{"light theme", 1}, {"dark theme", 2}};

int Style(TAttributeIndex attribute) {
    return TSourceLexer::StyleOfAttribute(attribute);
}

// An editor painted by a highlighter on its own scanner.
struct THighlighted {
    TSynPicoBlaze Scanner;
    QsciScintilla Editor;
    TSourceLexer Highlighter{Scanner};
    explicit THighlighted(const QString& text) {
        Editor.setUtf8(true);
        Editor.setLexer(&Highlighter);
        Editor.setText(text);
        Editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
    }
    long At(int position, int message = QsciScintillaBase::SCI_GETSTYLEAT) {
        return Editor.SendScintilla(message, static_cast<unsigned long>(position));
    }
};

} // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void CommentToggle_data() { AddRows(kCommentRows); }

    void CommentToggle() {
        const auto& [name, text, selection, commented] = Row(kCommentRows);
        TTestWindow window;
        TDocument& document = window.New(text);
        const auto& at = selection;
        document.TextControl()->setSelection(at[0] - 1, at[1] - 1, at[2] - 1, at[3] - 1);
        QAction* comment = window->Commands().actComment;
        window->UpdateCommands();
        bool changes = QString(commented) != text;
        QCOMPARE(comment->isEnabled(), changes);
        changes ? comment->trigger() : document.Comment();
        QCOMPARE(document.TextControl()->text(), commented);
        // The result stays selected, so the command undoes itself.
        if (!changes || QString(text).contains(';')) return;
        Press(window, comment);
        QCOMPARE(document.TextControl()->text(), text);
    }

    void FindNextAndPrevious_data() { AddRows(kFindRows); }

    void FindNextAndPrevious() {
        const auto& [name, text, caret, options, found, next, previous] = Row(kFindRows);
        TTestWindow window;
        TDocument& document = window.New(text);
        document.SetCaretPos(caret);
        window.Dialogs.Search = [&](TSearchState& state) {
            state = Search("abc", "", options);
            return true;
        };
        window->Commands().actSearchFind->trigger();
        QCOMPARE(document.TextControl()->selectedText().toLower(), "abc");
        QCOMPARE(document.GetCaretPos(), found);
        Press(window, window->Commands().actSearchFindNext);
        QCOMPARE(document.GetCaretPos(), next);
        QCOMPARE(window.Dialogs.Beeps, found == next ? 1 : 0);
        QCOMPARE(document.HasSelection(), found != next);
        Press(window, window->Commands().actSearchFindPrev);
        QCOMPARE(document.GetCaretPos(), previous);
    }

    void Replace_data() { AddRows(kReplaceRows); }

    void Replace() {
        const auto& [name, text, search, replace, options, answers, result, asked] =
            Row(kReplaceRows);
        TTestWindow window;
        TDocument& document = window.New(text);
        if (QString(options) == "selected") document.TextControl()->setSelection(0, 3, 0, 11);
        document.SetModified(false);
        window.Dialogs.Search = [&](TSearchState& state) {
            state = Search(search, replace, options);
            return true;
        };
        window.Dialogs.ReplaceAnswers = answers;
        Press(window, window->Commands().actSearchReplace);
        QCOMPARE(document.TextControl()->text(), result);
        QCOMPARE(window.Dialogs.ReplacesAsked, asked);
        QCOMPARE(document.Modified(), result != QString(text));
        // One undo step takes every replacement back.
        if (!document.Modified()) return;
        document.Undo();
        QCOMPARE(document.TextControl()->text(), text);
    }

    void TheConfirmationDialogAsks() {
        TConfirmReplaceDialog dialog;
        for (auto [caption, answer] :
             {std::pair{"&Yes", Yes}, std::pair{"&No", No}, std::pair{"Cancel", Cancel},
              std::pair{"Yes to &all", YesToAll}}) {
            QTimer::singleShot(0, &dialog, [&dialog, caption] {
                for (auto* button : dialog.findChildren<QPushButton*>())
                    if (button->text() == caption) button->click();
            });
            QCOMPARE(dialog.Ask(), answer);
        }
    }

    void TheSearchDialogKeepsItsState() {
        TSearchState state = Search("abc", "", "backwards case");
        state.SearchHistory = {"old", "ABC"};
        TTextSearchDialog dialog(true);
        dialog.Load(state);
        QCOMPARE(dialog.SearchTextBox()->currentText(), "abc");
        QVERIFY(dialog.CaseSensitiveBox()->isChecked());
        QVERIFY(dialog.BackwardButton()->isChecked());
        dialog.ReplaceTextBox()->setEditText("xyz");
        dialog.WholeWordsBox()->setChecked(true);
        dialog.Store(state);
        QCOMPARE(state.SearchHistory, QStringList({"abc", "old"}));
        QCOMPARE(state.ReplaceHistory, QStringList({"xyz"}));
        QCOMPARE(state.ReplaceText, "xyz");
        QVERIFY(state.WholeWords);
    }

    void EveryLineIsStyledToItsEnd() {
        // Non-ASCII text and a second line after a line break: the styled
        // range must reach the end of the document.
        THighlighted text(QString::fromUtf8("; Größe\r\nLOAD s0, \"é\" ; ü\r\nx"));
        long length = text.Editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        QCOMPARE(text.Editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED), length);
        QCOMPARE(text.At(static_cast<int>(text.Editor.positionFromLineIndex(1, 0))),
                 Style(atReservedWord));
        QCOMPARE(text.At(static_cast<int>(length) - 1), Style(atIdentifier));
    }

    void AttributesFromSettingsPaintTheText() {
        auto attributes = TSynHighLighterIDE::DefaultAttributes();
        attributes[atComment].Foreground = 0x0000FF;
        attributes[atComment].Background = 0x00FFFF;
        attributes[atComment].Style = fsBold | fsUnderline;
        attributes[atNumber].Style = fsStrikeOut;
        TMemorySettingsStore settings;
        SaveHighlighterAttributes(settings, attributes);
        WriteString(settings, "Attributes/Identifier", "Foreground", "not a number");
        THighlighted text("LOAD s0, 12 ; x");
        LoadHighlighterAttributes(settings, text.Scanner.Attributes());
        text.Highlighter.ApplyAttributes();
        text.Editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
        QCOMPARE(text.Highlighter.color(Style(atComment)), QColor(255, 0, 0));
        QCOMPARE(text.Highlighter.paper(Style(atComment)), QColor(255, 255, 0));
        QFont font = text.Highlighter.font(Style(atComment));
        QVERIFY(font.bold() && !font.italic() && font.underline());
        // An unreadable value keeps the built-in colour.
        QCOMPARE(text.Highlighter.color(Style(atIdentifier)), QColor(0, 0, 128));
        // Strike-out is drawn over the token.
        auto struck = [&](int position) {
            return text.Editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                             TSourceLexer::kStrikeOutIndicator, position);
        };
        QCOMPARE(QList<long>({struck(0), struck(9), struck(10), struck(13)}),
                 QList<long>({0, 1, 1, 0}));
    }

    void SettingsReachTheDocuments() {
        TTestWindow window;
        auto& settings = window.Settings.Store();
        WriteString(settings, "Editor", "FontName", "DejaVu Sans Mono");
        WriteInteger(settings, "Editor", "FontSize", 14);
        WriteBool(settings, "Editor", "AutoIndent", false);
        WriteBool(settings, "Editor", "TabsToSpaces", true);
        WriteBool(settings, "Editor", "TabIndent", true);
        auto* text = window.New("").TextControl();
        QCOMPARE(text->EditorFont().family(), "DejaVu Sans Mono");
        QCOMPARE(text->EditorFont().pointSize(), 14);
        QVERIFY(!text->autoIndent());
        QVERIFY(!text->indentationsUseTabs());
        QVERIFY(text->tabIndents());
        QVERIFY(!text->backspaceUnindents()); // missing value: off
        window.Dialogs.Settings = [](ISettingsStore& settings) {
            WriteFormatColumns(settings, {10, 20, 70});
            WriteInteger(settings, "Attributes/Comment", "Foreground", 0x0000FF);
            return true;
        };
        window->Commands().actSettings->trigger();
        QCOMPARE(text->edgeColumn(), 70);
        QCOMPARE(window->Commands().Parser().Attributes()[atComment].Foreground, TColor(0x0000FF));
    }

    // The print dialog offers every page and proposes a PDF file beside the
    // document. Printing asks for the family the editor shows: the test's
    // DejaVu Sans Mono, whose line is 1.164 em high, so 11 pixels (8.25
    // points) give 9.6 points a line and 67 lines on the 229 mm text height
    // of Letter paper (73 on A4): 200 lines fill 3 pages. The preview opens
    // at once and shows the light colours in either theme.
    void PrintingAndThePreview_data() { AddRows(kThemeRows); }

    void PrintingAndThePreview() {
        const auto& [name, theme] = Row(kThemeRows);
        TTestWindow window;
        window.Close();
        WriteInteger(window.Settings.Store(), "Options", "Theme", theme);
        WriteString(window.Settings.Store(), "Editor", "FontName", kTestFixedFamily);
        window.Restart();
        window->OpenDocument(
            window.File("listing.v1.psm", QString("LOAD s0, 1\r\n").repeated(200).toStdString()));
        Press(window, window->Commands().actFilePrint);
        QCOMPARE(window->Commands().PrintEngine().TextFont().family(),
                 QFontInfo(window.Active().TextControl()->EditorFont()).family());
        QCOMPARE(window.Dialogs.PageCountOffered, 3);
        QCOMPARE(window.Dialogs.PrintFileProposed,
                 QDir(window.Settings.Folder()).filePath("listing.v1.pdf"));
        QCOMPARE(window.Dialogs.PrintJobName, "listing.v1.psm");
        Press(window, window->Commands().actFilePreview);
        QCOMPARE(window->SourceStack->currentWidget(), window->SynEditPrintPreview);
        QVERIFY(!window->Commands().actEditCut->isEnabled());
        // The first page: its edges are the first and last white pixels of
        // the middle row; the text lies between 25 and about 43 mm from the
        // left edge, blank paper beside it.
        auto* preview = window->SynEditPrintPreview;
        preview->fitToWidth();
        preview->findChild<QGraphicsView*>()->verticalScrollBar()->setValue(0);
        QImage page = preview->grab().toImage();
        int middle = page.height() / 2;
        auto lightness = [&](int x, int y) { return QColor(page.pixel(x, y)).lightness(); };
        int left = 0, right = page.width() - 1;
        while (left < right && lightness(left, middle) < 250)
            ++left;
        while (right > left && lightness(right, middle) < 250)
            --right;
        double mm = (right - left) / 210.0;
        QVERIFY(lightness(left + static_cast<int>(100 * mm), middle) >= 250);
        int darkest = 255;
        for (int x = left + static_cast<int>(25 * mm); x < left + static_cast<int>(45 * mm); ++x)
            for (int y = middle - static_cast<int>(10 * mm); y < middle + static_cast<int>(10 * mm);
                 ++y)
                darkest = std::min(darkest, lightness(x, y));
        QVERIFY2(darkest < 100, qPrintable(QString::number(darkest)));
        Press(window, window->Commands().actFilePreview);
        QCOMPARE(window->SourceStack->currentWidget(), window->PageControlEdit);
        // A listing line goes before its source line, cut to its column.
        QCOMPARE(TPrintEngine::ListingLine("$00 $0001", "LOAD s0, 1"), "$00 $0001     LOAD s0, 1");
        QCOMPARE(TPrintEngine::ListingLine("?Undefined identifier", "x"), "?Undefined idex");
        window.Close();
        ApplyTheme(settings::TThemeChoice::Light);
    }

    void ExportToHtml() {
        TTestWindow window;
        window->OpenDocument(window.File("a&b.psm", "LOAD s0, $FF ; a < b & \"c\" 'd'\r\n"));
        QString html = QDir(window.Settings.Folder()).filePath("prog.htm");
        window.Dialogs.SaveFileNames = {html};
        Press(window, window->actExport);
        std::string page = ReadFile(html);
        for (const char* part :
             {"<title>a&amp;b.psm</title>", "<span class=\"a3\">LOAD</span>",
              "<span class=\"a4\">$FF</span>", "; a &lt; b &amp; &quot;c&quot; &#39;d&#39;"})
            QVERIFY2(page.find(part) != std::string::npos, part);
    }
};

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
