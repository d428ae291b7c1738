#include "simulator/io_models.h"

#include "common/mem_map.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "simulator/log_format.h"
#include "simulator/sim_errors.h"
#include "simulator/state_bytes.h"

#include <algorithm>

namespace korvo {

// --- Input port ---

TInputPortModel::TInputPortModel(int port, std::string name, std::string stimulusFile, bool visible)
    : port_(port), name_(std::move(name)), stimulusFile_(std::move(stimulusFile)),
      visible_(visible) {}

void TInputPortModel::Advance(const TStimulusFaultHandler& onFault) {
    auto line = NextLine(stimuli_, nextStimulus_);
    if (!line) return;
    ++stimulusLine_;
    auto value = ParseIntegerText(*line);
    if (value && *value >= 0 && *value <= 0xFF)
        value_ = *value;
    else if (onFault)
        onFault({stimulusFile_, stimulusLine_,
                 std::string(*line) +
                     (value ? " is not a value from 0 to 255" : " is not an integer")});
}

void TInputPortModel::Reset(const TStimulusFaultHandler& onFault) {
    if (!HasStimulus()) return;
    stimuli_.clear();
    stimuli_.shrink_to_fit();
    nextStimulus_ = 0;
    stimulusLine_ = 0;
    try {
        stimuli_ = ReadFileBytes(stimulusFile_, kMaxStimulusFileBytes);
    } catch (const EFileError& failure) {
        if (onFault) onFault({stimulusFile_, 0, failure.what()});
        return;
    }
    nextStimulus_ = stimuli_.size() - WithoutByteOrderMark(stimuli_).size();
    Advance(onFault);
}

std::int32_t TInputPortModel::Read(const TStimulusFaultHandler& onFault) {
    std::int32_t result = value_;
    Advance(onFault);
    return result;
}

std::int32_t TInputPortModel::PortRead(int, const TDeviceReports& reports) {
    return Read(reports.StimulusFault);
}

void TInputPortModel::PortWrite(int, std::int32_t, const TDeviceReports&) {}

void TInputPortModel::SaveState(TStateWriter& out) const {
    out.Put(value_);
    out.Put(nextStimulus_);
    out.Put(stimulusLine_);
}

void TInputPortModel::RestoreState(TStateReader& in) {
    in.Get(value_);
    in.Get(nextStimulus_);
    in.Get(stimulusLine_);
}

TDeviceDescription TInputPortModel::Describe() const {
    return {name_, {port_}, {{"value", value_}}};
}

void MakeInputPort(IDeviceSet& devices, int port, const TMemMapItem& item) {
    devices.Add(std::make_unique<TInputPortModel>(port, item.InName, item.InFile, item.Visible),
                {port}, {});
}

// --- Output and bidirectional port ---

// --- Log file ---

void TPortLogFile::Add(std::string line) {
    // After a step back, the lines already in the file come again.
    if (added_++ < written_) return;
    lines_.push_back(std::move(line));
    // A run that logs without end: the block goes to the file now. A file
    // that cannot be written stops the run (the error reaches it).
    if (lines_.size() >= kSpillLines) Flush();
}

void TPortLogFile::Flush() {
    WriteTextLines(path_, lines_, replace_ ? TWriteMode::Replace : TWriteMode::Append);
    replace_ = false;
    written_ += static_cast<std::int64_t>(lines_.size());
    lines_.clear();
}

void TPortLogFile::BackTo(std::int64_t count) {
    if (count >= added_) return;
    added_ = count;
    lines_.resize(static_cast<std::size_t>(std::max<std::int64_t>(count - written_, 0)));
}

TOutputPortModel::TOutputPortModel(int port, bool outputOnly, std::string name, std::int32_t value,
                                   std::shared_ptr<TPortLogFile> logFile, std::string format,
                                   bool visible)
    : port_(port), outputOnly_(outputOnly), name_(std::move(name)), value_(value),
      logFile_(std::move(logFile)),
      format_(format.empty() ? std::string(kDefaultLogFormat) : std::move(format)),
      visible_(visible) {}

void TOutputPortModel::SetValue(std::int32_t value, const TMessageHandler& onMessage) {
    value_ = value;
    if (!logFile_) return;
    std::string line;
    try {
        line = FormatLogLine(format_, value);
    } catch (const EFormatError&) {
        if (onMessage)
            onMessage("Bad format specifier \"" + format_ + "\" at port $" + HexText(port_, 2));
        return;
    }
    logFile_->Add(std::move(line));
}

const std::vector<std::string>& TOutputPortModel::LogLines() const {
    static const std::vector<std::string> none;
    return logFile_ ? logFile_->PendingLines() : none;
}

void TOutputPortModel::ToggleBit(int bit, const TMessageHandler& onMessage) {
    if (outputOnly_) return;
    SetValue(value_ ^ (1 << (bit & 7)), onMessage);
}

void TOutputPortModel::EnterValue(std::int32_t value, const TMessageHandler& onMessage) {
    if (outputOnly_) return;
    SetValue(value & 0xFF, onMessage);
}

std::int32_t TOutputPortModel::PortRead(int, const TDeviceReports&) {
    return value_;
}

void TOutputPortModel::PortWrite(int, std::int32_t value, const TDeviceReports& reports) {
    SetValue(value, reports.Message);
}

void TOutputPortModel::SaveState(TStateWriter& out) const {
    out.Put(value_);
}

void TOutputPortModel::RestoreState(TStateReader& in) {
    in.Get(value_);
}

TDeviceDescription TOutputPortModel::Describe() const {
    return {name_, {port_}, {{"value", value_}}};
}

namespace {

std::unique_ptr<TOutputPortModel> MakeOutputModel(IDeviceSet& devices, int port,
                                                  const TMemMapItem& item, bool outputOnly) {
    return std::make_unique<TOutputPortModel>(port, outputOnly, item.OutName, item.Value,
                                              devices.LogFileNamed(item.OutFile), item.OutFormat,
                                              item.Visible);
}

} // namespace

void MakeOutputPort(IDeviceSet& devices, int port, const TMemMapItem& item) {
    devices.Add(MakeOutputModel(devices, port, item, true), {}, {port});
}

void MakeBidirectionalPort(IDeviceSet& devices, int port, const TMemMapItem& item) {
    devices.Add(MakeOutputModel(devices, port, item, false), {port}, {port});
}

void MakeInOutPort(IDeviceSet& devices, int port, const TMemMapItem& item) {
    MakeInputPort(devices, port, item);
    MakeOutputPort(devices, port, item);
}

// --- Scratch pad ---

void TScratchPadModel::Setup(int size) {
    bytes_.fill(0);
    size_ = std::clamp(size, 0, kCapacity);
}

std::int32_t TScratchPadModel::Read(int offset) const {
    return offset >= 0 && offset < size_ ? bytes_[offset] : 0;
}

void TScratchPadModel::Write(int offset, std::int32_t value) {
    if (offset >= 0 && offset < size_) bytes_[offset] = value;
}

void TScratchPadModel::SaveState(TStateWriter& out) const {
    out.Put(size_);
    for (int offset = 0; offset < size_; ++offset)
        out.Put(bytes_[offset]);
}

void TScratchPadModel::RestoreState(TStateReader& in) {
    in.Get(size_);
    for (int offset = 0; offset < size_; ++offset)
        in.Get(bytes_[offset]);
}

} // namespace korvo
