// The scratch pad and RAM/ROM frames on a real simulation: they follow
// STORE and OUT, their edits reach the program, the scratch pad size
// setting decides the frames, and the grid places the frames (also beyond
// its 64 cells). Also the value-entry dialog itself.
#include "common/settings.h"
#include "gui_test_support.h"
#include "panels/frame_ram.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_store.h"
#include "panels/memory_grid.h"
#include "panels/panel_widgets.h"
#include "panels/ram_rom_entry_form.h"
#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/panel_limits.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

TFrameRAMPanels& MemoryPanels(TTestWindow& window) {
    return Panels(window).RAMPanels();
}

void Step(TTestWindow& window, int times = 1) {
    for (int i = 0; i < times; ++i)
        Press(window, window->Commands().actStepOne);
}

QStringList RangeCaptions(const TMemoryFrame& frame, int rows) {
    QStringList captions;
    for (int row = 0; row < rows; ++row)
        captions << frame.RangeLabel(row)->text();
    return captions;
}

int EnabledValues(const TFrameStore& frame) {
    int enabled = 0;
    for (int n = 0; n < frame.ValueCount(); ++n)
        enabled += frame.ValueLabel(n)->isEnabled();
    return enabled;
}

} // namespace

class MemoryPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void FramesFollowStoreAndOut() {
        TTestWindow window;
        StartSimulation(window, "mem.psm",
                        "cells   DSRAM $10\r\n"
                        "        LOAD  s0, $5A\r\n"
                        "        STORE s0, $03\r\n"
                        "        OUT   s0, $12\r\n"
                        "loop:   JUMP  loop\r\n");
        TFrameRAMPanels& panels = MemoryPanels(window);
        QCOMPARE(panels.parentWidget(), window->RAMDockPanel);
        QVERIFY(!window->RAMDockPanel->isHidden());
        TFrameStore* store = panels.StoreFrame(0);
        TFrameRAM* ram = panels.RAMFrame(1);
        QVERIFY(store && ram);
        QCOMPARE(store->objectName(), QString("FrameStore0"));
        QCOMPARE(store->GroupBox->title(), QString(" ScratchPad0 "));
        QCOMPARE(store->Count(), 64);
        QCOMPARE(ram->objectName(), QString("FrameRAM1"));
        QCOMPARE(ram->GroupBox->title(), QString(" cells "));
        QCOMPARE(ram->LabelRange->text(), QString("$10"));
        Step(window, 3);
        QCOMPARE(store->ValueLabel(3)->text(), QString("5A"));
        QCOMPARE(ram->ValueLabel(2)->text(), QString("5A"));
        QCOMPARE(panels.PanelValue(3, mkScratchPad), 0x5A);
        QCOMPARE(panels.PanelValue(0x12, mkRAM), 0x5A);
        QCOMPARE(panels.PanelValue(0x12, mkROM), 0);
        // The frames go with the simulation, and the dock panel with them.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(panels.StoreFrame(0), nullptr);
        QVERIFY(window->RAMDockPanel->isHidden());
    }

    void EditedBytesAreWhatTheProgramReads() {
        TTestWindow window;
        StartSimulation(
            window, "edit.psm",
            "table   DSROM $20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16\r\n"
            "cells   DSRAM $30\r\n"
            "        IN    s0, $21\r\n"
            "        IN    s1, $35\r\n"
            "        FETCH s2, $07\r\n"
            "loop:   JUMP  loop\r\n");
        TFrameRAMPanels& panels = MemoryPanels(window);
        TFrameRAM* rom = panels.ROMFrame(2);
        QVERIFY(rom);
        QCOMPARE(rom->GroupBox->title(), QString(" table "));
        QCOMPARE(rom->ValueLabel(1)->text(), QString("02"));
        window.Dialogs.ValueTexts = {"c3", "1ff", "zz"};
        emit rom->ValueLabel(1)->DoubleClicked(1);
        emit panels.RAMFrame(3)->ValueLabel(5)->DoubleClicked(5);
        panels.StoreFrame(0)->SetValue(7, 0x44);
        emit panels.StoreFrame(0)->ValueLabel(7)->DoubleClicked(7);
        QCOMPARE(window.Dialogs.ValuesAsked,
                 (QList<QPair<int, int>>{{0x21, 2}, {0x35, 0}, {0x07, 0x44}}));
        QCOMPARE(rom->ValueLabel(1)->text(), QString("C3"));
        QCOMPARE(panels.RAMFrame(3)->ValueLabel(5)->text(), QString("FF"));
        QCOMPARE(panels.StoreFrame(0)->ValueLabel(7)->text(), QString("00"));
        Step(window, 3);
        TPicoBlazeDebugger& simulator = Simulator(window);
        QCOMPARE(simulator.Register(0), 0xC3);
        QCOMPARE(simulator.Register(1), 0xFF);
        QCOMPARE(simulator.Register(2), 0);
        // A cancelled dialog changes nothing.
        emit rom->ValueLabel(1)->DoubleClicked(1);
        QCOMPARE(rom->ValueLabel(1)->text(), QString("C3"));
    }

    void TheScratchPadSizeSettingDecidesTheFrames() {
        struct TCase {
            int Setting;
            int Frames;
            int EnabledInFirst;
        };
        for (TCase c : {TCase{5, 4, 64}, TCase{4, 2, 64}, TCase{3, 1, 64}, TCase{1, 1, 16},
                        TCase{0, 1, 0}, TCase{9, 1, 64}}) {
            TTestWindow window;
            WriteInteger(window.Settings.Store(), "ScratchPad", "Size", c.Setting);
            StartSimulation(window, "pad.psm", "loop: FETCH s0, $00\r\n JUMP loop\r\n");
            TFrameRAMPanels& panels = MemoryPanels(window);
            int frames = 0;
            for (int slot = 0; slot < 4; ++slot)
                frames += panels.StoreFrame(slot) != nullptr;
            QCOMPARE(frames, c.Frames);
            QCOMPARE(EnabledValues(*panels.StoreFrame(0)), c.EnabledInFirst);
        }
    }

    void AFullScratchPadShowsInFourFramesOfPairedCells() {
        TTestWindow window;
        WriteInteger(window.Settings.Store(), "ScratchPad", "Size", 5);
        StartSimulation(window, "pad.psm",
                        "        LOAD  s0, $99\r\n"
                        "        STORE s0, $82\r\n"
                        "loop:   JUMP  loop\r\n");
        TFrameRAMPanels& panels = MemoryPanels(window);
        QStringList captions;
        for (int k = 0; k < 4; ++k) {
            TFrameStore* frame = panels.StoreFrame(k);
            captions << frame->GroupBox->title() << RangeCaptions(*frame, 4).join(',');
            QCOMPARE(frame->pos(), QPoint(k * TMemoryFrame::kWidth, 0));
        }
        QCOMPARE(captions, QStringList({" ScratchPad0 ", "$00,$10,$20,$30", " ScratchPad1 ",
                                        "$40,$50,$60,$70", " ScratchPad2 ", "$80,$90,$A0,$B0",
                                        " ScratchPad3 ", "$C0,$D0,$E0,$F0"}));
        QCOMPARE(panels.RowsUsed(), 2);
        Step(window, 2);
        QCOMPARE(panels.StoreFrame(2)->GetValue(2), 0x99);
    }

    void WithoutScratchPadOrMemoryBlocksThereAreNoFrames() {
        TTestWindow window;
        StartSimulation(window, "none.psm", "loop: JUMP loop\r\n");
        QCOMPARE(MemoryPanels(window).RowsUsed(), 0);
        QVERIFY(window->RAMDockPanel->isHidden());
        // Only the PicoBlaze 3 has a scratch pad; RAM blocks exist for every core.
        Press(window, window->Commands().actSimulate);
        TTestWindow other;
        StartSimulation(other, "ram.psm", "cells DSRAM $00\r\nloop: JUMP loop\r\n",
                        TCoreKind::pbtI);
        QVERIFY(MemoryPanels(other).RAMFrame(0));
        QCOMPARE(MemoryPanels(other).StoreFrame(0), nullptr);
    }

    void TheGridKeepsToTheHorizontalMaximum() {
        TPanelLimits saved = ProcessPanelLimits();
        ProcessPanelLimits().MemoryPanelsHorizontal = 2;
        TTestWindow window;
        StartSimulation(
            window, "grid.psm",
            "one DSRAM $00\r\ntwo DSRAM $10\r\nthree DSROM $20, 0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
            "loop: JUMP loop\r\n");
        ProcessPanelLimits() = saved;
        TFrameRAMPanels& panels = MemoryPanels(window);
        QCOMPARE(panels.RAMFrame(0)->pos(), QPoint(0, 0));
        QCOMPARE(panels.RAMFrame(1)->pos(), QPoint(TMemoryFrame::kWidth, 0));
        TFrameRAM* rom = panels.ROMFrame(2);
        QCOMPARE(rom->objectName(), QString("FrameROM2"));
        QCOMPARE(rom->LabelRange->text(), QString("$20"));
        QCOMPARE(rom->pos(), QPoint(0, TMemoryFrame::kRowHeight));
        QCOMPARE(panels.RowsUsed(), 2);
        // As high as its rows when wide enough (else a scroll bar comes on top).
        panels.resize(3 * TMemoryFrame::kWidth, panels.height());
        QCOMPARE(panels.sizeHint().height(), 2 * TMemoryFrame::kRowHeight);
    }

    void FramesBeyondTheGridGoToNewRows() {
        TMemoryGrid grid(2);
        for (int pair = 0; pair < 4; ++pair)
            QCOMPARE(grid.TakePair(), (TMemoryGrid::TCell{2 * (pair / 2), pair % 2}));
        TMemoryGrid::TCell last;
        for (int cell = 0; cell < 16; ++cell)
            last = grid.TakeCell();
        QCOMPARE(last, (TMemoryGrid::TCell{11, 1}));
        QCOMPARE(grid.RowsUsed(), 12);
        // At most eight columns, whatever the setting.
        TMemoryGrid wide(16);
        QCOMPARE(wide.Columns(), 8);

        // The whole port map as RAM and a full scratch pad, two across: the
        // container shows eight rows and scrolls to the others.
        TPanelLimits saved = ProcessPanelLimits();
        ProcessPanelLimits().MemoryPanelsHorizontal = 2;
        TTestWindow window;
        WriteInteger(window.Settings.Store(), "ScratchPad", "Size", 5);
        std::string source;
        for (int block = 0; block < 16; ++block)
            source += "DSRAM " + std::to_string(16 * block) + "\r\n";
        StartSimulation(window, "full.psm", source + "loop: FETCH s0, 0\r\nJUMP loop\r\n");
        ProcessPanelLimits() = saved;
        TFrameRAMPanels& panels = MemoryPanels(window);
        QCOMPARE(panels.RowsUsed(), 12);
        QCOMPARE(panels.RAMFrame(15)->pos(),
                 QPoint(TMemoryFrame::kWidth, 11 * TMemoryFrame::kRowHeight));
        QCOMPARE(panels.widget()->height(), 12 * TMemoryFrame::kRowHeight);
        QVERIFY(panels.sizeHint().height() <= 8 * TMemoryFrame::kRowHeight + 40);
    }

    void TheValueEntryDialog() {
        TRAMROMEntryForm form(0x05, 0x3C);
        QCOMPARE(form.windowTitle(), QString("  Modify"));
        QCOMPARE(form.AddressLabel->text(), QString("05"));
        QCOMPARE(form.ValueEdit->text(), QString("3C"));
        auto* buttons = form.findChild<QDialogButtonBox*>();
        QStringList captions;
        for (QAbstractButton* button : buttons->buttons())
            captions << button->text();
        captions.sort();
        QCOMPARE(captions, QStringList({"Cancel", "OK"}));
        for (QAbstractButton* button : buttons->buttons())
            if (button->text() == "OK") QVERIFY(static_cast<QPushButton*>(button)->isDefault());
        QVERIFY(form.findChild<QLabel*>() != nullptr);
        form.ValueEdit->setText("7e");
        QCOMPARE(form.Value(), 0x7E);

        struct TCase {
            const char* Text;
            std::int64_t Parsed;
            std::int32_t Byte;
        };
        for (TCase c :
             {TCase{"1A", 0x1A, 0x1A}, TCase{" ff ", 0xFF, 0xFF}, TCase{"1FF", 0x1FF, 0xFF},
              TCase{"zz", 0, 0}, TCase{"", 0, 0}, TCase{"$10", 0, 0}, TCase{"123456789", 0, 0}}) {
            QCOMPARE(TRAMROMEntryForm::ParseValue(c.Text), c.Parsed);
            QCOMPARE(TRAMROMEntryForm::ByteValue(c.Text), c.Byte);
        }
    }
};

QTEST_MAIN(MemoryPanelsTest)
#include "memory_panels_test.moc"
