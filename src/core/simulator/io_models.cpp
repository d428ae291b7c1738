#include "simulator/io_models.h"

#include "common/text_file.h"
#include "simulator/log_format.h"
#include "simulator/number_text.h"
#include "simulator/sim_errors.h"

#include <algorithm>

namespace korvo {

// --- Input port ---

TInputPortModel::TInputPortModel(int port, std::string name, std::string stimulusFile, bool visible)
    : port_(port), name_(std::move(name)), stimulusFile_(std::move(stimulusFile)),
      visible_(visible) {}

void TInputPortModel::Load() {
    auto lines = ReadTextLines(stimulusFile_);
    stimuli_.assign(lines.begin(), lines.end());
}

void TInputPortModel::Advance(const TMessageHandler& onMessage) {
    if (stimuli_.empty()) return;
    std::string line = std::move(stimuli_.front());
    stimuli_.pop_front();
    if (auto value = ParseIntegerText(line))
        value_ = *value;
    else if (onMessage)
        onMessage(line + " is not an integer");
}

void TInputPortModel::Reset(const TMessageHandler& onMessage) {
    if (!HasStimulus()) return;
    stimuli_.clear();
    try {
        Load();
    } catch (const EFileError&) {
        loadPending_ = true;
        return;
    }
    loadPending_ = false;
    Advance(onMessage);
}

std::int32_t TInputPortModel::Read(const TMessageHandler& onMessage) {
    if (loadPending_) {
        Load();
        loadPending_ = false;
        Advance(onMessage);
    }
    std::int32_t result = value_;
    Advance(onMessage);
    return result;
}

// --- Output and bidirectional port ---

TOutputPortModel::TOutputPortModel(int port, bool outputOnly, std::string name, std::int32_t value,
                                   std::string logFile, std::string format, bool visible)
    : port_(port), outputOnly_(outputOnly), name_(std::move(name)), value_(value),
      logFile_(std::move(logFile)),
      format_(format.empty() ? std::string(kDefaultLogFormat) : std::move(format)),
      visible_(visible) {}

void TOutputPortModel::SetValue(std::int32_t value, const TMessageHandler& onMessage) {
    value_ = value;
    if (!HasLog()) return;
    try {
        logLines_.push_back(FormatLogLine(format_, value));
    } catch (const EFormatError&) {
        if (onMessage)
            onMessage("Bad format specifier \"" + format_ + "\" at port $" + HexText(port_, 2));
        return;
    }
    if (logLines_.size() >= kLogSpillLines) {
        // A run that logs without end: the block goes to the file now. A
        // file that cannot be written stops the run (the error reaches it).
        if (spilled_)
            AppendTextLines(logFile_, logLines_);
        else
            WriteTextLines(logFile_, logLines_);
        spilled_ = true;
        logLines_.clear();
    }
}

void TOutputPortModel::ToggleBit(int bit, const TMessageHandler& onMessage) {
    if (outputOnly_) return;
    SetValue(value_ ^ (1 << (bit & 7)), onMessage);
}

void TOutputPortModel::EnterValue(std::int32_t value, const TMessageHandler& onMessage) {
    if (outputOnly_) return;
    SetValue(value & 0xFF, onMessage);
}

void TOutputPortModel::FlushLog() {
    if (!HasLog()) return;
    if (spilled_)
        AppendTextLines(logFile_, logLines_);
    else
        WriteTextLines(logFile_, logLines_);
    spilled_ = false;
    logLines_.clear();
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

} // namespace korvo
