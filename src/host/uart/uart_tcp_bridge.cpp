#include "uart/uart_tcp_bridge.h"

#include <QTcpSocket>
#include <algorithm>

namespace korvo {

namespace {
// What the bridge lets wait in a client's socket, each way, before it holds
// the other side back.
constexpr qint64 kSocketBuffer = static_cast<qint64>(TUARTModel::kHostBufferSize);

QString PortName(int statusPort) {
    return QStringLiteral("UART $") +
           QStringLiteral("%1").arg(statusPort, 2, 16, QLatin1Char('0')).toUpper();
}

QString Endpoint(const QHostAddress& address, quint16 port) {
    return address.toString() + ':' + QString::number(port);
}
} // namespace

TUartTcpBridge::TUartTcpBridge(TUARTModel& uart, ILog& log, QObject* parent)
    : QObject(parent), uart_(uart), log_(log) {
    connect(&server_, &QTcpServer::newConnection, this, &TUartTcpBridge::AcceptClients);
}

TUartTcpBridge::~TUartTcpBridge() {
    Close();
}

QString TUartTcpBridge::Name() const {
    return PortName(uart_.StatusPort());
}

QByteArray TUartTcpBridge::BusyMessage(int statusPort) {
    return (PortName(statusPort) + QStringLiteral(" is busy: one client at a time\r\n")).toLatin1();
}

bool TUartTcpBridge::Listen() {
    Close();
    failure_.clear();
    auto port = static_cast<quint16>(std::clamp(uart_.TcpPort(), 0, 65535));
    if (!server_.listen(QHostAddress::LocalHost, port)) {
        failure_ = QStringLiteral("port %1 in use: %2").arg(port).arg(server_.errorString());
        log_.Failure((Name() + QStringLiteral(" cannot listen on ") +
                      Endpoint(QHostAddress::LocalHost, port) + QStringLiteral(": ") +
                      server_.errorString())
                         .toStdString());
        emit StateChanged();
        return false;
    }
    log_.Progress((Name() + QStringLiteral(": listening on ") +
                   Endpoint(server_.serverAddress(), server_.serverPort()))
                      .toStdString());
    emit StateChanged();
    return true;
}

void TUartTcpBridge::Close() {
    if (client_) {
        client_->disconnect(this);
        client_->abort();
        client_->deleteLater();
        client_ = nullptr;
    }
    bool wasListening = server_.isListening();
    server_.close();
    if (wasListening) emit StateChanged();
}

TUartTcpBridge::TState TUartTcpBridge::State() const {
    if (client_) return TState::Connected;
    if (server_.isListening()) return TState::Listening;
    return failure_.isEmpty() ? TState::Off : TState::Failed;
}

quint16 TUartTcpBridge::ServerPort() const {
    return server_.isListening() ? server_.serverPort() : 0;
}

QString TUartTcpBridge::StateText() const {
    switch (State()) {
    case TState::Off: return QStringLiteral("off");
    case TState::Listening:
        return QStringLiteral("listening on ") +
               Endpoint(server_.serverAddress(), server_.serverPort());
    case TState::Connected: return QStringLiteral("client ") + clientName_;
    case TState::Failed: return failure_;
    }
    return {};
}

void TUartTcpBridge::AcceptClients() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QString name = Endpoint(socket->peerAddress(), socket->peerPort());
        if (client_) {
            log_.Progress((Name() + QStringLiteral(": client ") + name +
                           QStringLiteral(" refused, one client at a time"))
                              .toStdString());
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(BusyMessage(uart_.StatusPort()));
            socket->disconnectFromHost();
            continue;
        }
        client_ = socket;
        clientName_ = name;
        // Qt reads no more than this ahead; beyond it TCP holds the client back.
        socket->setReadBufferSize(kSocketBuffer);
        connect(socket, &QTcpSocket::readyRead, this, &TUartTcpBridge::ReadClient);
        connect(socket, &QTcpSocket::disconnected, this, &TUartTcpBridge::ClientGone);
        log_.Progress((Name() + QStringLiteral(": client ") + name + " connected").toStdString());
        emit StateChanged();
    }
}

void TUartTcpBridge::ReadClient() {
    while (client_ && client_->bytesAvailable() > 0 && uart_.InputRoom() > 0) {
        QByteArray bytes = client_->read(
            std::min<qint64>(client_->bytesAvailable(), static_cast<qint64>(uart_.InputRoom())));
        uart_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
}

void TUartTcpBridge::ClientGone() {
    if (!client_) return;
    // What the client sent and the program has not taken yet, and what the
    // program sent that it has not read, go with it: the next client starts
    // a session of its own.
    uart_.DropPendingInput();
    uart_.TakeOutput();
    log_.Progress(
        (Name() + QStringLiteral(": client ") + clientName_ + QStringLiteral(" disconnected"))
            .toStdString());
    client_->disconnect(this);
    client_->deleteLater();
    client_ = nullptr;
    emit StateChanged();
}

std::string TUartTcpBridge::Pump(bool holdWithoutClient) {
    std::string sent;
    bool clientReady = client_ && client_->bytesToWrite() < kSocketBuffer;
    if (clientReady || (!client_ && !holdWithoutClient))
        sent = uart_.TakeOutput();
    else
        uart_.Synchronize();
    if (client_ && !sent.empty()) client_->write(sent.data(), static_cast<qint64>(sent.size()));
    ReadClient();
    return sent;
}

} // namespace korvo
