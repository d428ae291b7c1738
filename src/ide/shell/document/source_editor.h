#pragma once

#include "analysis/program_check.h"

#include <QStringList>
#include <Qsci/qsciscintilla.h>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QsciStyle;

namespace korvo {

enum class TLineGlyph;

// The colours of a whole line while a program is simulated: white text on
// blue for the current line, on red for a breakpoint, on grey for a
// breakpoint on a line without code.
enum class TLineColour { Normal, Current, Breakpoint, DeadBreakpoint };

// The text control of a document: a source editor with a gutter (line
// numbers, or the assembler's listing, a glyph column for the simulation
// marks and one for bookmarks), ten bookmarks, file drops and line colours. Text is
// UTF-8 with CR LF line breaks.
class TSourceEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit TSourceEditor(QWidget* parent = nullptr);
    ~TSourceEditor() override;

    static constexpr int kBookmarkCount = 10;
    static constexpr int kNumberMargin = 0;
    static constexpr int kListingMargin = 1;
    static constexpr int kGlyphMargin = 2;
    // Bookmarks have a column of their own, so that they never hide a
    // breakpoint or the current line.
    static constexpr int kBookmarkMargin = 3;
    // How often each line ran, as a colour from cold to hot beside the text.
    static constexpr int kHeatMargin = 4;

    // The whole text as bytes, and replacing it; SetBytes starts a new undo
    // history, clears the modified flag and puts the caret at the start.
    std::string Bytes() const;
    void SetBytes(std::string_view utf8);
    bool IsEmptyText() const;
    int LineCount() const;
    // Line index from 0, without its line break.
    std::string LineBytes(int line) const;
    // Replaces the text of every line that differs, and adds or removes
    // lines at the end so that the text has as many lines, as one undo step.
    void ReplaceLines(const std::vector<std::string>& lines);

    void SetEditorFont(const QFont& font);
    const QFont& EditorFont() const { return font_; }
    void SetRightEdge(int column);

    // The gutter shows line numbers, or else the listing when one is set.
    void ShowLineNumbers(bool show);
    bool LineNumbersShown() const { return lineNumbers_; }
    // One entry per line; entries beginning with "?" get a yellow background.
    void SetListing(const QStringList& listing);
    void ClearListing();
    QString ListingText(int line) const;

    void ToggleBookmark(int number);
    void GotoBookmark(int number);
    // The line (from 0) of a bookmark, -1 when it is not set.
    int BookmarkLine(int number) const;

    // The simulation marks of one line (from 0): its gutter glyph (none when
    // null) and its colours.
    void SetLineMarks(int line, const TLineGlyph* glyph, TLineColour colour);
    void ClearLineMarks();
    TLineColour LineColourAt(int line) const;
    // Coverage in the line number margin of a line (from 0): green when its
    // instruction was executed, red when it never was, nothing for none.
    void SetCoverageMark(int line, std::optional<bool> executed);
    std::optional<bool> CoverageMarkAt(int line) const;
    // The heat column: one entry per line (from 0), the completed
    // instructions of a line with code, none for a line without; an empty
    // list hides the column. The count shows in the line's tool tip.
    void SetHeat(std::vector<std::optional<std::uint64_t>> counts);
    std::optional<std::uint64_t> HeatCountAt(int line) const;
    // 0 for a line that never ran or holds no code, then 1 (cold) to
    // kHeatLevels (the hottest lines of the text).
    static constexpr int kHeatLevels = 5;
    int HeatLevelAt(int line) const;
    // The glyph shown for a line, -1 for none.
    int LineGlyphAt(int line) const;

    // Caret by line and column from 1.
    void MoveCaret(int line, int column);

    // The assembler's message for a line (from 0): a wavy underline under
    // the line's text and the message below it, until the line is edited.
    void SetErrorMark(int line, const QString& message);
    void ClearErrorMarks();
    // The message on a line, empty when none.
    QString ErrorMessage(int line) const;
    // A finding of the checker on a line (from 0), below any before it and
    // in its severity's colours; cleared like the assembler's marks.
    void AddCheckMark(int line, const QString& message, TCheckSeverity severity);
    // The gravest finding of the checker on a line, none when it has none.
    std::optional<TCheckSeverity> CheckMarkAt(int line) const;

    // The document position under a point of the view, -1 for none.
    int PositionAt(const QPoint& point) const;

    // Follows the theme: paper, text, caret, gutter and marks.
    void ApplyThemeColours();
    // Keeps the light colours whatever the theme, as paper needs.
    void KeepLightColours();

signals:
    void FilesDropped(const QStringList& files);
    void FocusReceived();
    void ContextMenuRequested(const QPoint& globalPosition);
    // The mouse rests over a document position (for a tool tip there).
    void HoverRequested(int position, const QPoint& globalPosition);
    // Ctrl and a click on a document position: go to what is named there.
    void DefinitionRequested(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void UpdateMargins();
    void UpdateNumberMarginWidth();
    // Clears the error mark of every line an edit touched.
    void ClearEditedErrorMarks(int position, int modification, int length, int linesAdded);
    void ClearIndicators(long start, long end);
    void ShowCheckMarks(int line);
    // The tool tip of the heat column at a point of the view; false when the
    // point is elsewhere.
    bool ShowHeatTip(const QPoint& point);
    qsizetype ListingWidth() const;
    static int DigitOfKey(int key);

    QFont font_;
    bool lightOnly_ = false;
    bool lineNumbers_ = true;
    QStringList listing_;
    std::unique_ptr<QsciStyle> listingStyle_;
    std::unique_ptr<QsciStyle> listingErrorStyle_;
    std::unique_ptr<QsciStyle> errorStyle_;
    std::unique_ptr<QsciStyle> warningStyle_;
    std::unique_ptr<QsciStyle> noteStyle_;
    // The checker's findings of each marked line, in the order they came.
    std::map<int, std::vector<std::pair<QString, TCheckSeverity>>> checkMarks_;
    std::array<int, kBookmarkCount> bookmarkHandles_{};
    std::array<int, kBookmarkCount> bookmarkColumns_{};
    int numberMarginDigits_ = 0;
    std::vector<std::optional<std::uint64_t>> heat_;
};

} // namespace korvo
