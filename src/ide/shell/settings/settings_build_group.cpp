#include "shell/settings/settings_build_group.h"

#include "common/settings_layout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

namespace korvo {

namespace {

// A number shown as "$" and upper-case hexadecimal digits, as the program
// writes numbers everywhere.
class THexSpinBox : public QSpinBox {
public:
    THexSpinBox(int maximum, int digits, QWidget* parent) : QSpinBox(parent), digits_(digits) {
        setDisplayIntegerBase(16);
        setPrefix(QStringLiteral("$"));
        setRange(0, maximum);
        setMinimumWidth(fontMetrics().horizontalAdvance(QString(digits + 1, QChar('0'))) + 40);
    }

protected:
    QString textFromValue(int value) const override {
        return QString::number(value, 16).toUpper().rightJustified(digits_, QLatin1Char('0'));
    }

private:
    int digits_;
};

} // namespace

TCoreBuildGroup::TCoreBuildGroup(QWidget* parent) : QGroupBox(parent) {
    const TCoreDescription& core = BuildOptionsCore();
    setTitle(QStringLiteral(" %1 ").arg(QString::fromUtf8(core.Title.data(), core.Title.size())));
    setObjectName(QStringLiteral("coreBuild"));
    programSize_ = new QComboBox(this);
    programSize_->setObjectName(QStringLiteral("programSize"));
    for (int size : ProgramSizes(core))
        programSize_->addItem(QString::fromStdString(ProgramSizeText(size)), size);
    vector_ = new THexSpinBox(core.CodeSize - 1, core.AddressDigits(), this);
    vector_->setObjectName(QStringLiteral("interruptVector"));
    hwBuild_ = new THexSpinBox(0xFF, 2, this);
    hwBuild_->setObjectName(QStringLiteral("hwBuild"));
    scratchPad_ = new QComboBox(this);
    scratchPad_->setObjectName(QStringLiteral("buildScratchPad"));
    for (int size : kBuildScratchPadSizes)
        scratchPad_->addItem(QStringLiteral("%1 bytes").arg(size), size);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Program size:"), programSize_);
    layout->addRow(QStringLiteral("Interrupt vector:"), vector_);
    layout->addRow(QStringLiteral("HWBUILD:"), hwBuild_);
    layout->addRow(QStringLiteral("Scratch pad:"), scratchPad_);
    connect(programSize_, &QComboBox::currentIndexChanged, this,
            &TCoreBuildGroup::FollowProgramSize);
    Show(DefaultCoreOptions(core.Kind));
}

void TCoreBuildGroup::FollowProgramSize() {
    vector_->setMaximum(programSize_->currentData().toInt() - 1);
}

void TCoreBuildGroup::Show(const TCoreOptions& options) {
    programSize_->setCurrentIndex(std::max(0, programSize_->findData(options.ProgramSize)));
    FollowProgramSize();
    vector_->setValue(options.InterruptVector);
    hwBuild_->setValue(options.HwBuild);
    scratchPad_->setCurrentIndex(std::max(0, scratchPad_->findData(options.ScratchPadSize)));
}

TCoreOptions TCoreBuildGroup::Options() const {
    return {programSize_->currentData().toInt(), vector_->value(), hwBuild_->value(),
            scratchPad_->currentData().toInt()};
}

void TCoreBuildGroup::Load(const ISettingsStore& settings) {
    Show(settings::LoadCoreOptions(settings, BuildOptionsCore().Kind));
}

void TCoreBuildGroup::Store(ISettingsStore& settings) const {
    settings::StoreCoreOptions(settings, Options());
}

} // namespace korvo
