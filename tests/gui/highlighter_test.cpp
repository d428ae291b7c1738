#include "assembler/syn_picoblaze.h"
#include "common/settings.h"
#include "scratch_folder.h"
#include "settings/qt_settings_store.h"
#include "shell/highlighter.h"
#include "shell/highlighter_settings.h"

#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace korvo;

namespace {

int StyleAt(QsciScintilla& editor, int position) {
    return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                                 static_cast<unsigned long>(position)));
}

void Colourise(QsciScintilla& editor) {
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
}

int Style(TAttributeIndex attribute) {
    return TSourceHighlighter::StyleOfAttribute(attribute);
}

} // namespace

class HighlighterTest : public QObject {
    Q_OBJECT

private slots:
    void TokensGetTheStyleOfTheirAttribute_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("style");
        QTest::newRow("label") << "loop: LOAD s0, $FF ; count" << 0 << Style(atIdentifier);
        QTest::newRow("colon is plain") << "loop: LOAD s0, $FF ; count" << 4 << Style(atNone);
        QTest::newRow("upper mnemonic")
            << "loop: LOAD s0, $FF ; count" << 7 << Style(atReservedWord);
        QTest::newRow("lower mnemonic") << "load s0, 1" << 0 << Style(atReservedWord);
        QTest::newRow("mixed case is an identifier") << "Load s0, 1" << 0 << Style(atIdentifier);
        QTest::newRow("register") << "loop: LOAD s0, $FF ; count" << 11 << Style(atIdentifier);
        QTest::newRow("comma is plain") << "loop: LOAD s0, $FF ; count" << 13 << Style(atNone);
        QTest::newRow("hex number") << "loop: LOAD s0, $FF ; count" << 16 << Style(atNumber);
        QTest::newRow("comment") << "loop: LOAD s0, $FF ; count" << 22 << Style(atComment);
        QTest::newRow("space") << "loop: LOAD s0, $FF ; count" << 5 << Style(atSpace);
        QTest::newRow("directive") << "max EQU 10" << 5 << Style(atPreprocessor);
        QTest::newRow("string") << "DSOUT $01, \"out.txt\"" << 13 << Style(atString);
        QTest::newRow("char literal is plain") << "LOAD s0, 'A'" << 10 << Style(atNone);
        QTest::newRow("semicolon in string") << "\"a;b\" x" << 2 << Style(atString);
        QTest::newRow("unknown char") << "a . b" << 2 << Style(atIdentifier);
    }

    void TokensGetTheStyleOfTheirAttribute() {
        QFETCH(QString, line);
        QFETCH(int, position);
        QFETCH(int, style);
        TSynPicoBlaze scanner;
        QsciScintilla editor;
        TSourceHighlighter highlighter(scanner);
        editor.setUtf8(true);
        editor.setLexer(&highlighter);
        editor.setText(line);
        Colourise(editor);
        QCOMPARE(StyleAt(editor, position), style);
    }

    void EveryLineIsStyledToItsEnd() {
        // Non-ASCII text and a second line after a line break: the styled
        // range must reach the end of the document.
        TSynPicoBlaze scanner;
        QsciScintilla editor;
        TSourceHighlighter highlighter(scanner);
        editor.setUtf8(true);
        editor.setLexer(&highlighter);
        editor.setText(QString::fromUtf8("; Größe\r\nLOAD s0, \"é\" ; ü\r\nx"));
        Colourise(editor);
        long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED), length);
        int second = static_cast<int>(editor.positionFromLineIndex(1, 0));
        QCOMPARE(StyleAt(editor, second), Style(atReservedWord));
        QCOMPARE(StyleAt(editor, static_cast<int>(length) - 1), Style(atIdentifier));
    }

    void StylesFollowTheAttributes() {
        TSynPicoBlaze scanner;
        TSourceHighlighter highlighter(scanner);
        QCOMPARE(highlighter.language(), "Korvo assembly language");
        QCOMPARE(highlighter.description(Style(atReservedWord)), QString("Reserved word"));
        QCOMPARE(highlighter.color(Style(atReservedWord)), QColor(0, 0, 255));
        QVERIFY(highlighter.font(Style(atReservedWord)).bold());
        QVERIFY(highlighter.font(Style(atComment)).italic());
        QCOMPARE(highlighter.color(Style(atComment)), QColor(128, 128, 128));
        QCOMPARE(highlighter.color(Style(atPreprocessor)), QColor(128, 0, 128));
    }

    void AttributesReloadFromSettings() {
        TSynPicoBlaze scanner;
        QsciScintilla editor;
        TSourceHighlighter highlighter(scanner);
        editor.setLexer(&highlighter);
        TMemorySettingsStore settings;
        WriteInteger(settings, "Attributes/Comment", "Foreground", 0x0000FF);
        WriteInteger(settings, "Attributes/Comment", "Background", 0x00FFFF);
        WriteInteger(settings, "Attributes/Comment", "Style", fsBold | fsUnderline);
        WriteString(settings, "Attributes/Number", "Foreground", "not a number");
        LoadHighlighterAttributes(settings, scanner.Attributes());
        highlighter.ApplyAttributes();
        QCOMPARE(highlighter.color(Style(atComment)), QColor(255, 0, 0));
        QCOMPARE(highlighter.paper(Style(atComment)), QColor(255, 255, 0));
        QFont font = highlighter.font(Style(atComment));
        QVERIFY(font.bold());
        QVERIFY(!font.italic());
        QVERIFY(font.underline());
        // An unreadable value keeps the built-in colour.
        QCOMPARE(highlighter.color(Style(atNumber)), QColor(0, 128, 128));
    }

    void AttributesSurviveASettingsFile() {
        test::TScratchFolder folder;
        std::string file = folder.File("settings.ini");
        auto attributes = TSynHighLighterIDE::DefaultAttributes();
        attributes[atIdentifier].Foreground = 0x123456;
        attributes[atString].Style = fsStrikeOut | fsItalic;
        {
            TQtSettingsStore settings(file);
            SaveHighlighterAttributes(settings, attributes);
        }
        TQtSettingsStore settings(file);
        auto loaded = TSynHighLighterIDE::DefaultAttributes();
        LoadHighlighterAttributes(settings, loaded);
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            QCOMPARE(loaded[i].Foreground, attributes[i].Foreground);
            QCOMPARE(loaded[i].Background, attributes[i].Background);
            QCOMPARE(loaded[i].Style, attributes[i].Style);
        }
    }

    void StrikeOutIsDrawnOverTheToken() {
        TSynPicoBlaze scanner;
        scanner.Attributes()[atNumber].Style = fsStrikeOut;
        QsciScintilla editor;
        TSourceHighlighter highlighter(scanner);
        editor.setLexer(&highlighter);
        editor.setText("LOAD s0, 12 ; x");
        Colourise(editor);
        auto indicatorAt = [&](int position) {
            return editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                        TSourceHighlighter::kStrikeOutIndicator, position);
        };
        QCOMPARE(indicatorAt(9), 1L);
        QCOMPARE(indicatorAt(10), 1L);
        QCOMPARE(indicatorAt(0), 0L);
        QCOMPARE(indicatorAt(13), 0L);
    }
};

QTEST_MAIN(HighlighterTest)
#include "highlighter_test.moc"
