#include "dap/debug_adapter.h"

#include "dap/program_view.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"

#include <algorithm>

namespace korvo::servers {

namespace {

// The code address a client names: "0x1F", "$1F" or a decimal number; -1
// when it is none.
std::int64_t AddressNamed(const QString& reference) {
    bool ok = false;
    std::int64_t address = -1;
    if (reference.startsWith("0x", Qt::CaseInsensitive))
        address = reference.mid(2).toLongLong(&ok, 16);
    else if (reference.startsWith('$'))
        address = reference.mid(1).toLongLong(&ok, 16);
    else
        address = reference.toLongLong(&ok, 10);
    return ok ? address : -1;
}

} // namespace

std::int64_t TDebugAdapter::Bounded(std::int64_t value) {
    return std::clamp<std::int64_t>(value, -(1 << 24), 1 << 24);
}

// --- Inspection ---

void TDebugAdapter::Threads(const QJsonObject& request, const QJsonObject&) {
    QString name = "PicoBlaze";
    if (target_)
        name = QString::fromUtf8(CoreDescription(target_->Simulator().CoreKind()).ModeCaption);
    Respond(request, {{"threads", QJsonArray{QJsonObject{{"id", 1}, {"name", name}}}}});
}

void TDebugAdapter::StackTrace(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    QJsonArray all = view.StackFrames();
    const int start = std::max(0, arguments.value("startFrame").toInt());
    const int levels = arguments.value("levels").toInt();
    QJsonArray frames;
    for (int i = start; i < all.size() && (levels <= 0 || i - start < levels); ++i)
        frames.append(all[i]);
    Respond(request, {{"stackFrames", frames}, {"totalFrames", all.size()}});
}

void TDebugAdapter::Scopes(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request, {{"scopes", view.Scopes()}});
}

void TDebugAdapter::Variables(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    auto variables = view.Variables(arguments.value("variablesReference").toInt());
    if (!variables) return Refuse(request, "no such variables");
    Respond(request, {{"variables", *variables}});
}

void TDebugAdapter::SetVariable(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    try {
        QString value = view.SetVariable(arguments.value("variablesReference").toInt(),
                                         arguments.value("name").toString(),
                                         arguments.value("value").toString());
        Respond(request, {{"value", value}, {"variablesReference", 0}});
    } catch (const EDebugExpression& error) {
        Refuse(request, error.what());
    }
}

void TDebugAdapter::Evaluate(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    try {
        std::int32_t value = names_->Evaluate(
            arguments.value("expression").toString().toStdString(), target_->Simulator());
        Respond(request, {{"result", TProgramView::ValueText(value)}, {"variablesReference", 0}});
    } catch (const EDebugExpression& error) {
        Refuse(request, error.what());
    }
}

void TDebugAdapter::Disassemble(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    std::int64_t base = AddressNamed(arguments.value("memoryReference").toString());
    if (base < 0) return Refuse(request, "no code address");
    const std::int64_t first = Bounded(base) + Bounded(arguments.value("offset").toInteger()) +
                               Bounded(arguments.value("instructionOffset").toInteger());
    const qint64 count =
        std::clamp<qint64>(arguments.value("instructionCount").toInteger(), 0, 4096);
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request, {{"instructions", view.Disassembly(first, static_cast<int>(count))}});
}

void TDebugAdapter::ReadMemory(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    const QString reference = arguments.value("memoryReference").toString();
    std::int64_t base = reference == "scratchpad" ? 0 : AddressNamed(reference);
    if (base < 0) return Refuse(request, "memory references are 'scratchpad' or an offset in it");
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request,
            view.ScratchPadBytes(Bounded(base) + Bounded(arguments.value("offset").toInteger()),
                                 Bounded(arguments.value("count").toInteger())));
}

} // namespace korvo::servers
