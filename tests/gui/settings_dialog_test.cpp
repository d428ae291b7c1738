// The settings dialog: what it shows of the settings file, what OK, Cancel
// and Default do, the width steps, the JTAG chain as the SVF writer gets it,
// and the chip dialog.
#include "gui_test_support.h"
#include "output/output_files.h"
#include "shell/app/help_window.h"
#include "shell/document/lexer.h"
#include "shell/settings/chain_list.h"
#include "shell/settings/chip_dialog.h"
#include "shell/settings/color_button.h"
#include "shell/settings/settings_dialog.h"
#include "shell/settings/settings_jtag_page.h"

using namespace korvo;
using namespace korvo::test;
using korvo::settings::TChipDescription;
using TChain = std::vector<TChipDescription>;

namespace {

const TChipDescription kChipA{"XC2C64", "8", "06E5E093", "0001", "0002"};
const TChipDescription kChipB{"XCF02S", "8", "05045093", "00FE", "00FD"};
const TChipDescription kChipC{"XC3S200", "6", "01414093", "0009", "0002"};
const TChipDescription kTarget{"Spartan-3", "6", "11414093", "0009", "0002"};

// Every key and value of the settings file, as written.
QMap<QString, QString> FileContents(TTemporarySettings& settings) {
    settings.Store().Flush();
    QSettings file(settings.FilePath(), QSettings::IniFormat);
    QMap<QString, QString> contents;
    for (const QString& key : file.allKeys())
        contents[key] = file.value(key).toString();
    return contents;
}

QStringList TopGroups(TTemporarySettings& settings) {
    QStringList groups;
    for (const QString& key : FileContents(settings).keys())
        if (!groups.contains(key.section('/', 0, 0))) groups << key.section('/', 0, 0);
    return groups;
}

void WriteChain(ISettingsStore& store, const TChain& before, int addressWidth, int dataWidth,
                bool addressFirst, const TChain& after) {
    settings::StoreScanChain(
        store,
        {before, settings::TScanTarget{kTarget, addressWidth, dataWidth, addressFirst}, after});
}

// Shows a page as a click on its tab does.
void ShowPage(QWidget& dialog, int page) {
    Child<QTabWidget>(dialog, "pages")->setCurrentIndex(page);
}

void ClickOk(QWidget& dialog) {
    Child<QPushButton>(dialog, "btnOK")->click();
}

void PickColor(QWidget& dialog, const char* button, const QString& colorName) {
    for (QAction* action : Child<TColorButton>(dialog, button)->menu()->actions())
        if (action->text() == colorName) return action->trigger();
    qFatal("no colour %s", qPrintable(colorName));
}

QColor SampleColor(QWidget& dialog, TAttributeIndex attribute) {
    auto* editor = Child<QsciScintilla>(dialog, "sampleEditor");
    return editor->lexer()->color(TSourceLexer::StyleOfAttribute(attribute));
}

QString SampleLine(QWidget& dialog, const QString& start) {
    for (const QString& line : Child<QsciScintilla>(dialog, "sampleEditor")->text().split('\n'))
        if (line.startsWith(start)) return line;
    return {};
}

QSpinBox* Spin(QWidget& dialog, const char* name) {
    return Child<QSpinBox>(dialog, name);
}

// What each control shows, as text: the number of a spin box, the text of a
// line or combo box, the name of a colour, "1" or "0" for a check or radio
// button.
QStringList Shown(QWidget& dialog, const QStringList& names) {
    QStringList shown;
    for (const QString& name : names) {
        auto* control = Child<QWidget>(dialog, qPrintable(name));
        if (auto* spin = qobject_cast<QSpinBox*>(control))
            shown << QString::number(spin->value());
        else if (auto* box = qobject_cast<QComboBox*>(control))
            shown << box->currentText();
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            shown << edit->text();
        else if (auto* colour = qobject_cast<TColorButton*>(control))
            shown << colour->Color().name();
        else
            shown << (qobject_cast<QAbstractButton*>(control)->isChecked() ? "1" : "0");
    }
    return shown;
}

// Sets controls as the user would: names and values in turn.
void Set(QWidget& dialog, const QStringList& namesAndValues) {
    for (qsizetype i = 0; i + 1 < namesAndValues.size(); i += 2) {
        auto* control = Child<QWidget>(dialog, qPrintable(namesAndValues[i]));
        const QString& value = namesAndValues[i + 1];
        if (auto* spin = qobject_cast<QSpinBox*>(control))
            spin->setValue(value.toInt());
        else if (auto* box = qobject_cast<QComboBox*>(control))
            box->setEditText(value);
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(value);
        else
            qobject_cast<QAbstractButton*>(control)->setChecked(value == "1");
    }
}

// Fills in the chip dialog as soon as it opens, then presses its OK button.
void AnswerChipDialog(const TChipDescription& chip) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TdlgNewChip*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        Child<QComboBox>(*dialog, "cbType")->setEditText(QString::fromStdString(chip.Chip));
        Spin(*dialog, "edIRLength")->setValue(std::stoi(chip.IRLength));
        Child<QLineEdit>(*dialog, "edID")->setText(QString::fromStdString(chip.ID));
        Child<QLineEdit>(*dialog, "edIDCODE")->setText(QString::fromStdString(chip.IDCODE));
        Child<QLineEdit>(*dialog, "edUSER1")->setText(QString::fromStdString(chip.USER1));
        ClickOk(*dialog);
    });
}

void SendDrop(TChainListWidget* source, int row, TChainListWidget* target) {
    std::unique_ptr<QMimeData> data(source->model()->mimeData({source->model()->index(row, 0)}));
    QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QApplication::sendEvent(target->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    if (move.isAccepted()) QApplication::sendEvent(target->viewport(), &drop);
}

QStringList ChipNames(const TChainListWidget* list) {
    QStringList names;
    for (const auto& row : list->Rows())
        names << QString::fromStdString(row.Chip);
    return names;
}

// Name, data and address width before, the box changed, steps up or down
// (0: the text is typed), data and address width after.
using TWidthRow = std::tuple<const char*, int, int, const char*, int, const char*, int, int>;
const TWidthRow kWidthRows[] = {
    {"data 8 with address 16 gives 17", 16, 16, "dataWidth", -1, "", 8, 17},
    {"data 8 with address 18 gives 19", 16, 18, "dataWidth", -1, "", 8, 19},
    {"data 16 with address 17 gives 16", 8, 17, "dataWidth", 1, "", 16, 16},
    {"data 16 with address 19 gives 18", 8, 19, "dataWidth", 1, "", 16, 18},
    {"address steps by two with data 16", 16, 16, "addressWidth", 1, "", 16, 18},
    {"address 18 is the most with data 16", 16, 18, "addressWidth", 1, "", 16, 18},
    {"address steps by two with data 8", 8, 19, "addressWidth", -1, "", 8, 17},
    {"address 17 is the least with data 8", 8, 17, "addressWidth", -1, "", 8, 17},
    {"typed data width off the steps", 8, 17, "dataWidth", 0, "12", 8, 17},
    {"typed address width off the steps", 8, 17, "addressWidth", 0, "18", 8, 17},
    {"typed address width on the steps", 8, 17, "addressWidth", 0, "19", 8, 19},
};

// Name, list, row selected (-1: none), command, whether the menu enables
// it, the list's rows afterwards.
using TChainMenuRow = std::tuple<const char*, const char*, int, const char*, bool, TChain>;
const TChipDescription kNewChip{"XC9572XL", "8", "9604093", "fe", "zz"};
const TChipDescription kNewChipKept{"XC9572XL", "8", "09604093", "00FE", "0000"};
const TChainMenuRow kChainMenuRows[] = {
    {"new chip after the target", "afterList", -1, "New Chip", true, {kChipC, kNewChipKept}},
    {"edit the target", "targetList", 0, "Edit Chip", true, {kNewChipKept}},
    {"delete a chip before the target", "beforeList", 0, "Delete Chip", true, {kChipB}},
    {"no second target", "targetList", -1, "New Chip", false, {kTarget}},
    {"no deleting the target", "targetList", 0, "Delete Chip", false, {kTarget}},
    {"no editing without a row", "beforeList", -1, "Edit Chip", false, {kChipA, kChipB}},
};

// Name, page showing, whether every page changed (else only Misc), the
// groups stored.
using TOkRow = std::tuple<const char*, int, bool, const char*>;
const char* const kAllGroups =
    "Attributes Columns Editor Options PicoBlaze6 SVF ScratchPad Time UART";
const TOkRow kOkRows[] = {
    {"all changed, Format shows", TdlgSettings::pgFormat, true, kAllGroups},
    {"all changed, Layout shows", TdlgSettings::pgLayout, true, kAllGroups},
    {"all changed, JTAG shows", TdlgSettings::pgJtag, true, kAllGroups},
    {"all changed, Misc shows", TdlgSettings::pgMisc, true, kAllGroups},
    {"Misc changed, Format shows", TdlgSettings::pgFormat, false,
     "Attributes Columns Editor Options PicoBlaze6 ScratchPad Time UART"},
    {"Misc changed, Layout shows", TdlgSettings::pgLayout, false,
     "Editor Options PicoBlaze6 ScratchPad Time UART"},
};

// Name, values typed, values kept.
using TChipRow = std::tuple<const char*, TChipDescription, TChipDescription>;
const TChipRow kChipRows[] = {
    {"leading zeros", {"A", "5", "abc", "9", "2"}, {"A", "5", "00000ABC", "0009", "0002"}},
    {"full width", {"A", "5", "FFFFFFFF", "ffff", "3c2"}, {"A", "5", "FFFFFFFF", "FFFF", "03C2"}},
    {"empty fields count as 0", {"A", "5", "", "", ""}, {"A", "5", "00000000", "0000", "0000"}},
    {"wide instructions", {"A", "5", "1", "123456", "0"}, {"A", "5", "00000001", "123456", "0000"}},
    {"unreadable values", {"A", "x", "not hex", "", "7"}, {"A", "2", "00000000", "0000", "0007"}},
    {"a catalogue name",
     {"<generic>", "6", "8023", "9", "11"},
     {"<generic>", "6", "00008023", "0009", "0011"}},
};

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTemporarySettings> settings_;
    TStringListLog log_;
    TPanelLimits limits_;

    std::unique_ptr<TdlgSettings> Open(TCoreKind coreKind = TCoreKind::pbt3) {
        return std::make_unique<TdlgSettings>(settings_->Store(), coreKind, log_, limits_);
    }

    void WriteSampleChain() {
        WriteChain(settings_->Store(), {kChipA, kChipB}, 19, 8, true, {kChipC});
    }

private slots:
    void init() {
        settings_ = std::make_unique<TTemporarySettings>();
        log_.Lines.clear();
        limits_ = {};
    }

    void StoredValuesAreShown() {
        const char* values[][3] = {{"Editor", "FontName", "DejaVu Sans Mono"},
                                   {"Editor", "FontSize", "12"},
                                   {"Editor", "TabIndent", "0"},
                                   {"Time", "Frequency", "50"},
                                   {"ScratchPad", "Size", "5"},
                                   {"PicoBlaze6", "ProgramSize", "2048"},
                                   {"PicoBlaze6", "InterruptVector", "2032"},
                                   {"PicoBlaze6", "HwBuild", "66"},
                                   {"PicoBlaze6", "ScratchPadSize", "100"}, // no such size: 64
                                   {"Columns", "Column1", "12"},
                                   {"Columns", "Column2", "24"},
                                   {"Columns", "Column3", "40"},
                                   {"Attributes/Reserved word", "Foreground", "255"}};
        for (auto [key, name, value] : values)
            settings_->Store().WriteValue(key, name, value);
        WriteSampleChain();
        limits_ = {20, 8};
        auto dialog = Open();
        QVERIFY(log_.Lines.empty());
        QCOMPARE(
            Shown(*dialog, {"fontName", "fontSize", "tabIndent", "autoIndent", "clockFrequency",
                            "scratchPad5", "column1", "column3", "colorOpcodes", "ioPanels",
                            "memoryPanels", "dataWidth", "addressWidth", "addressFirst",
                            "programSize", "interruptVector", "hwBuild", "buildScratchPad"}),
            QStringList({"DejaVu Sans Mono", "12", "0", "1", "50", "1", "12", "40", "#ff0000", "20",
                         "8", "8", "19", "1", "2K", "2032", "66", "64 bytes"}));
        QCOMPARE(SampleColor(*dialog, atReservedWord), QColor(255, 0, 0));
        auto* jtag = dialog->JtagPage();
        QCOMPARE(ChipNames(jtag->BeforeList()), (QStringList{"XC2C64", "XCF02S"}));
        QVERIFY(jtag->TargetList()->Rows() == TChain{kTarget});
        QCOMPARE(ChipNames(jtag->AfterList()), QStringList{"XC3S200"});
        // The sample editor paints in the editor font.
        auto* sample = Child<QsciScintilla>(*dialog, "sampleEditor");
        QCOMPARE(sample->lexer()->font(0).family(), "DejaVu Sans Mono");
        QCOMPARE(sample->lexer()->font(0).pointSize(), 12);
    }

    void TheMiscPageShowsTheClockInUseAndTheUartWhole() {
        auto dialog = Open();
        QCOMPARE(Shown(*dialog, {"clockFrequency"}), QStringList{"80"});
        ShowPage(*dialog, TdlgSettings::pgMisc);
        dialog->setFixedSize(600, 400); // its size with the desktop's fonts
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        for (const char* name : {"uartBaud", "uartTcpBridge"}) {
            auto* control = Child<QWidget>(*dialog, name);
            QCOMPARE(control->visibleRegion(), QRegion(control->rect()));
        }
        QTest::keyClick(dialog.get(), Qt::Key_F1);
        QCOMPARE(ManualBrowser()->source().fragment(), "settings-misc");
        ManualBrowser()->close();
        Set(*dialog, {"clockFrequency", ""});
        ClickOk(*dialog);
        QCOMPARE(FileContents(*settings_)["Time/Frequency"], "80");
    }

    void AChainThatCannotBeReadIsLoggedAndShownAsFarAsRead() {
        auto& store = settings_->Store();
        WriteChain(store, {kChipA}, 16, 16, false, {kChipC});
        store.WriteValue("SVF/Target", "AddressWidth", "wide");
        auto dialog = Open();
        QCOMPARE(log_.Lines.at(0),
                 "Failure: Invalid data type for 'AddressWidth'; SVF data not yet set");
        QVERIFY(dialog->JtagPage()->BeforeList()->Rows() == TChain{kChipA});
        QCOMPARE(dialog->JtagPage()->AfterList()->RowCount(), 0);
        // Without a stored target the core's preset stands in; keys never
        // written are no failure.
        init();
        QVERIFY(Open(TCoreKind::pbtC)->JtagPage()->TargetList()->Rows() ==
                (TChain{{"CoolRunner-II", "8", "80234093", "0009", "0011"}}));
        QVERIFY(log_.Lines.empty());
    }

    // Whatever page shows, OK stores every page the user changed; the page
    // that shows is stored even unchanged.
    void OkStoresEveryChangedPage_data() { AddRows(kOkRows); }

    void OkStoresEveryChangedPage() {
        const auto& [name, page, changeAll, groups] = Row(kOkRows);
        auto dialog = Open();
        if (changeAll) {
            PickColor(*dialog, "colorOpcodes", "Red");
            Set(*dialog,
                {"column2", "33", "ioPanels", "12", "memoryPanels", "6", "dataWidth", "8"});
        }
        Set(*dialog, {"fontSize", "14", "clockFrequency", "25", "scratchPad1", "1", "uartBaud",
                      "9600", "uartTcpBridge", "0", "interruptVector", "2047", "hwBuild", "165"});
        // The vector stays below the program size.
        Child<QComboBox>(*dialog, "programSize")->setCurrentText("1K");
        Child<QComboBox>(*dialog, "buildScratchPad")->setCurrentIndex(2);
        ShowPage(*dialog, page);
        ClickOk(*dialog);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(TopGroups(*settings_).join(' '), groups);
        QCOMPARE(limits_ == (TPanelLimits{12, 6}), changeAll);
        auto contents = FileContents(*settings_);
        QString expected = "Editor/FontSize=14;Editor/SmartTab=1;Time/Frequency=25;"
                           "ScratchPad/Size=1;UART/Baud=9600;UART/TcpBridge=0;"
                           "PicoBlaze6/ProgramSize=1024;PicoBlaze6/InterruptVector=1023;"
                           "PicoBlaze6/HwBuild=165;PicoBlaze6/ScratchPadSize=256";
        if (changeAll)
            expected += ";Attributes/Reserved word/Foreground=255;Columns/Column2=33;"
                        "SVF/Target/DataWidth=8;SVF/Target/AddressWidth=17;"
                        "SVF/Target/Chip=Spartan-3;SVF/Before/Count=0";
        for (const QString& pair : expected.split(';'))
            QCOMPARE(contents[pair.section('=', 0, 0)], pair.section('=', 1));
    }

    void OnlyOkOfTheModalDialogStores() {
        for (const char* button : {"btnCancel", "btnOK"}) {
            QTimer::singleShot(0, [button] {
                auto* dialog = qobject_cast<TdlgSettings*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                PickColor(*dialog, "colorOpcodes", "Red");
                ShowPage(*dialog, TdlgSettings::pgLayout);
                Spin(*dialog, "ioPanels")->setValue(3);
                Child<QPushButton>(*dialog, button)->click();
            });
            bool ok =
                ShowSettingsDialog(nullptr, settings_->Store(), TCoreKind::pbtI, log_, limits_);
            QCOMPARE(ok, button == std::string("btnOK"));
            QCOMPARE(limits_.IoPanelsVertical, ok ? 3 : TPanelLimits{}.IoPanelsVertical);
            QCOMPARE(TopGroups(*settings_).join(' '), ok ? "Attributes Columns" : "");
        }
    }

    void AWriteFailureIsShownAndTheDialogStaysOpen() {
        struct TReadOnlyStore : TMemorySettingsStore {
            void WriteValue(std::string_view, std::string_view, std::string_view) override {
                throw ESettingsError("Settings file is read-only");
            }
        } store;
        TdlgSettings dialog(store, TCoreKind::pbt3, log_, limits_);
        ShowPage(dialog, TdlgSettings::pgMisc);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        ClickOk(dialog);
        QCOMPARE(shown, "Settings file is read-only");
        QVERIFY(dialog.result() != QDialog::Accepted);
    }

    void TheSampleFollowsAndDefaultRestoresTheShowingPage() {
        settings_->Store().WriteValue("Time", "Frequency", "33");
        settings_->Store().WriteIntegerValue("ScratchPad", "Size", 0);
        auto dialog = Open();
        // The sample follows every change at once.
        PickColor(*dialog, "colorOpcodes", "Red");
        QCOMPARE(SampleColor(*dialog, atReservedWord), QColor(255, 0, 0));
        QCOMPARE(SampleColor(*dialog, atComment), QColor(128, 128, 128));
        Set(*dialog, {"column1", "8", "column2", "14", "column3", "44"});
        QCOMPARE(SampleLine(*dialog, "main:").indexOf("LOAD"), 8);
        QCOMPARE(SampleLine(*dialog, "main:").indexOf("counter"), 14);
        QCOMPARE(SampleLine(*dialog, "leds").indexOf(";"), 44); // a comment after code
        Set(*dialog, {"memoryPanels", "5", "fontSize", "20", "smartTab", "0"});
        const QStringList controls = {"colorOpcodes", "column1",        "memoryPanels", "fontSize",
                                      "smartTab",     "clockFrequency", "scratchPad0"};
        dialog->DefaultButton()->click();
        QCOMPARE(Shown(*dialog, controls),
                 QStringList({"#0000ff", "20", "5", "20", "0", "33", "1"}));
        QCOMPARE(SampleColor(*dialog, atReservedWord), QColor(0, 0, 255));
        QCOMPARE(SampleLine(*dialog, "main:").indexOf("LOAD"), 20);
        ShowPage(*dialog, TdlgSettings::pgLayout);
        dialog->DefaultButton()->click();
        QCOMPARE(Shown(*dialog, controls),
                 QStringList({"#0000ff", "20", "4", "20", "0", "33", "1"}));
        // Misc keeps the clock and the scratch pad.
        ShowPage(*dialog, TdlgSettings::pgMisc);
        dialog->DefaultButton()->click();
        QCOMPARE(Shown(*dialog, controls),
                 QStringList({"#0000ff", "20", "4", "9", "1", "33", "1"}));
    }

    void WidthsKeepToTheirSteps_data() { AddRows(kWidthRows); }

    void WidthsKeepToTheirSteps() {
        const auto& [name, data, address, boxName, steps, text, dataAfter, addressAfter] =
            Row(kWidthRows);
        WriteChain(settings_->Store(), {}, address, data, false, {});
        auto dialog = Open();
        QSpinBox* box = Spin(*dialog, boxName);
        if (steps) {
            box->stepBy(steps);
        } else {
            box->findChild<QLineEdit*>()->setText(text);
            box->interpretText();
        }
        QCOMPARE(Spin(*dialog, "dataWidth")->value(), dataAfter);
        QCOMPARE(Spin(*dialog, "addressWidth")->value(), addressAfter);
    }

    void TheJtagPageStoresWhatItReadAndTheSvfWriterUsesIt() {
        WriteSampleChain();
        auto first = Open();
        ShowPage(*first, TdlgSettings::pgJtag);
        ClickOk(*first);
        auto once = FileContents(*settings_);
        QCOMPARE(once["SVF/Target/AddressFirst"], "1");
        auto second = Open();
        ShowPage(*second, TdlgSettings::pgJtag);
        second->JtagPage()->AfterList()->AppendRow(kChipB);
        ClickOk(*second);
        once["SVF/After/Count"] = "2";
        auto twice = FileContents(*settings_);
        for (auto [key, value] : once.asKeyValueRange())
            QCOMPARE(twice[key], value);

        TOutputJob job;
        job.CoreKind = TCoreKind::pbtC;
        job.Words.assign(256, 0);
        job.SvfFileName = QDir(settings_->Folder()).filePath("chain.svf").toStdString();
        TStringListLog writerLog;
        WriteOutputFiles(job, {writerLog, settings_->Reopen()});
        QStringList lines =
            QString::fromStdString(ReadFile(QString::fromStdString(job.SvfFileName))).split("\r\n");
        for (const char* expected :
             {"// Chip 0 before the target: XC2C64", "// Chip 1 before the target: XCF02S",
              "// The target chip: Spartan-3", "// Chip 0 after the target: XC3S200",
              "// Chip 1 after the target: XCF02S", "SIR 36 TDI (FFFFFFFFF) SMASK (FFFFFFFFF) ;"})
            QVERIFY2(lines.contains(expected), expected);
        // One record per code word, address and data widths together.
        QCOMPARE(lines.filter(QRegularExpression("^SDR 27 TDI \\([0-9A-F]{7}\\) ;$")).size(), 256);
        // Default empties the outer lists in the file too.
        auto third = Open();
        ShowPage(*third, TdlgSettings::pgJtag);
        third->DefaultButton()->click();
        ClickOk(*third);
        auto cleared = FileContents(*settings_);
        QCOMPARE(cleared["SVF/Before/Count"] + cleared["SVF/After/Count"], "00");
        QVERIFY(!cleared.contains("SVF/Before/0/Chip") && !cleared.contains("SVF/After/0/Chip"));
        QCOMPARE(cleared["SVF/Target/Chip"], "Spartan-3");
    }

    void TheChainMenuEditsTheLists_data() { AddRows(kChainMenuRows); }

    void TheChainMenuEditsTheLists() {
        const auto& [name, listName, selected, command, enabled, rows] = Row(kChainMenuRows);
        WriteSampleChain();
        auto dialog = Open();
        ShowPage(*dialog, TdlgSettings::pgJtag);
        auto* list = Child<TChainListWidget>(*dialog, listName);
        list->SelectRow(selected);
        emit list->customContextMenuRequested(QPoint(4, 4));
        QMenu* menu = dialog->JtagPage()->ChainMenu();
        for (QAction* action : menu->actions())
            if (action->text() == command) {
                QCOMPARE(action->isEnabled(), enabled);
                if (enabled && command != QString("Delete Chip")) AnswerChipDialog(kNewChip);
                action->trigger();
            }
        menu->hide();
        QVERIFY(list->Rows() == rows);
    }

    void DragMovesRowsBetweenTheOuterListsOnly() {
        WriteSampleChain();
        auto dialog = Open();
        auto* jtag = dialog->JtagPage();
        // Inserted before the selected row of the receiving list.
        jtag->AfterList()->SelectRow(0);
        SendDrop(jtag->BeforeList(), 1, jtag->AfterList());
        QCOMPARE(ChipNames(jtag->BeforeList()), QStringList{"XC2C64"});
        QCOMPARE(ChipNames(jtag->AfterList()), (QStringList{"XCF02S", "XC3S200"}));
        // Nothing is dropped onto the target or taken from it.
        SendDrop(jtag->BeforeList(), 0, jtag->TargetList());
        SendDrop(jtag->TargetList(), 0, jtag->AfterList());
        QCOMPARE(jtag->TargetList()->RowCount() + jtag->AfterList()->RowCount(), 3);
    }

    void TheChipDialogKeepsValuesAsTheChainDoes_data() { AddRows(kChipRows); }

    void TheChipDialogKeepsValuesAsTheChainDoes() {
        const auto& [name, typed, kept] = Row(kChipRows);
        TdlgNewChip dialog;
        dialog.SetChip(typed);
        QVERIFY(dialog.Chip() == kept);
    }

    void TheChipDialogsFields() {
        TdlgNewChip dialog;
        auto* type = Child<QComboBox>(dialog, "cbType");
        auto* id = Child<QLineEdit>(dialog, "edID");
        type->setEditText(QString());
        QVERIFY(!Child<QPushButton>(dialog, "btnOK")->isEnabled());
        id->clear();
        QTest::keyClicks(id, "12xz34G5678ABCD");
        QCOMPARE(id->text(), "12345678");
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
