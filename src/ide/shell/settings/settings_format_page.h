#pragma once

#include "assembler/syn_picoblaze.h"
#include "common/core_kind.h"
#include "shell/settings/settings_page.h"
#include "text/format_columns.h"

#include <array>
#include <string>
#include <vector>

class QSpinBox;
class QsciScintilla;

namespace korvo {

class TColorButton;
class TSourceLexer;

// The "Format" page: a sample program painted by a highlighter of its own,
// the colours of five highlighter attributes, and the formatter's three
// column positions. Every column change reformats the sample.
class TFormatPage : public TSettingsPage {
    Q_OBJECT
public:
    TFormatPage(TCoreKind coreKind, QWidget* parent = nullptr);
    ~TFormatPage() override;

    // The attributes from "Attributes" and the columns from "Columns".
    void Load(const ISettingsStore& settings);
    void SetSampleFont(const QFont& font);
    // Passes every line of the sample through the formatter.
    void ReformatSample();

    void Store(ISettingsStore& settings) override;
    void RestoreDefaults() override;
    bool CanRestoreDefaults() const override { return true; }

    TFormatColumns Columns() const;

signals:
    // The sample asks for another size to show every line whole.
    void SampleResized();

public:
    const std::vector<TSynHighlighterAttribute>& Attributes() const;
    std::vector<std::string> SampleLines() const { return sampleLines_; }

private:
    struct TColorChoice {
        const char* Caption;
        TAttributeIndex Attribute;
        TColorButton* Button;
    };

    void SetColumns(const TFormatColumns& columns);
    void ColorChosen(TAttributeIndex attribute, const QColor& color);
    void ShowAttributeColors();
    void ShowSample();
    // Makes the sample ask for the room its lines take in its font.
    void FitSample();

    TCoreKind coreKind_;
    TSynPicoBlaze scanner_;
    TSourceLexer* highlighter_ = nullptr;
    QsciScintilla* sample_ = nullptr;
    std::array<TColorChoice, 5> colors_;
    std::array<QSpinBox*, 3> columns_{};
    std::vector<std::string> sampleLines_;
    bool loading_ = false;
};

} // namespace korvo
