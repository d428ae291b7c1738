#pragma once

#include "common/log.h"

#include <QColor>
#include <Qsci/qsciscintilla.h>
#include <deque>

namespace korvo {

// The log pane: a read-only list of at most 101 lines, each coloured by its
// kind (source errors yellow, failures aqua, progress silver, errors red,
// the checker's warnings amber and notes pale amber). A double click on a
// line that begins with "Line " asks for the source line whose number
// follows.
class TLogPane : public QsciScintilla, public ILog {
    Q_OBJECT
public:
    explicit TLogPane(QWidget* parent = nullptr);

    static constexpr int kMaxLines = 101;

    void AddLine(TLogSeverity severity, const std::string& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;

    int LineCount() const;
    QString LineText(int line) const;
    // The background a line is painted on; invalid for the normal colours.
    QColor LineBackground(int line) const;
    // The background for a line of this kind; invalid for plain lines.
    static QColor BackgroundOf(TLogSeverity severity);
    // The background for a line that comes as text alone.
    static QColor BackgroundOf(const QString& text);
    // The source line named by a "Line N:" log line (1 when N does not
    // read), 0 for any other line.
    static int SourceLineOf(const QString& text);

signals:
    void SourceLineRequested(int line);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TPendingLine {
        TLogSeverity Severity;
        QString Text;
    };

    // Paper and text of the theme; coloured lines keep black text.
    void ApplyThemeColours();
    // Selections always cover whole lines.
    void ExtendSelectionToLines();
    void AppendLines(const std::deque<TPendingLine>& lines);
    // Shows the newest line at the bottom of the view.
    void ShowNewestLines();
    static QString Clean(const std::string& text);

    int updateDepth_ = 0;
    std::deque<TPendingLine> pending_;
    int lineCount_ = 0;
    bool extendingSelection_ = false;
    // The line under the mouse when a button went down, before the click
    // could scroll the view.
    int pressedLine_ = -1;
    // The view shows the newest lines and keeps them in view when it shrinks.
    bool followNewest_ = true;
};

} // namespace korvo
