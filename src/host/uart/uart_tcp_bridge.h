#pragma once

#include "common/log.h"
#include "simulator/uart_model.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <string>

namespace korvo {

// Serves one UART's TCP port on 127.0.0.1: one client at a time talks to the
// UART, bytes both ways. A second client is told that the UART is busy and
// is closed; a client that leaves is logged and another may come.
//
// The bytes move when Pump is called (at the yields and the end of a run):
// the program's bytes go to the client, the client's bytes enter the UART
// while its input buffer has room; what a client that left had not yet
// exchanged is dropped both ways. Otherwise nothing is: a client
// that sends faster than the program receives is held back by TCP, and one
// that reads slower than the program sends holds back the program.
class TUartTcpBridge : public QObject {
    Q_OBJECT
public:
    enum class TState { Off, Listening, Connected, Failed };

    TUartTcpBridge(TUARTModel& uart, ILog& log, QObject* parent = nullptr);
    ~TUartTcpBridge() override;

    // Listens on 127.0.0.1 at the UART's TCP port (0 takes a free port).
    // When the port cannot be had, logs one "Failure: " line and returns
    // false; the UART goes on without it.
    bool Listen();
    // Closes the port and any client, without a log line.
    void Close();

    TState State() const;
    // The port listened on; 0 when none.
    quint16 ServerPort() const;
    QHostAddress ServerAddress() const { return server_.serverAddress(); }
    bool HasClient() const { return client_ != nullptr; }
    const TUARTModel& Uart() const { return uart_; }
    // "off", "listening on 127.0.0.1:5000", "client 127.0.0.1:41234",
    // "port 5000 in use: ...".
    QString StateText() const;

    // Moves the bytes that are due and returns what the program sent (for a
    // terminal to show). Without a client the program's bytes are taken and
    // returned all the same, unless holdWithoutClient: then they wait, and
    // so does the program once the buffers are full.
    std::string Pump(bool holdWithoutClient = false);

    // The text of the line a refused client receives.
    static QByteArray BusyMessage(int statusPort);

signals:
    // A client came or went, or the port was opened or closed.
    void StateChanged();

private:
    void AcceptClients();
    void ReadClient();
    void ClientGone();
    QString Name() const;

    TUARTModel& uart_;
    ILog& log_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QString clientName_;
    QString failure_;
};

} // namespace korvo
