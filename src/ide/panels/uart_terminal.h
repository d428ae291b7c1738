#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korvo {

class TUARTModel;
class TUartTcpBridge;

// The terminal of one UART: what the program sends, as text (bytes that are
// not printable as "<0D>"-style escapes, a line feed breaks the line) or as
// hexadecimal bytes; a line to type into, sent with Enter and the chosen
// line end; the counts of bytes sent, received and lost; and the state of
// the UART's TCP port when it is served.
class TFrameUartTerminal : public QWidget {
    Q_OBJECT
public:
    // bridge: the UART's TCP port, or none when the port is not served; it
    // must outlive the terminal.
    TFrameUartTerminal(TUARTModel& uart, TUartTcpBridge* bridge, QWidget* parent = nullptr);
    ~TFrameUartTerminal() override;

    // Moves the bytes that are due between the UART, the TCP client and the
    // screen (at the yields and the end of each run).
    void Pump();
    // "UART $04": the port of the UART's status.
    QString Title() const;

    // The text view of bytes, and the hexadecimal one (16 bytes a line;
    // column is the number of bytes on the current line, carried over).
    static QString EscapedText(std::string_view bytes);
    static QString HexText(std::string_view bytes, int& column);

    QPlainTextEdit* Screen = nullptr;
    QCheckBox* HexView = nullptr;
    QLineEdit* Input = nullptr;
    QComboBox* LineEnd = nullptr;
    QPushButton* ClearButton = nullptr;
    QLabel* Counts = nullptr;
    QLabel* TcpState = nullptr;

    static constexpr int kWidth = 440;

private:
    void Show(std::string_view bytes);
    void Redraw();
    void SendLine();
    void ShowCounts();
    void ShowTcpState();

    TUARTModel& uart_;
    TUartTcpBridge* bridge_;
    // What the screen shows, kept to draw it again in the other view.
    std::string shown_;
    int hexColumn_ = 0;
    QString notice_;
};

} // namespace korvo
