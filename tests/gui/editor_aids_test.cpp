// What helps while writing a program: the core chosen per file, the
// assembler's messages in the text, going to lines and definitions, hints on
// names, the dark theme, zoom, and the files of the last session.
#include "base/theme.h"
#include "common/settings.h"
#include "shell/commands.h"
#include "shell/core_selector.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QComboBox>
#include <QMenu>
#include <QToolButton>
#include <QToolTip>
#include <Qsci/qscilexer.h>
#include <QtTest>
#include <cmath>

using namespace korvo;
using namespace korvo::test;

namespace {
using Sci = QsciScintillaBase;

// The document position of the first occurrence of text on a line (from 1).
int PositionOf(TSourceEditor& text, int line, const char* what) {
    int column = QString::fromStdString(text.LineBytes(line - 1)).indexOf(QLatin1String(what));
    return static_cast<int>(text.SendScintilla(Sci::SCI_POSITIONFROMLINE, line - 1)) + column;
}

QPoint PointOf(TSourceEditor& text, int position) {
    return {static_cast<int>(text.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, position)) + 2,
            static_cast<int>(text.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0L, position)) + 4};
}

QString Hover(TEditor& document, int line, const char* what) {
    auto& text = *document.TextControl();
    emit text.SCN_DWELLSTART(PositionOf(text, line, what), 5, 5);
    QString hint = QToolTip::isVisible() ? QToolTip::text() : QString();
    // A hidden hint goes after a while; the next one must not see it.
    QToolTip::hideText();
    for (int wait = 0; wait < 50 && QToolTip::isVisible(); ++wait)
        QTest::qWait(20);
    return hint;
}

// The contrast ratio of two colours as the web's accessibility rules define it.
double Contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

const char* kProgram = "counter EQU s3\r\n"
                       "leds DSOUT $01\r\n"
                       "loop: ADD counter, 1\r\n"
                       "  OUT counter, leds\r\n"
                       "  JUMP loop\r\n";
} // namespace

class EditorAidsTest : public QObject {
    Q_OBJECT

private slots:
    // The core is chosen in the tool bar or status bar and stays the file's,
    // also over a restart that reopens the session; a source that is good
    // for another core says so when it fails.
    void TheCoreIsTheFilesAndTheSessionComesBack() {
        TTestWindow window;
        QString file =
            WriteFile(window.Settings.Folder(), "p3.psm", "loop: FETCH s0, 1\r\nJUMP loop\r\n");
        window->OpenDocument(file);
        Press(window, window->Commands().actSimulate);
        QVERIFY(LogLines(*window).contains(
            "?This source assembles without errors for Picoblaze-3: select that core to use it"));
        Press(window, window->Commands().actSimulate);
        QComboBox* list = window->CoreSelector->ToolBarList;
        emit list->activated(2);
        window->UpdateCommands();
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbt3);
        QCOMPARE(window->CoreSelector->StatusButton->text(), QString("Picoblaze 3"));
        QCOMPARE(window->StatusPanelText(0), QString(" Mode: Picoblaze-3"));
        QVERIFY(Press(window, window->Commands().actSimulate));
        QCOMPARE(window.Active().Mode(), dmSimulate);
        Press(window, window->Commands().actSimulate);

        window->actFileNew->trigger();
        window->CoreSelector->StatusButton->menu()->actions().at(3)->trigger();
        window->UpdateCommands();
        QCOMPARE(list->currentIndex(), 3);
        window->OpenDocument(file);
        window->UpdateCommands();
        QCOMPARE(list->currentIndex(), 2);

        window.Restart();
        QCOMPARE(window->Documents().Count(), 1);
        QCOMPARE(window.Active().FileName(), file);
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbt3);
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbtC);
        WriteInteger(window.Settings.Store(), "Options", "ReopenFiles", 0);
        window.Restart();
        QCOMPARE(window->Documents().Count(), 0);
    }

    // A failed assembly marks its lines with the message, shown as the hint,
    // until the line is edited.
    void ErrorsStayOnTheirLinesUntilEdited() {
        TTestWindow window;
        window->OpenDocument(WriteFile(window.Settings.Folder(), "bad.psm",
                                       "start: LOAD s0, 1\r\nLOAD s0, nowhere\r\nJUMP start\r\n"
                                       "JUMP elsewhere\r\n"));
        TEditor& document = window.Active();
        Press(window, window->Commands().actSimulate);
        auto& text = *document.TextControl();
        const QString undefined("An undefined identifier found.");
        QCOMPARE(text.ErrorMessage(1), undefined);
        QCOMPARE(text.ErrorMessage(3), undefined);
        QCOMPARE(text.ErrorMessage(2), QString());
        QCOMPARE(Hover(document, 2, "nowhere"), undefined);
        document.SetCaretPos({2, 3});
        text.insert(QStringLiteral("x"));
        QCOMPARE(text.ErrorMessage(1), QString());
        QCOMPARE(text.ErrorMessage(3), undefined);
    }

    void LinesDefinitionsAndHints() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        TEditor& document = StartSimulation(window, "names.psm", kProgram);
        Press(window, window->Commands().actSimulate);
        auto& text = *document.TextControl();
        auto& c = window->Commands();
        window.Dialogs.LineNumbers = {4};
        Press(window, c.actGotoLine);
        QCOMPARE(document.GetCaretPos().Line, 4);
        text.SendScintilla(Sci::SCI_GOTOPOS, PositionOf(text, 5, "loop"));
        Press(window, c.actGotoDefinition);
        QCOMPARE(document.GetCaretPos().Line, 3);
        QTest::mouseClick(text.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          PointOf(text, PositionOf(text, 4, "leds")));
        QCOMPARE(document.GetCaretPos().Line, 2);

        QCOMPARE(Hover(document, 3, "counter"), QString("counter: register s3, line 1"));
        QCOMPARE(Hover(document, 5, "loop"), QString("loop: label, address $000, line 3"));
        Press(window, c.actSimulate);
        Press(window, c.actStepOne);
        Press(window, c.actStepOne);
        QCOMPARE(Hover(document, 4, "counter"),
                 QString("counter: register s3, line 1\nnow $01 (1)"));
        QCOMPARE(Hover(document, 4, "leds"), QString("leds: port $01, line 2\nnow $01 (1)"));
        QCOMPARE(Hover(document, 3, "ADD"), QString());
    }

    // The dark theme paints the editor, the gutter and the log dark with
    // readable colours; the settings switch it; Ctrl zooms the text.
    void DarkThemeAndZoom() {
        TTestWindow window;
        window.Close();
        WriteInteger(window.Settings.Store(), "Options", "Theme", 2);
        window.Restart();
        window->OpenDocument(WriteFile(window.Settings.Folder(), "dark.psm", kProgram));
        auto& text = *window.Active().TextControl();
        QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 128);
        const TTheme& theme = CurrentTheme();
        QVERIFY(theme.Dark);
        QCOMPARE(text.lexer()->paper(0), theme.Paper);
        for (int style = 1; style <= 9; ++style) {
            QColor colour = text.lexer()->color(style);
            QVERIFY2(Contrast(colour, theme.Paper) >= 4.5, qPrintable(colour.name()));
        }
        const QColor& gutter = theme.GutterBack;
        QCOMPARE(text.SendScintilla(Sci::SCI_STYLEGETBACK, Sci::STYLE_LINENUMBER),
                 long(gutter.red() | gutter.green() << 8 | gutter.blue() << 16));
        window.Dialogs.Settings = [](ISettingsStore& settings) {
            WriteInteger(settings, "Options", "Theme", 1);
            return true;
        };
        Press(window, window->Commands().actSettings);
        QVERIFY(!CurrentTheme().Dark);
        QCOMPARE(text.lexer()->paper(0), QColor(Qt::white));

        QTest::keyClick(&text, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&text, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&text, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(text.SendScintilla(Sci::SCI_GETZOOM), 1L);
        QWheelEvent wheel(QPointF(20, 20), text.mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(text.viewport(), &wheel);
        QCOMPARE(text.SendScintilla(Sci::SCI_GETZOOM), 2L);
    }
};

QTEST_MAIN(EditorAidsTest)
#include "editor_aids_test.moc"
