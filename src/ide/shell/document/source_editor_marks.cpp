// The marks of a source editor: the simulation's glyphs and line colours,
// coverage and heat, and the messages of the assembler and the checker.
#include "shell/app/icons.h"
#include "shell/document/source_editor.h"
#include "shell/document/source_editor_markers.h"

#include <QToolTip>
#include <Qsci/qscistyle.h>
#include <Qsci/qscistyledtext.h>
#include <cmath>

namespace korvo {

using namespace source_editor;

namespace {
constexpr int kHeatMarginWidth = 8;

int GlyphMarker(TLineGlyph glyph) {
    return kFirstGlyphMarker + static_cast<int>(glyph);
}
} // namespace

void TSourceEditor::SetLineMarks(int line, const TLineGlyph* glyph, TLineColour colour) {
    if (line < 0 || line >= lines()) return;
    for (int kind = 0; kind < kGlyphKinds; ++kind)
        markerDelete(line, kFirstGlyphMarker + kind);
    if (glyph) markerAdd(line, GlyphMarker(*glyph));
    for (int kind = 0; kind < kColourKinds; ++kind)
        markerDelete(line, kFirstColourMarker + kind);
    long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
    SendScintilla(SCI_SETINDICATORCURRENT, kLineTextIndicator);
    if (colour == TLineColour::Normal) {
        SendScintilla(SCI_INDICATORCLEARRANGE, start, end - start);
    } else {
        markerAdd(line, kFirstColourMarker + static_cast<int>(colour) - 1);
        SendScintilla(SCI_INDICATORFILLRANGE, start, end - start);
    }
}

void TSourceEditor::SetCoverageMark(int line, std::optional<bool> executed) {
    if (line < 0 || line >= lines()) return;
    markerDelete(line, kCoveredMarker);
    markerDelete(line, kMissedMarker);
    if (executed) markerAdd(line, *executed ? kCoveredMarker : kMissedMarker);
}

std::optional<bool> TSourceEditor::CoverageMarkAt(int line) const {
    unsigned markers = line >= 0 ? markersAtLine(line) : 0;
    if (markers & (1u << kCoveredMarker)) return true;
    if (markers & (1u << kMissedMarker)) return false;
    return std::nullopt;
}

void TSourceEditor::SetHeat(std::vector<std::optional<std::uint64_t>> counts) {
    heat_ = std::move(counts);
    for (int marker : kHeatMarkers)
        markerDeleteAll(marker);
    // A hidden margin would let its markers colour the whole line instead.
    setMarginWidth(kHeatMargin, heat_.empty() ? 0 : kHeatMarginWidth);
    int count = std::min(static_cast<int>(heat_.size()), lines());
    for (int line = 0; line < count; ++line)
        if (int level = HeatLevelAt(line); level > 0) markerAdd(line, kHeatMarkers[level - 1]);
}

std::optional<std::uint64_t> TSourceEditor::HeatCountAt(int line) const {
    return line >= 0 && line < static_cast<int>(heat_.size()) ? heat_[line] : std::nullopt;
}

int TSourceEditor::HeatLevelAt(int line) const {
    std::uint64_t count = HeatCountAt(line).value_or(0);
    if (count == 0) return 0;
    std::uint64_t hottest = 0;
    for (const auto& entry : heat_)
        hottest = std::max(hottest, entry.value_or(0));
    // On a logarithmic scale, so that a line run once stays apart from one
    // run a million times and a loop's body from its setup.
    double share =
        std::log1p(static_cast<double>(count)) / std::log1p(static_cast<double>(hottest));
    return std::clamp(static_cast<int>(std::ceil(share * kHeatLevels)), 1, kHeatLevels);
}

bool TSourceEditor::ShowHeatTip(const QPoint& point) {
    if (heat_.empty()) return false;
    int left = 0;
    for (int margin = 0; margin < kHeatMargin; ++margin)
        left += marginWidth(margin);
    if (point.x() < left || point.x() >= left + marginWidth(kHeatMargin)) return false;
    long position = SendScintilla(SCI_POSITIONFROMPOINT,
                                  static_cast<unsigned long>(left + marginWidth(kHeatMargin)),
                                  static_cast<long>(point.y()));
    auto count = HeatCountAt(static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, position)));
    if (!count) return true;
    QToolTip::showText(viewport()->mapToGlobal(point),
                       *count == 0   ? QStringLiteral("Never executed")
                       : *count == 1 ? QStringLiteral("Executed once")
                                     : QStringLiteral("Executed %1 times").arg(*count),
                       this);
    return true;
}

void TSourceEditor::ClearLineMarks() {
    markerDeleteAll(kCoveredMarker);
    markerDeleteAll(kMissedMarker);
    for (int kind = 0; kind < kGlyphKinds; ++kind)
        markerDeleteAll(kFirstGlyphMarker + kind);
    for (int kind = 0; kind < kColourKinds; ++kind)
        markerDeleteAll(kFirstColourMarker + kind);
    SendScintilla(SCI_SETINDICATORCURRENT, kLineTextIndicator);
    SendScintilla(SCI_INDICATORCLEARRANGE, 0L, SendScintilla(SCI_GETLENGTH));
}

TLineColour TSourceEditor::LineColourAt(int line) const {
    unsigned markers = line >= 0 ? markersAtLine(line) : 0;
    for (int kind = 0; kind < kColourKinds; ++kind)
        if (markers & (1u << (kFirstColourMarker + kind)))
            return static_cast<TLineColour>(kind + 1);
    return TLineColour::Normal;
}

int TSourceEditor::LineGlyphAt(int line) const {
    unsigned markers = line >= 0 ? markersAtLine(line) : 0;
    for (int kind = 0; kind < kGlyphKinds; ++kind)
        if (markers & (1u << (kFirstGlyphMarker + kind))) return kind;
    return -1;
}

void TSourceEditor::SetErrorMark(int line, const QString& message) {
    if (line < 0 || line >= lines()) return;
    long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
    SendScintilla(SCI_SETINDICATORCURRENT, kErrorIndicator);
    SendScintilla(SCI_INDICATORFILLRANGE, start, std::max(1L, end - start));
    annotate(line, message, *errorStyle_);
}

void TSourceEditor::AddCheckMark(int line, const QString& message, TCheckSeverity severity) {
    if (line < 0 || line >= lines()) return;
    checkMarks_[line].emplace_back(message, severity);
    ShowCheckMarks(line);
}

void TSourceEditor::ShowCheckMarks(int line) {
    const auto& findings = checkMarks_[line];
    QList<QsciStyledText> texts;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const auto& [message, severity] = findings[i];
        const QsciStyle& style = severity == TCheckSeverity::Error     ? *errorStyle_
                                 : severity == TCheckSeverity::Warning ? *warningStyle_
                                                                       : *noteStyle_;
        // Annotating once with the style object sets the style up in this
        // editor; the list then names it by number, since a styled text made
        // from a style object keeps a copy of it that is never freed.
        annotate(line, QString(), style);
        texts << QsciStyledText(i + 1 < findings.size() ? message + '\n' : message, style.style());
    }
    annotate(line, texts);
    long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
    ClearIndicators(start, start + std::max(1L, end - start));
    TCheckSeverity gravest = CheckMarkAt(line).value_or(TCheckSeverity::Note);
    SendScintilla(SCI_SETINDICATORCURRENT, gravest == TCheckSeverity::Error     ? kErrorIndicator
                                           : gravest == TCheckSeverity::Warning ? kWarningIndicator
                                                                                : kNoteIndicator);
    SendScintilla(SCI_INDICATORFILLRANGE, start, std::max(1L, end - start));
}

std::optional<TCheckSeverity> TSourceEditor::CheckMarkAt(int line) const {
    auto found = checkMarks_.find(line);
    if (found == checkMarks_.end() || found->second.empty()) return std::nullopt;
    TCheckSeverity gravest = TCheckSeverity::Note;
    for (const auto& finding : found->second)
        gravest = std::min(gravest, finding.second);
    return gravest;
}

void TSourceEditor::ClearIndicators(long start, long end) {
    for (int indicator : {kErrorIndicator, kWarningIndicator, kNoteIndicator}) {
        SendScintilla(SCI_SETINDICATORCURRENT, indicator);
        SendScintilla(SCI_INDICATORCLEARRANGE, start, end - start);
    }
}

void TSourceEditor::ClearErrorMarks() {
    ClearIndicators(0L, SendScintilla(SCI_GETLENGTH));
    checkMarks_.clear();
    clearAnnotations();
}

QString TSourceEditor::ErrorMessage(int line) const {
    return line >= 0 && line < lines() ? annotation(line) : QString();
}

void TSourceEditor::ClearEditedErrorMarks(int position, int modification, int length,
                                          int linesAdded) {
    if (!(modification & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))) return;
    long first = SendScintilla(SCI_LINEFROMPOSITION, static_cast<long>(position));
    if (linesAdded != 0 && !checkMarks_.empty()) {
        // The findings move with their lines, as the annotations do.
        std::map<int, std::vector<std::pair<QString, TCheckSeverity>>> moved;
        for (auto& [line, findings] : checkMarks_)
            if (line <= first)
                moved[line] = std::move(findings);
            else if (line + linesAdded > first)
                moved[line + linesAdded] = std::move(findings);
        checkMarks_.swap(moved);
    }
    long last = SendScintilla(SCI_LINEFROMPOSITION,
                              static_cast<long>(position + (linesAdded > 0 ? length : 0)));
    for (long line = first; line <= last; ++line) {
        if (annotation(static_cast<int>(line)).isEmpty()) continue;
        clearAnnotations(static_cast<int>(line));
        checkMarks_.erase(static_cast<int>(line));
        long start = SendScintilla(SCI_POSITIONFROMLINE, line);
        long end = SendScintilla(SCI_GETLINEENDPOSITION, line);
        ClearIndicators(start, start + std::max(1L, end - start));
    }
}

} // namespace korvo
