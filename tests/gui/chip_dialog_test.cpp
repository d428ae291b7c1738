#include "shell/chip_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace korvo;
using korvo::settings::TChipDescription;

namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

struct TChipFields {
    QComboBox* Type;
    QSpinBox* IRLength;
    QLineEdit* ID;
    QLineEdit* IDCODE;
    QLineEdit* USER1;
    QPushButton* OK;
};

TChipFields Fields(TdlgNewChip& dialog) {
    return {Child<QComboBox>(dialog, "cbType"),  Child<QSpinBox>(dialog, "edIRLength"),
            Child<QLineEdit>(dialog, "edID"),    Child<QLineEdit>(dialog, "edIDCODE"),
            Child<QLineEdit>(dialog, "edUSER1"), Child<QPushButton>(dialog, "btnOK")};
}

} // namespace

class ChipDialogTest : public QObject {
    Q_OBJECT

private slots:
    void CatalogueHoldsTheGenericChip() {
        auto catalogue = ChipCatalogue();
        QCOMPARE(catalogue.size(), std::size_t{1});
        QVERIFY(catalogue[0] == (TChipDescription{"<generic>", "1", "00000001", "1", "0"}));
    }

    void OpensWithTheFirstCatalogueEntry() {
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("  Chip info"));
        QVERIFY(dialog.windowFlags() & Qt::Tool);
        QCOMPARE(fields.Type->count(), 1);
        QCOMPARE(fields.Type->currentText(), QStringLiteral("<generic>"));
        QVERIFY(fields.Type->isEditable());
        // An IR length below the field's range shows as its minimum.
        QCOMPARE(fields.IRLength->minimum(), 2);
        QCOMPARE(fields.IRLength->maximum(), 32);
        QCOMPARE(fields.IRLength->value(), 2);
        QCOMPARE(fields.ID->text(), QStringLiteral("00000001"));
        QCOMPARE(fields.IDCODE->text(), QStringLiteral("0001"));
        QCOMPARE(fields.USER1->text(), QStringLiteral("0000"));
        QVERIFY(fields.OK->isEnabled());
        QVERIFY(fields.OK->isDefault());
        QCOMPARE(fields.OK->text(), QStringLiteral("&OK"));
    }

    void OkIsEnabledWhileTheTypeIsNotEmpty() {
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        fields.Type->setEditText(QString());
        QVERIFY(!fields.OK->isEnabled());
        fields.Type->setEditText(QStringLiteral("X"));
        QVERIFY(fields.OK->isEnabled());
    }

    void OnlyAnExactCatalogueNameFillsTheFields() {
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        fields.Type->setEditText(QStringLiteral("XC9536"));
        fields.IRLength->setValue(8);
        fields.ID->setText(QStringLiteral("09602093"));
        // Other letter case: the fields stay.
        fields.Type->setEditText(QStringLiteral("<GENERIC>"));
        QCOMPARE(fields.IRLength->value(), 8);
        QCOMPARE(fields.ID->text(), QStringLiteral("09602093"));
        fields.Type->setEditText(QStringLiteral("<generic>"));
        QCOMPARE(fields.IRLength->value(), 2);
        QCOMPARE(fields.ID->text(), QStringLiteral("00000001"));
    }

    void ResultIsFormattedAsTheChainKeepsIt_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("idcode");
        QTest::addColumn<QString>("user1");
        QTest::addColumn<QString>("idShown");
        QTest::addColumn<QString>("idcodeShown");
        QTest::addColumn<QString>("user1Shown");
        QTest::newRow("short values get leading zeros") << "abc"
                                                        << "9"
                                                        << "2"
                                                        << "00000ABC"
                                                        << "0009"
                                                        << "0002";
        QTest::newRow("full width") << "FFFFFFFF"
                                    << "ffff"
                                    << "3c2"
                                    << "FFFFFFFF"
                                    << "FFFF"
                                    << "03C2";
        QTest::newRow("empty fields count as 0") << ""
                                                 << ""
                                                 << ""
                                                 << "00000000"
                                                 << "0000"
                                                 << "0000";
        QTest::newRow("wide instructions keep their digits") << "1"
                                                             << "123456"
                                                             << "0"
                                                             << "00000001"
                                                             << "123456"
                                                             << "0000";
    }

    void ResultIsFormattedAsTheChainKeepsIt() {
        QFETCH(QString, id);
        QFETCH(QString, idcode);
        QFETCH(QString, user1);
        QFETCH(QString, idShown);
        QFETCH(QString, idcodeShown);
        QFETCH(QString, user1Shown);
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        fields.Type->setEditText(QStringLiteral("XC2S200"));
        fields.IRLength->setValue(5);
        fields.ID->setText(id);
        fields.IDCODE->setText(idcode);
        fields.USER1->setText(user1);
        QVERIFY(dialog.Chip() ==
                (TChipDescription{"XC2S200", "5", idShown.toStdString(), idcodeShown.toStdString(),
                                  user1Shown.toStdString()}));
    }

    void HexFieldsTakeOnlyHexDigits() {
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        fields.ID->clear();
        QTest::keyClicks(fields.ID, QStringLiteral("12xz34G5678ABCD"));
        QCOMPARE(fields.ID->text(), QStringLiteral("12345678"));
    }

    void EditingARowShowsItsValues() {
        TdlgNewChip dialog;
        auto fields = Fields(dialog);
        // A row named like a catalogue entry keeps its own values.
        dialog.SetChip({"<generic>", "6", "80234093", "0009", "0011"});
        QCOMPARE(fields.Type->currentText(), QStringLiteral("<generic>"));
        QCOMPARE(fields.IRLength->value(), 6);
        QCOMPARE(fields.ID->text(), QStringLiteral("80234093"));
        QCOMPARE(fields.IDCODE->text(), QStringLiteral("0009"));
        QCOMPARE(fields.USER1->text(), QStringLiteral("0011"));
        dialog.SetChip({"Odd", "x", "not hex", "", "7"});
        QVERIFY(dialog.Chip() == (TChipDescription{"Odd", "2", "00000000", "0000", "0007"}));
    }
};

QTEST_MAIN(ChipDialogTest)
#include "chip_dialog_test.moc"
