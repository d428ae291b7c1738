// Small parts of the shell: command-line arguments, untitled numbers, text
// encodings, HTML escaping, the About box and the editor settings.
#include "common/settings.h"
#include "gui_test_support.h"
#include "korvo_version.h"
#include "shell/about_box.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/editor_form.h"
#include "shell/html_export.h"
#include "shell/ide_arguments.h"
#include "shell/main_window.h"
#include "shell/printing.h"
#include "shell/source_editor.h"
#include "shell/text_encoding.h"
#include "shell/untitled_numbers.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

class ShellPartsTest : public QObject {
    Q_OBJECT

private slots:
    void CommandLine() {
        auto parsed = ParseIdeArguments({"--settings", "/tmp/a.ini", "x.psm", "y.asm"});
        QCOMPARE(parsed.SettingsFile.value_or(QString()), QString("/tmp/a.ini"));
        QCOMPARE(parsed.Files, QStringList({"x.psm", "y.asm"}));
        QVERIFY(parsed.Error.isEmpty());
        QCOMPARE(ParseIdeArguments({"--settings=b.ini"}).SettingsFile.value_or(QString()),
                 QString("b.ini"));
        QVERIFY(!ParseIdeArguments({"x.psm"}).SettingsFile);
        QCOMPARE(ParseIdeArguments({"--", "--odd.psm"}).Files, QStringList({"--odd.psm"}));
        QVERIFY(!ParseIdeArguments({"--settings"}).Error.isEmpty());
        QVERIFY(!ParseIdeArguments({"--bogus"}).Error.isEmpty());
        QVERIFY(ParseIdeArguments({"x.psm", "-h"}).Help);
        QVERIFY(ParseIdeArguments({"--version", "--bogus"}).Version);
        QCOMPARE(ParseIdeArguments({"--", "--help"}).Files, QStringList({"--help"}));
    }

    void TheSettingsFileOfTheCommandLineIsUsed() {
        TTemporarySettings folder;
        WriteInteger(folder.Store(), "Options", "Korvo", 4);
        MarkCurrentVersionSeen(folder.Store());
        folder.Store().Flush();
        auto parsed = ParseIdeArguments({"--settings", folder.FilePath()});
        auto store = OpenSettingsStore(parsed.SettingsFile->toStdString());
        TScriptedDialogs dialogs;
        TfrmWorkbookMain window(*store, dialogs, parsed.Files);
        Settle(window);
        QCOMPARE(window.StatusPanelText(0), QString(" Mode: Picoblaze-CR"));
    }

    void UntitledNumbers() {
        TUntitledNumbers numbers;
        for (int i = 1; i <= 40; ++i)
            QCOMPARE(numbers.Take(), i);
        numbers.Release(33);
        numbers.Release(2);
        numbers.Release(0);
        numbers.Release(500);
        QCOMPARE(numbers.Take(), 2);
        QCOMPARE(numbers.Take(), 33);
        QCOMPARE(numbers.Take(), 41);
    }

    void Utf8Validity_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ascii") << QByteArray("LOAD s0, 1") << true;
        QTest::newRow("two bytes") << QByteArray("\xC3\xA9") << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("latin-1") << QByteArray("\xE9t\xE9") << false;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("beyond the last code point") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("cut short") << QByteArray("a\xE2\x82") << false;
        QTest::newRow("nul is fine") << QByteArray("a\0b", 3) << true;
    }

    void Utf8Validity() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(IsValidUtf8(bytes.toStdString()), valid);
    }

    void EncodingsRoundTrip() {
        std::string latin1;
        for (int c = 0; c < 256; ++c)
            latin1 += static_cast<char>(c);
        TDecodedText decoded = DecodeText(latin1);
        QCOMPARE(decoded.Encoding, TTextEncoding::Latin1);
        QVERIFY(IsValidUtf8(decoded.Utf8));
        TTextEncoding encoding = decoded.Encoding;
        QCOMPARE(EncodeText(decoded.Utf8, encoding), latin1);
        QCOMPARE(encoding, TTextEncoding::Latin1);
        encoding = TTextEncoding::Latin1;
        QCOMPARE(EncodeText("\xE2\x82\xAC", encoding), std::string("\xE2\x82\xAC"));
        QCOMPARE(encoding, TTextEncoding::Utf8);
    }

    void HtmlEscaping() {
        QCOMPARE(EscapeHtml("a<b>&\"c'"), std::string("a&lt;b&gt;&amp;&quot;c&#39;"));
        QCOMPARE(EscapeHtml(std::string("x\0y", 3)), std::string("x&#xFFFD;y"));
        std::string page = ExportHtmlText({"<tag>"}, nullptr, QFont("Courier New"), "a&b");
        QVERIFY(page.find("<title>a&amp;b</title>") != std::string::npos);
        QVERIFY(page.find("<pre>&lt;tag&gt;\n</pre>") != std::string::npos);
    }

    void PrintedListingLines() {
        QCOMPARE(TPrintEngine::ListingLine("$00 $0001", "LOAD s0, 1"),
                 std::string("$00 $0001     LOAD s0, 1"));
        QCOMPARE(TPrintEngine::ListingLine("?Undefined identifier", "x"),
                 std::string("?Undefined ide") + "x");
        QCOMPARE(TPrintEngine::ListingLine("", ""), std::string(14, ' '));
    }

    void AboutBox() {
        TdlgAbout about;
        QCOMPARE(about.windowTitle(), QString("  About"));
        QStringList lines = about.Text().split('\n');
        QCOMPARE(lines.value(2), QStringLiteral("Korvo IDE version: ") + kProductVersion);
        QVERIFY(lines.value(0).trimmed().isEmpty() && lines.value(1).trimmed().isEmpty());
        QVERIFY(about.Text().contains("without warranty"));
    }

    void EditorSettingsApplyToNewDocuments() {
        TTestWindow window;
        auto& settings = window.Settings.Store();
        WriteString(settings, "Editor", "FontName", "DejaVu Sans Mono");
        WriteInteger(settings, "Editor", "FontSize", 14);
        WriteBool(settings, "Editor", "AutoIndent", false);
        WriteBool(settings, "Editor", "TabsToSpaces", true);
        WriteBool(settings, "Editor", "TabIndent", true);
        window->actFileNew->trigger();
        auto* text = window.Active().TextControl();
        QCOMPARE(text->EditorFont().family(), QString("DejaVu Sans Mono"));
        QCOMPARE(text->EditorFont().pointSize(), 14);
        QVERIFY(!text->autoIndent());
        QVERIFY(!text->indentationsUseTabs());
        QVERIFY(text->tabIndents());
        QVERIFY(!text->backspaceUnindents()); // missing value: off
    }

    void TheContextMenuHoldsTheEditCommands() {
        TTestWindow window;
        window->actFileNew->trigger();
        auto* text = window.Active().TextControl();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(text->viewport(), &event);
        QMenu* menu = window.Active().Form()->pmnuEditor;
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << (action->isSeparator() ? "-" : action->text());
        menu->close();
        QCOMPARE(captions, QStringList({"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "De&lete",
                                        "-", "Select &All", "-", "Comment", "-", "Cancel"}));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "shell_parts_test.moc"
