#pragma once

// The run-time models behind the simulator's port events: what an input,
// output or bidirectional port holds and the scratch pad bytes (the UART has
// its own, uart_model.h). Front ends show and edit them; none of them knows a window.

#include "simulator/port_device.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

// An input port: the value the switches set, fed from a stimulus file when
// the port has one, one line per read.
class TInputPortModel final : public IPortDevice {
public:
    TInputPortModel(int port, std::string name, std::string stimulusFile, bool visible);

    int Port() const { return port_; }
    const std::string& Name() const { return name_; }
    bool Visible() const { return visible_; }
    const std::string& StimulusFile() const { return stimulusFile_; }
    bool HasStimulus() const { return !stimulusFile_.empty(); }

    std::int32_t Value() const { return value_; }
    // The user sets the value (switches, entry dialog).
    void SetValue(std::int32_t value) { value_ = value; }

    // Reloads the stimulus file; its first line becomes the value, so that
    // the program's first read returns it. A file that cannot be read is
    // reported and feeds nothing until the next reset.
    void Reset(const TStimulusFaultHandler& onFault);
    // A read by the program: the current value, after which the next
    // stimulus line becomes the value. A line that is not a value from 0 to
    // 255 is reported and leaves the value as it was.
    std::int32_t Read(const TStimulusFaultHandler& onFault);

    std::int32_t PortRead(int port, const TDeviceReports& reports) override;
    void PortWrite(int port, std::int32_t value, const TDeviceReports& reports) override;
    void Reset(const TDeviceReports& reports) override { Reset(reports.StimulusFault); }
    TDeviceDescription Describe() const override;
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;

private:
    void Advance(const TStimulusFaultHandler& onFault);

    int port_;
    std::string name_;
    std::string stimulusFile_;
    bool visible_;
    std::int32_t value_ = 0;
    // The stimulus file as read, and where its next line starts: a file of
    // many short lines takes no more memory than its own size.
    std::string stimuli_;
    std::size_t nextStimulus_ = 0;
    int stimulusLine_ = 0;
};

// The log file of one or more output ports: the lines they log, in the
// order written. The lines wait in memory until Flush; a long run writes
// them out in blocks of kSpillLines, so that the log never fills the
// memory. The first write after Restart replaces the file, later writes add
// to it.
class TPortLogFile {
public:
    static constexpr std::size_t kSpillLines = 65536;

    explicit TPortLogFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }
    // Lines not yet in the file.
    const std::vector<std::string>& PendingLines() const { return lines_; }
    // Throws EFileError when a full block cannot be written.
    void Add(std::string line);
    // Writes the pending lines and empties the list. Throws EFileError; the
    // lines are kept then.
    void Flush();
    // A new run: the next write replaces the file.
    void Restart() {
        replace_ = true;
        added_ = written_ = 0;
    }
    // Lines added since the last restart, those in the file included.
    std::int64_t LinesAdded() const { return added_; }
    // Back to when count lines had been added (a step back): pending lines
    // after them are dropped; lines already in the file stay there, and as
    // many lines added again are taken as those.
    void BackTo(std::int64_t count);

private:
    std::string path_;
    std::vector<std::string> lines_;
    bool replace_ = true;
    std::int64_t added_ = 0;
    std::int64_t written_ = 0;
};

// An output port (LEDs the program lights) or, when not output-only, a
// bidirectional port both sides can change. With a log file every value
// set becomes a log line in the port's format; ports that name the same
// file share it.
class TOutputPortModel final : public IPortDevice {
public:
    TOutputPortModel(int port, bool outputOnly, std::string name, std::int32_t value,
                     std::shared_ptr<TPortLogFile> logFile, std::string format, bool visible);

    int Port() const { return port_; }
    bool OutputOnly() const { return outputOnly_; }
    const std::string& Name() const { return name_; }
    bool Visible() const { return visible_; }
    bool HasLog() const { return logFile_ != nullptr; }
    // Null when the port has no log file.
    TPortLogFile* LogFile() const { return logFile_.get(); }
    const std::string& Format() const { return format_; }
    // Log lines (of every port sharing the file) not yet in the log file.
    const std::vector<std::string>& LogLines() const;
    std::int32_t Value() const { return value_; }

    // A write by the program: the new value, logged when the port has a log
    // file. A format that cannot be applied is reported and logs nothing.
    void SetValue(std::int32_t value, const TMessageHandler& onMessage);
    // The value before the program runs, as the declaration gives it: not
    // logged.
    void SetInitialValue(std::int32_t value) { value_ = value; }
    // User changes; an output-only port ignores them.
    void ToggleBit(int bit, const TMessageHandler& onMessage);
    void EnterValue(std::int32_t value, const TMessageHandler& onMessage);

    // A bidirectional port reads its value.
    std::int32_t PortRead(int port, const TDeviceReports& reports) override;
    void PortWrite(int port, std::int32_t value, const TDeviceReports& reports) override;
    TDeviceDescription Describe() const override;
    // The value; the log file keeps its lines itself (TSimulationIO).
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;

private:
    int port_;
    bool outputOnly_;
    std::string name_;
    std::int32_t value_;
    std::shared_ptr<TPortLogFile> logFile_;
    std::string format_;
    bool visible_;
};

// The factories of the port kinds: an input port, an output port, a
// bidirectional port, and an input and an output port at one address.
void MakeInputPort(IDeviceSet& devices, int port, const TMemMapItem& item);
void MakeOutputPort(IDeviceSet& devices, int port, const TMemMapItem& item);
void MakeBidirectionalPort(IDeviceSet& devices, int port, const TMemMapItem& item);
void MakeInOutPort(IDeviceSet& devices, int port, const TMemMapItem& item);

// The scratch pad bytes: the memory FETCH and STORE reach. Places at or
// beyond the size read 0 and ignore writes.
class TScratchPadModel {
public:
    static constexpr int kCapacity = 256;

    // Empties all bytes and sets how many exist.
    void Setup(int size);
    int Size() const { return size_; }
    std::int32_t Read(int offset) const;
    // Also the user's edits.
    void Write(int offset, std::int32_t value);
    void SaveState(TStateWriter& out) const;
    void RestoreState(TStateReader& in);

private:
    std::array<std::int32_t, kCapacity> bytes_{};
    int size_ = 0;
};

} // namespace korvo
