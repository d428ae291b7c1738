#include "panels/uart_terminal.h"

#include "simulator/uart_model.h"
#include "uart/uart_tcp_bridge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace korvo {

namespace {
// The bytes kept to draw the screen again in the other view; older ones
// scroll out (the counts keep counting them).
constexpr std::size_t kKeptBytes = 256 * 1024;
constexpr int kScreenLines = 5000;
// A program that never sends a line feed makes one long line: past this the
// screen is drawn again from the kept bytes.
constexpr int kScreenCharacters = 2 * 1024 * 1024;
constexpr int kHexBytesPerLine = 16;

struct TLineEnd {
    const char* Caption;
    const char* Bytes;
};
constexpr TLineEnd kLineEnds[] = {{"CR", "\r"}, {"LF", "\n"}, {"CR LF", "\r\n"}, {"none", ""}};
constexpr int kDefaultLineEnd = 1; // LF, what a terminal program sends

QString HexByte(unsigned char byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

TFrameUartTerminal::TFrameUartTerminal(TUARTModel& uart, TUartTcpBridge* bridge, QWidget* parent)
    : QWidget(parent), uart_(uart), bridge_(bridge) {
    setObjectName(QStringLiteral("FrameUart%1").arg(uart.StatusPort()));
    auto* group = new QGroupBox(QLatin1Char(' ') + Title() + QLatin1Char(' '), this);
    Screen = new QPlainTextEdit(group);
    Screen->setObjectName(QStringLiteral("uartScreen"));
    Screen->setReadOnly(true);
    Screen->setMaximumBlockCount(kScreenLines);
    Screen->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Screen->setMinimumHeight(90);
    Input = new QLineEdit(group);
    Input->setObjectName(QStringLiteral("uartInput"));
    Input->setPlaceholderText(QStringLiteral("Type and press Enter to send"));
    LineEnd = new QComboBox(group);
    LineEnd->setObjectName(QStringLiteral("uartLineEnd"));
    LineEnd->setToolTip(QStringLiteral("Line end sent after the typed line"));
    for (const auto& end : kLineEnds)
        LineEnd->addItem(QString::fromLatin1(end.Caption));
    LineEnd->setCurrentIndex(kDefaultLineEnd);
    HexView = new QCheckBox(QStringLiteral("Hex"), group);
    HexView->setObjectName(QStringLiteral("uartHexView"));
    HexView->setToolTip(QStringLiteral("Show the bytes received from the program in hexadecimal"));
    ClearButton = new QPushButton(QStringLiteral("Clear"), group);
    ClearButton->setObjectName(QStringLiteral("uartClear"));
    Counts = new QLabel(group);
    Counts->setObjectName(QStringLiteral("uartCounts"));
    Counts->setToolTip(QStringLiteral(
        "Bytes the program sent and received, and lost (sent into a full transmit queue)"));
    TcpState = new QLabel(group);
    TcpState->setObjectName(QStringLiteral("uartTcpState"));

    auto* entry = new QHBoxLayout;
    entry->addWidget(Input, 1);
    entry->addWidget(LineEnd);
    entry->addWidget(HexView);
    entry->addWidget(ClearButton);
    auto* state = new QHBoxLayout;
    state->addWidget(Counts, 1);
    state->addWidget(TcpState);
    auto* inner = new QVBoxLayout(group);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->setSpacing(3);
    inner->addWidget(Screen, 1);
    inner->addLayout(entry);
    inner->addLayout(state);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(group);
    setMinimumWidth(kWidth);

    connect(Input, &QLineEdit::returnPressed, this, &TFrameUartTerminal::SendLine);
    connect(HexView, &QCheckBox::toggled, this, &TFrameUartTerminal::Redraw);
    connect(ClearButton, &QPushButton::clicked, this, [this] {
        shown_.clear();
        Redraw();
    });
    if (bridge_)
        connect(bridge_, &TUartTcpBridge::StateChanged, this, &TFrameUartTerminal::ShowTcpState);
    ShowCounts();
    ShowTcpState();
}

TFrameUartTerminal::~TFrameUartTerminal() = default;

QString TFrameUartTerminal::EscapedText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == '\n' || (byte >= 0x20 && byte < 0x7F))
            text += QLatin1Char(static_cast<char>(byte));
        else
            text += QLatin1Char('<') + HexByte(byte) + QLatin1Char('>');
    }
    return text;
}

QString TFrameUartTerminal::HexText(std::string_view bytes, int& column) {
    QString text;
    for (char c : bytes) {
        if (column == kHexBytesPerLine) {
            text += QLatin1Char('\n');
            column = 0;
        }
        if (column > 0) text += QLatin1Char(' ');
        text += HexByte(static_cast<unsigned char>(c));
        ++column;
    }
    return text;
}

QString TFrameUartTerminal::Title() const {
    return QStringLiteral("UART $") + HexByte(static_cast<unsigned char>(uart_.StatusPort()));
}

void TFrameUartTerminal::Pump() {
    Show(bridge_ ? bridge_->Pump() : uart_.TakeOutput());
    ShowCounts();
}

void TFrameUartTerminal::Show(std::string_view bytes) {
    if (bytes.empty()) return;
    shown_.append(bytes);
    if (shown_.size() > kKeptBytes) shown_.erase(0, shown_.size() - kKeptBytes / 2);
    QScrollBar* scroll = Screen->verticalScrollBar();
    bool atEnd = scroll->value() == scroll->maximum();
    QTextCursor cursor(Screen->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(HexView->isChecked() ? HexText(bytes, hexColumn_) : EscapedText(bytes));
    if (Screen->document()->characterCount() > kScreenCharacters) Redraw();
    if (atEnd) scroll->setValue(scroll->maximum());
}

void TFrameUartTerminal::Redraw() {
    Screen->clear();
    hexColumn_ = 0;
    std::string bytes;
    bytes.swap(shown_);
    Show(bytes);
}

void TFrameUartTerminal::SendLine() {
    QByteArray bytes = Input->text().toUtf8();
    bytes += kLineEnds[std::max(0, LineEnd->currentIndex())].Bytes;
    if (bytes.isEmpty()) return;
    if (uart_.InputRoom() < static_cast<std::size_t>(bytes.size())) {
        // Nothing is dropped: the line stays to be sent again.
        notice_ = QStringLiteral("Input refused: %1 bytes still wait to be received")
                      .arg(uart_.PendingInput());
    } else {
        uart_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        Input->clear();
        notice_.clear();
    }
    ShowCounts();
}

void TFrameUartTerminal::ShowCounts() {
    QString counts = QStringLiteral("Sent %1, received %2, lost %3")
                         .arg(uart_.BytesSent())
                         .arg(uart_.BytesReceived())
                         .arg(uart_.BytesLost());
    Counts->setText(notice_.isEmpty() ? counts : counts + QStringLiteral(". ") + notice_);
}

void TFrameUartTerminal::ShowTcpState() {
    TcpState->setText(QStringLiteral("TCP: ") +
                      (bridge_ ? bridge_->StateText() : QStringLiteral("off")));
}

} // namespace korvo
