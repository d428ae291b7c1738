#include "gui_test_support.h"

#include "common/settings_layout.h"
#include "output/output_files.h"
#include "shell/chain_list.h"
#include "shell/chip_dialog.h"
#include "shell/color_button.h"
#include "shell/editor.h"
#include "shell/highlighter.h"
#include "shell/main_window.h"
#include "shell/settings_dialog.h"
#include "shell/settings_jtag_page.h"
#include "shell/source_editor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace korvo;
using korvo::settings::TChipDescription;

Q_DECLARE_METATYPE(korvo::TCoreKind)

namespace {

const TChipDescription kChipA{"XC2C64", "8", "06E5E093", "0001", "0002"};
const TChipDescription kChipB{"XCF02S", "8", "05045093", "00FE", "00FD"};
const TChipDescription kChipC{"XC3S200", "6", "01414093", "0009", "0002"};
const TChipDescription kTarget{"Spartan-3", "6", "11414093", "0009", "0002"};

// Every key and value of the settings file, as written.
QMap<QString, QString> FileContents(test::TTemporarySettings& settings) {
    settings.Store().Flush();
    QSettings file(settings.FilePath(), QSettings::IniFormat);
    QMap<QString, QString> contents;
    for (const QString& key : file.allKeys())
        contents[key] = file.value(key).toString();
    return contents;
}

QStringList TopGroups(test::TTemporarySettings& settings) {
    QStringList groups;
    for (const QString& key : FileContents(settings).keys()) {
        QString group = key.section(QLatin1Char('/'), 0, 0);
        if (!groups.contains(group)) groups.append(group);
    }
    groups.sort();
    return groups;
}

void WriteChip(ISettingsStore& store, const std::string& key, const TChipDescription& chip) {
    store.WriteValue(key, "Chip", chip.Chip);
    store.WriteValue(key, "IRLength", chip.IRLength);
    store.WriteValue(key, "ID", chip.ID);
    store.WriteValue(key, "IDCODE", chip.IDCODE);
    store.WriteValue(key, "USER1", chip.USER1);
}

// A complete chain as the JTAG page writes it.
void WriteChain(ISettingsStore& store, const std::vector<TChipDescription>& before,
                const TChipDescription& target, int addressWidth, int dataWidth, bool addressFirst,
                const std::vector<TChipDescription>& after) {
    store.WriteIntegerValue("SVF/Before", "Count", static_cast<int>(before.size()));
    for (std::size_t i = 0; i < before.size(); ++i)
        WriteChip(store, "SVF/Before/" + std::to_string(i), before[i]);
    WriteChip(store, "SVF/Target", target);
    store.WriteIntegerValue("SVF/Target", "AddressWidth", addressWidth);
    store.WriteIntegerValue("SVF/Target", "DataWidth", dataWidth);
    store.WriteIntegerValue("SVF/Target", "AddressFirst", addressFirst ? 1 : 0);
    store.WriteIntegerValue("SVF/After", "Count", static_cast<int>(after.size()));
    for (std::size_t i = 0; i < after.size(); ++i)
        WriteChip(store, "SVF/After/" + std::to_string(i), after[i]);
}

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

void ClickOk(QWidget& dialog) {
    Child<QPushButton>(dialog, "btnOK")->click();
}

void PickColor(QWidget& dialog, const char* button, const QString& colorName) {
    auto* colorButton = Child<TColorButton>(dialog, button);
    for (QAction* action : colorButton->menu()->actions())
        if (action->text() == colorName) {
            action->trigger();
            return;
        }
    qFatal("no colour %s", qPrintable(colorName));
}

QStringList SampleLines(QWidget& dialog) {
    return Child<QsciScintilla>(dialog, "sampleEditor")->text().split(QLatin1Char('\n'));
}

QColor SampleColor(QWidget& dialog, TAttributeIndex attribute) {
    auto* editor = Child<QsciScintilla>(dialog, "sampleEditor");
    return editor->lexer()->color(TSourceHighlighter::StyleOfAttribute(attribute));
}

// Opens the chain menu of a list, as the right button does, and returns its
// actions by caption.
QMap<QString, QAction*> OpenChainMenu(TdlgSettings& dialog, TChainListWidget* list) {
    emit list->customContextMenuRequested(QPoint(4, 4));
    QMap<QString, QAction*> actions;
    for (QAction* action : dialog.JtagPage()->ChainMenu()->actions())
        if (!action->isSeparator()) actions[action->text()] = action;
    return actions;
}

void CloseChainMenu(TdlgSettings& dialog) {
    dialog.JtagPage()->ChainMenu()->hide();
}

// Fills in the chip dialog as soon as it opens, then presses its OK button.
void AnswerChipDialog(const QString& type, int irLength, const QString& id, const QString& idcode,
                      const QString& user1) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TdlgNewChip*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        Child<QComboBox>(*dialog, "cbType")->setEditText(type);
        Child<QSpinBox>(*dialog, "edIRLength")->setValue(irLength);
        Child<QLineEdit>(*dialog, "edID")->setText(id);
        Child<QLineEdit>(*dialog, "edIDCODE")->setText(idcode);
        Child<QLineEdit>(*dialog, "edUSER1")->setText(user1);
        Child<QPushButton>(*dialog, "btnOK")->click();
    });
}

void SendDrop(TChainListWidget* source, int row, TChainListWidget* target) {
    std::unique_ptr<QMimeData> data(source->model()->mimeData({source->model()->index(row, 0)}));
    QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &enter);
    if (!enter.isAccepted()) return;
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &move);
    if (!move.isAccepted()) return;
    QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &drop);
}

QStringList ChipNames(const TChainListWidget* list) {
    QStringList names;
    for (const auto& row : list->Rows())
        names.append(QString::fromStdString(row.Chip));
    return names;
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TTemporarySettings> settings_;
    TStringListLog log_;
    TPanelLimits limits_;

    std::unique_ptr<TdlgSettings> Open(TCoreKind coreKind = TCoreKind::pbt3) {
        return std::make_unique<TdlgSettings>(settings_->Store(), coreKind, log_, limits_);
    }

    void WriteSampleChain() {
        WriteChain(settings_->Store(), {kChipA, kChipB}, kTarget, 19, 8, true, {kChipC});
    }

private slots:
    void init() {
        settings_ = std::make_unique<test::TTemporarySettings>();
        log_.Lines.clear();
        limits_ = {};
    }

    void DialogHasFixedSizeCaptionAndPages() {
        auto dialog = Open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("  Settings"));
        QCOMPARE(dialog->size(), QSize(600, 400));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        auto* pages = Child<QTabWidget>(*dialog, "pages");
        QStringList captions;
        for (int i = 0; i < pages->count(); ++i)
            captions << pages->tabText(i);
        QCOMPARE(captions, (QStringList{"Format", "Layout", "JTAG", "Misc"}));
        QCOMPARE(dialog->CurrentPage(), TdlgSettings::pgFormat);
        QVERIFY(Child<QPushButton>(*dialog, "btnOK")->isDefault());
    }

    void FreshSettingsShowTheTargetPresetOfTheCore_data() {
        QTest::addColumn<TCoreKind>("core");
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("irLength");
        QTest::newRow("PicoBlaze I") << TCoreKind::pbtI << "Spartan-II"
                                     << "5";
        QTest::newRow("PicoBlaze II") << TCoreKind::pbtII << "Vitex-II"
                                      << "6";
        QTest::newRow("PicoBlaze 3") << TCoreKind::pbt3 << "Spartan-3"
                                     << "6";
        QTest::newRow("PicoBlaze CR") << TCoreKind::pbtC << "CoolRunner-II"
                                      << "8";
    }

    void FreshSettingsShowTheTargetPresetOfTheCore() {
        QFETCH(TCoreKind, core);
        QFETCH(QString, chip);
        QFETCH(QString, irLength);
        auto dialog = Open(core);
        auto* jtag = dialog->JtagPage();
        QCOMPARE(jtag->TargetList()->RowCount(), 1);
        TChipDescription expected{chip.toStdString(), irLength.toStdString(), "80234093", "0009",
                                  "0011"};
        QVERIFY(jtag->TargetList()->Row(0) == expected);
        QCOMPARE(jtag->BeforeList()->RowCount(), 0);
        QCOMPARE(jtag->AfterList()->RowCount(), 0);
        // Keys that were never written are no failure.
        QCOMPARE(log_.Lines, std::vector<std::string>{});
    }

    void FreshSettingsShowTheDefaults() {
        auto dialog = Open();
        QCOMPARE(Child<QLineEdit>(*dialog, "clockFrequency")->text(), QString());
        QVERIFY(Child<QRadioButton>(*dialog, "scratchPad3")->isChecked());
        QCOMPARE(Child<QComboBox>(*dialog, "fontName")->currentText(),
                 QStringLiteral("Courier New"));
        QCOMPARE(Child<QSpinBox>(*dialog, "fontSize")->value(), 9);
        for (const char* name :
             {"smartTab", "tabIndent", "tabsToSpaces", "tabDelete", "autoIndent"})
            QVERIFY2(Child<QCheckBox>(*dialog, name)->isChecked(), name);
        QCOMPARE(Child<QSpinBox>(*dialog, "column1")->value(), 20);
        QCOMPARE(Child<QSpinBox>(*dialog, "column2")->value(), 30);
        QCOMPARE(Child<QSpinBox>(*dialog, "column3")->value(), 50);
        QCOMPARE(Child<QSpinBox>(*dialog, "dataWidth")->value(), 16);
        QCOMPARE(Child<QSpinBox>(*dialog, "addressWidth")->value(), 16);
        QVERIFY(Child<QRadioButton>(*dialog, "dataFirst")->isChecked());
        QCOMPARE(Child<QSpinBox>(*dialog, "ioPanels")->value(), 10);
        QCOMPARE(Child<QSpinBox>(*dialog, "memoryPanels")->value(), 4);
        QCOMPARE(Child<TColorButton>(*dialog, "colorOpcodes")->Color(), QColor(0, 0, 255));
    }

    void StoredValuesAreShown() {
        auto& store = settings_->Store();
        store.WriteValue("Editor", "FontName", "DejaVu Sans Mono");
        store.WriteIntegerValue("Editor", "FontSize", 12);
        store.WriteIntegerValue("Editor", "TabIndent", 0);
        store.WriteValue("Time", "Frequency", "50");
        store.WriteIntegerValue("ScratchPad", "Size", 5);
        store.WriteIntegerValue("Columns", "Column1", 12);
        store.WriteIntegerValue("Columns", "Column2", 24);
        store.WriteIntegerValue("Columns", "Column3", 40);
        store.WriteIntegerValue("Attributes/Reserved word", "Foreground", 0x0000FF);
        WriteSampleChain();
        limits_ = {20, 8};
        auto dialog = Open();
        QVERIFY(log_.Lines.empty());
        QCOMPARE(Child<QComboBox>(*dialog, "fontName")->currentText(),
                 QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(Child<QSpinBox>(*dialog, "fontSize")->value(), 12);
        QVERIFY(!Child<QCheckBox>(*dialog, "tabIndent")->isChecked());
        QVERIFY(Child<QCheckBox>(*dialog, "autoIndent")->isChecked());
        QCOMPARE(Child<QLineEdit>(*dialog, "clockFrequency")->text(), QStringLiteral("50"));
        QVERIFY(Child<QRadioButton>(*dialog, "scratchPad5")->isChecked());
        QCOMPARE(Child<QSpinBox>(*dialog, "column1")->value(), 12);
        QCOMPARE(Child<QSpinBox>(*dialog, "column3")->value(), 40);
        QCOMPARE(Child<TColorButton>(*dialog, "colorOpcodes")->Color(), QColor(255, 0, 0));
        QCOMPARE(SampleColor(*dialog, atReservedWord), QColor(255, 0, 0));
        QCOMPARE(Child<QSpinBox>(*dialog, "ioPanels")->value(), 20);
        QCOMPARE(Child<QSpinBox>(*dialog, "memoryPanels")->value(), 8);
        auto* jtag = dialog->JtagPage();
        QCOMPARE(ChipNames(jtag->BeforeList()), (QStringList{"XC2C64", "XCF02S"}));
        QVERIFY(jtag->TargetList()->Row(0) == kTarget);
        QCOMPARE(ChipNames(jtag->AfterList()), QStringList{"XC3S200"});
        QCOMPARE(Child<QSpinBox>(*dialog, "dataWidth")->value(), 8);
        QCOMPARE(Child<QSpinBox>(*dialog, "addressWidth")->value(), 19);
        QVERIFY(Child<QRadioButton>(*dialog, "addressFirst")->isChecked());
        // The sample editor paints in the editor font.
        auto* sample = Child<QsciScintilla>(*dialog, "sampleEditor");
        QCOMPARE(sample->lexer()->font(0).family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(sample->lexer()->font(0).pointSize(), 12);
    }

    void ChainReadStopsAtTheFirstFailureAndKeepsWhatWasRead() {
        auto& store = settings_->Store();
        store.WriteIntegerValue("SVF/Before", "Count", 1);
        WriteChip(store, "SVF/Before/0", kChipA);
        WriteChip(store, "SVF/Target", kTarget);
        store.WriteValue("SVF/Target", "AddressWidth", "wide");
        store.WriteIntegerValue("SVF/After", "Count", 1);
        WriteChip(store, "SVF/After/0", kChipC);
        auto dialog = Open();
        QCOMPARE(log_.Lines,
                 std::vector<std::string>{
                     "Failure: Invalid data type for 'AddressWidth'; SVF data not yet set"});
        auto* jtag = dialog->JtagPage();
        QCOMPARE(ChipNames(jtag->BeforeList()), QStringList{"XC2C64"});
        QVERIFY(jtag->TargetList()->Row(0) == kTarget);
        QCOMPARE(jtag->AfterList()->RowCount(), 0);
    }

    // Whatever page shows, OK stores every page the user changed; the page
    // that shows is stored even unchanged.
    void OkStoresEveryChangedPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("changeAll");
        QTest::addColumn<QStringList>("groups");
        const QStringList all{"Attributes", "Columns",    "Editor", "Options",
                              "SVF",        "ScratchPad", "Time",   "UART"};
        for (int page : {TdlgSettings::pgFormat, TdlgSettings::pgLayout, TdlgSettings::pgJtag,
                         TdlgSettings::pgMisc})
            QTest::addRow("all changed, page %d", page) << page << true << all;
        QTest::newRow("Misc changed, Format shows")
            << int(TdlgSettings::pgFormat) << false
            << QStringList{"Attributes", "Columns", "Editor", "Options",
                           "ScratchPad", "Time",    "UART"};
        QTest::newRow("Misc changed, Layout shows")
            << int(TdlgSettings::pgLayout) << false
            << QStringList{"Editor", "Options", "ScratchPad", "Time", "UART"};
    }

    void OkStoresEveryChangedPage() {
        QFETCH(int, page);
        QFETCH(bool, changeAll);
        QFETCH(QStringList, groups);
        auto dialog = Open();
        if (changeAll) {
            PickColor(*dialog, "colorOpcodes", "Red");
            Child<QSpinBox>(*dialog, "column2")->setValue(33);
            Child<QSpinBox>(*dialog, "ioPanels")->setValue(12);
            Child<QSpinBox>(*dialog, "memoryPanels")->setValue(6);
            Child<QSpinBox>(*dialog, "dataWidth")->setValue(8);
        }
        Child<QSpinBox>(*dialog, "fontSize")->setValue(14);
        Child<QLineEdit>(*dialog, "clockFrequency")->setText("25");
        Child<QRadioButton>(*dialog, "scratchPad1")->setChecked(true);
        Child<QSpinBox>(*dialog, "uartBaud")->setValue(9600);
        Child<QCheckBox>(*dialog, "uartTcpBridge")->setChecked(false);
        dialog->ShowPage(static_cast<TdlgSettings::TPage>(page));
        ClickOk(*dialog);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(TopGroups(*settings_), groups);
        QCOMPARE(limits_ == (TPanelLimits{12, 6}), changeAll);
        auto contents = FileContents(*settings_);
        QCOMPARE(contents["Editor/FontSize"], QStringLiteral("14"));
        QCOMPARE(contents["Time/Frequency"], QStringLiteral("25"));
        QCOMPARE(contents["ScratchPad/Size"], QStringLiteral("1"));
        QCOMPARE(contents["Editor/SmartTab"], QStringLiteral("1"));
        QCOMPARE(contents["UART/Baud"], QStringLiteral("9600"));
        QCOMPARE(contents["UART/TcpBridge"], QStringLiteral("0"));
        if (!changeAll) return;
        QCOMPARE(contents["Attributes/Reserved word/Foreground"], QStringLiteral("255"));
        QCOMPARE(contents["Columns/Column2"], QStringLiteral("33"));
        QCOMPARE(contents["SVF/Target/DataWidth"], QStringLiteral("8"));
        QCOMPARE(contents["SVF/Target/AddressWidth"], QStringLiteral("17"));
        QCOMPARE(contents["SVF/Target/Chip"], QStringLiteral("Spartan-3"));
        QCOMPARE(contents["SVF/Before/Count"], QStringLiteral("0"));
    }

    // The sample paints in the very font of a document's editor and shows
    // every line whole, also in a large font.
    void TheSampleShowsTheEditorFontUnclipped() {
        test::TTestWindow window;
        window.Settings.Store().WriteValue("Editor", "FontName", "DejaVu Sans Mono");
        window.Settings.Store().WriteIntegerValue("Editor", "FontSize", 16);
        window->actFileNew->trigger();
        TdlgSettings dialog(window.Settings.Store(), TCoreKind::pbt3, log_, limits_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* sample = Child<QsciScintilla>(dialog, "sampleEditor");
        QCOMPARE(sample->lexer()->font(0), window.Active().TextControl()->EditorFont());
        for (int line = 0; line < sample->lines(); ++line) {
            long end = sample->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
            QPoint last(static_cast<int>(sample->SendScintilla(
                            QsciScintillaBase::SCI_POINTXFROMPOSITION, 0L, end)),
                        static_cast<int>(sample->SendScintilla(
                            QsciScintillaBase::SCI_POINTYFROMPOSITION, 0L, end)));
            QVERIFY2(sample->viewport()->rect().contains(last + QPoint(0, 10)),
                     qPrintable(QString::number(line)));
        }
    }

    void CancelStoresNothing() {
        auto dialog = Open();
        PickColor(*dialog, "colorOpcodes", "Red");
        Child<QSpinBox>(*dialog, "ioPanels")->setValue(12);
        dialog->ShowPage(TdlgSettings::pgLayout);
        Child<QPushButton>(*dialog, "btnCancel")->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(TopGroups(*settings_).isEmpty());
        QVERIFY(limits_ == TPanelLimits{});
    }

    void WriteFailureIsShownAndTheDialogStaysOpen() {
        struct TReadOnlyStore : TMemorySettingsStore {
            void WriteValue(std::string_view, std::string_view, std::string_view) override {
                throw ESettingsError("Settings file is read-only");
            }
        } store;
        TdlgSettings dialog(store, TCoreKind::pbt3, log_, limits_);
        dialog.ShowPage(TdlgSettings::pgMisc);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        ClickOk(dialog);
        QCOMPARE(shown, QStringLiteral("Settings file is read-only"));
        QVERIFY(dialog.result() != QDialog::Accepted);
    }

    void ShowSettingsDialogRunsModallyAndReportsOk() {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<TdlgSettings*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->ShowPage(TdlgSettings::pgLayout);
            Child<QSpinBox>(*dialog, "ioPanels")->setValue(3);
            ClickOk(*dialog);
        });
        QVERIFY(ShowSettingsDialog(nullptr, settings_->Store(), TCoreKind::pbtI, log_, limits_));
        QCOMPARE(limits_.IoPanelsVertical, 3);
        QTimer::singleShot(0, [] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            Child<QPushButton>(*dialog, "btnCancel")->click();
        });
        QVERIFY(!ShowSettingsDialog(nullptr, settings_->Store(), TCoreKind::pbtI, log_, limits_));
    }

    void ColorChangeRepaintsTheSampleAtOnce() {
        auto dialog = Open();
        PickColor(*dialog, "colorDirectives", "Lime");
        QCOMPARE(SampleColor(*dialog, atPreprocessor), QColor(0, 255, 0));
        QCOMPARE(Child<TColorButton>(*dialog, "colorDirectives")->Color(), QColor(0, 255, 0));
        QCOMPARE(SampleColor(*dialog, atComment), QColor(128, 128, 128));
    }

    void ColumnChangeReformatsTheSample() {
        auto dialog = Open();
        auto lineOf = [&](const QString& start) {
            for (const QString& line : SampleLines(*dialog))
                if (line.startsWith(start)) return line;
            return QString();
        };
        QString line = lineOf("main:");
        QCOMPARE(line.indexOf("LOAD"), 20);
        QCOMPARE(line.indexOf("counter"), 30);
        Child<QSpinBox>(*dialog, "column1")->setValue(8);
        Child<QSpinBox>(*dialog, "column2")->setValue(14);
        line = lineOf("main:");
        QCOMPARE(line.indexOf("LOAD"), 8);
        QCOMPARE(line.indexOf("counter"), 14);
        // A line with a comment after code puts it at Column3.
        Child<QSpinBox>(*dialog, "column3")->setValue(44);
        QCOMPARE(lineOf("leds").indexOf(";"), 44);
    }

    void FormatDefaultRestoresColoursAndColumns() {
        settings_->Store().WriteIntegerValue("Attributes/Comment", "Style", 0);
        auto dialog = Open();
        QVERIFY(dialog->DefaultButton()->isEnabled());
        PickColor(*dialog, "colorOpcodes", "Red");
        PickColor(*dialog, "colorComment", "Lime");
        Child<QSpinBox>(*dialog, "column1")->setValue(5);
        Child<QSpinBox>(*dialog, "column3")->setValue(90);
        dialog->DefaultButton()->click();
        QCOMPARE(Child<TColorButton>(*dialog, "colorOpcodes")->Color(), QColor(0, 0, 255));
        QCOMPARE(Child<TColorButton>(*dialog, "colorComment")->Color(), QColor(128, 128, 128));
        QCOMPARE(Child<TColorButton>(*dialog, "colorIdents")->Color(), QColor(0, 0, 128));
        QCOMPARE(Child<TColorButton>(*dialog, "colorNumbers")->Color(), QColor(0, 128, 128));
        QCOMPARE(Child<TColorButton>(*dialog, "colorDirectives")->Color(), QColor(128, 0, 128));
        QCOMPARE(SampleColor(*dialog, atReservedWord), QColor(0, 0, 255));
        auto* sample = Child<QsciScintilla>(*dialog, "sampleEditor");
        QVERIFY(sample->lexer()->font(TSourceHighlighter::StyleOfAttribute(atComment)).italic());
        QVERIFY(sample->lexer()->font(TSourceHighlighter::StyleOfAttribute(atReservedWord)).bold());
        QCOMPARE(Child<QSpinBox>(*dialog, "column1")->value(), 20);
        QCOMPARE(Child<QSpinBox>(*dialog, "column2")->value(), 30);
        QCOMPARE(Child<QSpinBox>(*dialog, "column3")->value(), 50);
        for (const QString& line : SampleLines(*dialog))
            if (line.startsWith("main:")) QCOMPARE(line.indexOf("LOAD"), 20);
    }

    void LayoutDefaultIsEnabledOnlyAwayFromTheDefaults() {
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgLayout);
        QVERIFY(!dialog->DefaultButton()->isEnabled());
        Child<QSpinBox>(*dialog, "memoryPanels")->setValue(5);
        QVERIFY(dialog->DefaultButton()->isEnabled());
        dialog->DefaultButton()->click();
        QCOMPARE(Child<QSpinBox>(*dialog, "memoryPanels")->value(), 4);
        QCOMPARE(Child<QSpinBox>(*dialog, "ioPanels")->value(), 10);
        QVERIFY(!dialog->DefaultButton()->isEnabled());
        // Switching to a page with an always-enabled Default and back.
        dialog->ShowPage(TdlgSettings::pgMisc);
        QVERIFY(dialog->DefaultButton()->isEnabled());
        dialog->ShowPage(TdlgSettings::pgLayout);
        QVERIFY(!dialog->DefaultButton()->isEnabled());
    }

    void JtagDefaultNeedsRowsInBothOuterLists() {
        WriteChain(settings_->Store(), {kChipA}, kTarget, 16, 16, false, {});
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* jtag = dialog->JtagPage();
        QVERIFY(!dialog->DefaultButton()->isEnabled());
        jtag->AfterList()->AppendRow(kChipC);
        QVERIFY(dialog->DefaultButton()->isEnabled());
        dialog->DefaultButton()->click();
        QCOMPARE(jtag->BeforeList()->RowCount(), 0);
        QCOMPARE(jtag->AfterList()->RowCount(), 0);
        QVERIFY(jtag->TargetList()->Row(0) == kTarget);
        QVERIFY(!dialog->DefaultButton()->isEnabled());
    }

    void MiscDefaultKeepsClockAndScratchPad() {
        settings_->Store().WriteValue("Time", "Frequency", "33");
        settings_->Store().WriteIntegerValue("ScratchPad", "Size", 0);
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgMisc);
        QVERIFY(dialog->DefaultButton()->isEnabled());
        Child<QComboBox>(*dialog, "fontName")->setEditText("Mono");
        Child<QSpinBox>(*dialog, "fontSize")->setValue(20);
        Child<QCheckBox>(*dialog, "smartTab")->setChecked(false);
        Child<QCheckBox>(*dialog, "autoIndent")->setChecked(false);
        dialog->DefaultButton()->click();
        QCOMPARE(Child<QComboBox>(*dialog, "fontName")->currentText(),
                 QStringLiteral("Courier New"));
        QCOMPARE(Child<QSpinBox>(*dialog, "fontSize")->value(), 9);
        QVERIFY(Child<QCheckBox>(*dialog, "smartTab")->isChecked());
        QVERIFY(Child<QCheckBox>(*dialog, "autoIndent")->isChecked());
        QCOMPARE(Child<QLineEdit>(*dialog, "clockFrequency")->text(), QStringLiteral("33"));
        QVERIFY(Child<QRadioButton>(*dialog, "scratchPad0")->isChecked());
    }

    void DataWidthPairsTheAddressWidth_data() {
        QTest::addColumn<int>("dataBefore");
        QTest::addColumn<int>("addressBefore");
        QTest::addColumn<int>("dataAfter");
        QTest::addColumn<int>("addressAfter");
        QTest::newRow("8 with 16 gives 17") << 16 << 16 << 8 << 17;
        QTest::newRow("8 with 18 gives 19") << 16 << 18 << 8 << 19;
        QTest::newRow("16 with 17 gives 16") << 8 << 17 << 16 << 16;
        QTest::newRow("16 with 19 gives 18") << 8 << 19 << 16 << 18;
    }

    void DataWidthPairsTheAddressWidth() {
        QFETCH(int, dataBefore);
        QFETCH(int, addressBefore);
        QFETCH(int, dataAfter);
        QFETCH(int, addressAfter);
        WriteChain(settings_->Store(), {}, kTarget, addressBefore, dataBefore, false, {});
        auto dialog = Open();
        auto* data = Child<QSpinBox>(*dialog, "dataWidth");
        auto* address = Child<QSpinBox>(*dialog, "addressWidth");
        QCOMPARE(address->value(), addressBefore);
        data->stepBy(dataAfter > dataBefore ? 1 : -1);
        QCOMPARE(data->value(), dataAfter);
        QCOMPARE(address->value(), addressAfter);
    }

    void WidthUpDownsKeepToTheirSteps() {
        auto dialog = Open();
        auto* data = Child<QSpinBox>(*dialog, "dataWidth");
        auto* address = Child<QSpinBox>(*dialog, "addressWidth");
        address->stepBy(1);
        QCOMPARE(address->value(), 18);
        address->stepBy(1); // 20 is out of range; 19 would not go with data width 16
        QCOMPARE(address->value(), 18);
        data->stepBy(-1);
        QCOMPARE(data->value(), 8);
        QCOMPARE(address->value(), 19);
        address->stepBy(-1);
        QCOMPARE(address->value(), 17);
        address->stepBy(-1);
        QCOMPARE(address->value(), 17);
        data->stepBy(-1);
        QCOMPARE(data->value(), 8);
        // Typed values off the steps are not taken.
        data->findChild<QLineEdit*>()->setText(QStringLiteral("12"));
        data->interpretText();
        QCOMPARE(data->value(), 8);
        address->findChild<QLineEdit*>()->setText(QStringLiteral("18"));
        address->interpretText();
        QCOMPARE(address->value(), 17);
        address->findChild<QLineEdit*>()->setText(QStringLiteral("19"));
        address->interpretText();
        QCOMPARE(address->value(), 19);
    }

    void JtagPageRoundTripsAndStoresTheSameTwice() {
        WriteSampleChain();
        auto first = Open();
        first->ShowPage(TdlgSettings::pgJtag);
        ClickOk(*first);
        auto once = FileContents(*settings_);
        auto second = Open();
        second->ShowPage(TdlgSettings::pgJtag);
        ClickOk(*second);
        QCOMPARE(FileContents(*settings_), once);
        QCOMPARE(once["SVF/Target/AddressWidth"], QStringLiteral("19"));
        QCOMPARE(once["SVF/Target/DataWidth"], QStringLiteral("8"));
        QCOMPARE(once["SVF/Target/AddressFirst"], QStringLiteral("1"));
        // What the SVF writer reads.
        auto chain =
            settings::LoadScanChain(settings_->Reopen(), settings::TChainKeys::OptionalKeys);
        QVERIFY(chain.Before == (std::vector<TChipDescription>{kChipA, kChipB}));
        QVERIFY(chain.Target);
        QVERIFY(chain.Target->Device == kTarget);
        QCOMPARE(chain.Target->AddressWidth, 19);
        QCOMPARE(chain.Target->DataWidth, 8);
        QVERIFY(chain.Target->AddressFirst);
        QVERIFY(chain.After == std::vector<TChipDescription>{kChipC});
    }

    void SvfWriterUsesTheStoredChain() {
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* after = dialog->JtagPage()->AfterList();
        after->AppendRow(kChipB);
        ClickOk(*dialog);
        TOutputJob job;
        job.CoreKind = TCoreKind::pbtC;
        job.Words.assign(256, 0);
        job.SvfFileName = QDir(settings_->Folder()).filePath("chain.svf").toStdString();
        TStringListLog writerLog;
        WriteOutputFiles(job, {writerLog, settings_->Reopen()});
        QFile file(QString::fromStdString(job.SvfFileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n");
        for (const char* expected :
             {"// Chip 0 before the target: XC2C64", "// Chip 1 before the target: XCF02S",
              "// The target chip: Spartan-3", "// Chip 0 after the target: XC3S200",
              "// Chip 1 after the target: XCF02S", "SIR 36 TDI (FFFFFFFFF) SMASK (FFFFFFFFF) ;"})
            QVERIFY2(lines.contains(QString::fromLatin1(expected)), expected);
        // One record per code word, address and data widths together.
        QCOMPARE(lines.filter(QRegularExpression("^SDR 27 TDI \\([0-9A-F]{7}\\) ;$")).size(), 256);
    }

    void JtagStoreReplacesRemovedRows() {
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        dialog->DefaultButton()->click();
        ClickOk(*dialog);
        auto contents = FileContents(*settings_);
        QCOMPARE(contents["SVF/Before/Count"], QStringLiteral("0"));
        QCOMPARE(contents["SVF/After/Count"], QStringLiteral("0"));
        QVERIFY(!contents.contains("SVF/Before/0/Chip"));
        QVERIFY(!contents.contains("SVF/After/0/Chip"));
        QCOMPARE(contents["SVF/Target/Chip"], QStringLiteral("Spartan-3"));
    }

    void ChainMenuEnabling_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("newChip");
        QTest::addColumn<bool>("editChip");
        QTest::addColumn<bool>("deleteChip");
        QTest::newRow("before, no row selected") << "beforeList" << false << true << false << false;
        QTest::newRow("before, row selected") << "beforeList" << true << true << true << true;
        QTest::newRow("target, no row selected")
            << "targetList" << false << false << false << false;
        QTest::newRow("target, row selected") << "targetList" << true << false << true << false;
        QTest::newRow("after, no row selected") << "afterList" << false << true << false << false;
        QTest::newRow("after, row selected") << "afterList" << true << true << true << true;
    }

    void ChainMenuEnabling() {
        QFETCH(QString, list);
        QFETCH(bool, selected);
        QFETCH(bool, newChip);
        QFETCH(bool, editChip);
        QFETCH(bool, deleteChip);
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* chainList = Child<TChainListWidget>(*dialog, list.toLatin1().constData());
        chainList->SelectRow(selected ? 0 : -1);
        auto actions = OpenChainMenu(*dialog, chainList);
        QCOMPARE(actions.keys(), (QStringList{"Cancel", "Delete Chip", "Edit Chip", "New Chip"}));
        QCOMPARE(actions["New Chip"]->isEnabled(), newChip);
        QCOMPARE(actions["Edit Chip"]->isEnabled(), editChip);
        QCOMPARE(actions["Delete Chip"]->isEnabled(), deleteChip);
        QVERIFY(actions["Cancel"]->isEnabled());
        CloseChainMenu(*dialog);
    }

    void NewChipAppendsAFormattedRow() {
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* after = dialog->JtagPage()->AfterList();
        auto actions = OpenChainMenu(*dialog, after);
        AnswerChipDialog("XC9572XL", 8, "9604093", "fe", "zz");
        actions["New Chip"]->trigger();
        CloseChainMenu(*dialog);
        QCOMPARE(after->RowCount(), 2);
        QVERIFY(after->Row(1) == (TChipDescription{"XC9572XL", "8", "09604093", "00FE", "0000"}));
    }

    void EditChipStoresTheRowBack() {
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* target = dialog->JtagPage()->TargetList();
        target->SelectRow(0);
        auto actions = OpenChainMenu(*dialog, target);
        AnswerChipDialog("Spartan-3E", 6, "01C22093", "9", "2");
        actions["Edit Chip"]->trigger();
        CloseChainMenu(*dialog);
        QCOMPARE(target->RowCount(), 1);
        QVERIFY(target->Row(0) ==
                (TChipDescription{"Spartan-3E", "6", "01C22093", "0009", "0002"}));
    }

    void DeleteChipRemovesTheSelectedRow() {
        WriteSampleChain();
        auto dialog = Open();
        dialog->ShowPage(TdlgSettings::pgJtag);
        auto* before = dialog->JtagPage()->BeforeList();
        before->SelectRow(0);
        auto actions = OpenChainMenu(*dialog, before);
        actions["Delete Chip"]->trigger();
        CloseChainMenu(*dialog);
        QCOMPARE(ChipNames(before), QStringList{"XCF02S"});
    }

    void DragMovesRowsBetweenTheOuterListsOnly() {
        WriteSampleChain();
        auto dialog = Open();
        auto* jtag = dialog->JtagPage();
        auto* before = jtag->BeforeList();
        auto* target = jtag->TargetList();
        auto* after = jtag->AfterList();
        // Inserted before the selected row of the receiving list.
        after->SelectRow(0);
        SendDrop(before, 1, after);
        QCOMPARE(ChipNames(before), QStringList{"XC2C64"});
        QCOMPARE(ChipNames(after), (QStringList{"XCF02S", "XC3S200"}));
        // Appended when no row is selected.
        before->SelectRow(-1);
        SendDrop(after, 1, before);
        QCOMPARE(ChipNames(before), (QStringList{"XC2C64", "XC3S200"}));
        QCOMPARE(ChipNames(after), QStringList{"XCF02S"});
        // Nothing else is taken: a list's own rows, the target's, or rows
        // dropped onto the target.
        SendDrop(before, 0, before);
        SendDrop(target, 0, after);
        SendDrop(before, 0, target);
        QCOMPARE(ChipNames(before), (QStringList{"XC2C64", "XC3S200"}));
        QCOMPARE(ChipNames(after), QStringList{"XCF02S"});
        QCOMPARE(target->RowCount(), 1);
        // A drop from another dialog's list is refused as well.
        auto other = Open();
        SendDrop(other->JtagPage()->BeforeList(), 0, after);
        QCOMPARE(ChipNames(after), QStringList{"XCF02S"});
    }

    void FontListHoldsFixedPitchFamiliesOnce() {
        auto dialog = Open();
        auto* box = Child<QComboBox>(*dialog, "fontName");
        QStringList seen;
        for (int i = 0; i < box->count(); ++i) {
            QString family = box->itemText(i);
            QVERIFY2(!seen.contains(family, Qt::CaseInsensitive), qPrintable(family));
            QVERIFY2(QFontDatabase::isFixedPitch(family), qPrintable(family));
            seen.append(family);
        }
        // The stored name stays shown, installed or not.
        QCOMPARE(box->currentText(), QStringLiteral("Courier New"));
    }

    // Writes pictures of every page when KORVO_SCREENSHOT_DIR names a folder.
    void SavePageScreenshots() {
        QString folder = qEnvironmentVariable("KORVO_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("KORVO_SCREENSHOT_DIR is not set");
        QString suffix = qEnvironmentVariable("KORVO_SCREENSHOT_SUFFIX");
        WriteSampleChain();
        settings_->Store().WriteValue("Editor", "FontName", "DejaVu Sans Mono");
        settings_->Store().WriteValue("Time", "Frequency", "50");
        auto dialog = Open();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const std::array<const char*, 4> names{"format", "layout", "jtag", "misc"};
        for (int page = 0; page < 4; ++page) {
            dialog->ShowPage(static_cast<TdlgSettings::TPage>(page));
            if (page == TdlgSettings::pgJtag) dialog->JtagPage()->BeforeList()->SelectRow(0);
            QTest::qWait(100);
            QString file = QDir(folder).filePath(
                QStringLiteral("settings-%1%2.png").arg(QString::fromLatin1(names[page]), suffix));
            QVERIFY(dialog->grab().save(file));
        }
        TdlgNewChip chip(dialog.get());
        chip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chip));
        QTest::qWait(100);
        QVERIFY(
            chip.grab().save(QDir(folder).filePath(QStringLiteral("chip-info%1.png").arg(suffix))));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
