// What a document knows of the names in its text: where they are defined
// (Go to Definition) and what they stand for (the hint under the mouse).
#include "assembler/source_symbols.h"
#include "common/hex_text.h"
#include "shell/document/document.h"
#include "shell/document/document_host.h"
#include "shell/document/source_editor.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"

#include <QFile>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;

// The register a built-in name ("s3", "S1F" on PicoBlaze II) stands for.
std::optional<int> BuiltInRegister(const QString& name, TCoreKind core) {
    const TCoreDescription& description = CoreDescription(core);
    if (name.size() != description.RegisterDigits + 1 || name[0].toLower() != 's')
        return std::nullopt;
    auto number = ParseHex(name.mid(1).toStdString());
    if (!number || static_cast<int>(*number) >= description.RegisterCount) return std::nullopt;
    return static_cast<int>(*number);
}

QString ValueText(std::int32_t value) {
    return QStringLiteral("$%1 (%2)").arg(QString::fromStdString(HexText(value, 2))).arg(value);
}
} // namespace

const std::vector<TSourceSymbol>& TDocument::Symbols() {
    if (!symbolsValid_ && Simulator()) {
        symbols_ = CollectSourceSymbols(Simulator()->CoreKind(), FileSystemName(file_.Name()),
                                        SourceLines());
        symbolsValid_ = true;
    }
    return symbols_;
}

QString TDocument::NameAt(int position) const {
    auto* text = TextControl();
    if (!text || position < 0) return {};
    long start = text->SendScintilla(Sci::SCI_WORDSTARTPOSITION, position, 1L);
    long end = text->SendScintilla(Sci::SCI_WORDENDPOSITION, position, 1L);
    if (end <= start) return {};
    return QString::fromUtf8(text->Bytes().substr(static_cast<std::size_t>(start),
                                                  static_cast<std::size_t>(end - start)));
}

bool TDocument::GotoDefinition(int position) {
    const TSourceSymbol* symbol = FindSourceSymbol(Symbols(), NameAt(position).toStdString());
    if (!symbol) return false;
    if (symbol->FileName == FileSystemName(file_.Name()))
        SetCaretPos({symbol->Line, 1});
    else
        host_.ShowSourceLine(QFile::decodeName(QByteArray::fromStdString(symbol->FileName)),
                             symbol->Line);
    return true;
}

QString TDocument::HoverText(int position) {
    auto* text = TextControl();
    if (!text || position < 0) return {};
    int line = static_cast<int>(text->SendScintilla(Sci::SCI_LINEFROMPOSITION, position));
    long lineEnd = text->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    // The checker's findings stand under their line; a name there keeps its hint.
    if (QString message = text->ErrorMessage(line);
        !message.isEmpty() && !text->CheckMarkAt(line) && position <= lineEnd)
        return message;
    QString name = NameAt(position);
    if (name.isEmpty() || !Simulator()) return {};
    const TSourceSymbol* symbol = FindSourceSymbol(Symbols(), name.toStdString());
    QString hint;
    if (symbol)
        hint = name + QStringLiteral(": ") +
               QString::fromStdString(DescribeSourceSymbol(*symbol, Simulator()->CoreKind())) +
               QStringLiteral(", line %1").arg(symbol->Line);
    QString value = CurrentValueText(name, symbol);
    if (hint.isEmpty() && value.isEmpty()) return {};
    if (hint.isEmpty()) hint = name;
    return value.isEmpty() ? hint : hint + QStringLiteral("\nnow ") + value;
}

QString TDocument::CurrentValueText(const QString& name, const TSourceSymbol* symbol) const {
    if (mode_ != dmSimulate || !Simulator() || !Simulator()->IsActive()) return {};
    std::optional<int> number = BuiltInRegister(name, Simulator()->CoreKind());
    if (symbol && symbol->Kind == skRegister) number = symbol->Value;
    if (number) {
        QString hint = ValueText(Simulator()->Register(*number));
        return symbol ? hint : QStringLiteral("register, ") + hint;
    }
    if (!symbol || symbol->Kind != skDevice || !Session()) return {};
    int port = symbol->Value & 0xFF;
    TSimulationIO& io = Session()->IO();
    if (auto* output = io.OutputPort(port)) return ValueText(output->Value());
    if (auto* both = io.BidirectionalPort(port)) return ValueText(both->Value());
    if (auto* input = io.InputPort(port)) return ValueText(input->Value());
    TMemMapItem item = Simulator()->GetPortItem(port);
    if (item.Kind == TMemKind::RAM || item.Kind == TMemKind::ROM) return ValueText(item.Value);
    return {};
}

} // namespace korvo
