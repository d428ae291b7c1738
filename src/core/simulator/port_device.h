#pragma once

// The device interface of the peripherals: what the I/O router holds by
// port and asks to read, write, reset and describe itself. A new peripheral
// is a model that implements IPortDevice with its factory, a TMemKind with
// its row in device_kinds.h (how IN and OUT reach it), its directive (a row
// in directive_table.h and its pass 2 handler next to the other port
// declarations) and its panel; the compiler points at the switches over
// TMemKind that must place the new kind.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvo {

class TPortLogFile;
class TStateReader;
class TStateWriter;
struct TMemMapItem;

// Receives what a front end shows in a message box ("abc is not an
// integer", "Bad format specifier ..."); the simulation goes on.
using TMessageHandler = std::function<void(const std::string& text)>;

// A stimulus file that cannot be read (Line 0, Text the reason) or a line of
// it that is not a port value (Text "abc is not an integer"); the port keeps
// its value.
struct TStimulusFault {
    std::string File;
    int Line = 0;
    std::string Text;
};
using TStimulusFaultHandler = std::function<void(const TStimulusFault& fault)>;

// Where a device's messages and stimulus faults go while it serves the
// program.
struct TDeviceReports {
    const TMessageHandler& Message;
    const TStimulusFaultHandler& StimulusFault;
};

// What a device shows of itself: its name, the ports it holds and its state
// as keys and values, in the order they are shown. A device whose state has
// a "value" shows it as the value of its ports.
struct TDeviceDescription {
    std::string Name;
    std::vector<int> Ports;
    std::vector<std::pair<std::string, std::int64_t>> State;
};

class IPortDevice {
public:
    virtual ~IPortDevice() = default;

    // An IN of the program from one of its ports. May throw EIOError, which
    // refuses the access; another exception fails it.
    virtual std::int32_t PortRead(int port, const TDeviceReports& reports) = 0;
    // An OUT (or OUTK) of the program to one of its ports.
    virtual void PortWrite(int port, std::int32_t value, const TDeviceReports& reports) = 0;
    // A reset of the core: the device starts a new run.
    virtual void Reset(const TDeviceReports& reports) { (void)reports; }
    // Brings a device that runs in simulated time up to the present (at the
    // yields and the end of a run).
    virtual void Synchronize() {}
    virtual TDeviceDescription Describe() const = 0;
    // What stepping back needs of the device: its state, written and read
    // back in the same order (state_bytes.h). A device without state of its
    // own writes nothing.
    virtual void SaveState(TStateWriter& out) const { (void)out; }
    virtual void RestoreState(TStateReader& in) { (void)in; }
};

// What a factory registers its devices with.
class IDeviceSet {
public:
    // Takes the device and routes to it the reads of readPorts and the
    // writes of writePorts; a port already routed keeps its device.
    virtual IPortDevice& Add(std::unique_ptr<IPortDevice> device,
                             std::initializer_list<int> readPorts,
                             std::initializer_list<int> writePorts) = 0;
    // The log file of that name, shared by every port that names it; null
    // for an empty name.
    virtual std::shared_ptr<TPortLogFile> LogFileNamed(const std::string& name) = 0;
    // The UARTs' line speed and the processor clock.
    virtual std::int32_t UartBaud() const = 0;
    virtual std::int64_t ClockHz() const = 0;
    // The simulated time: the instructions completed.
    virtual std::function<std::int64_t()> InstructionClock() const = 0;

protected:
    ~IDeviceSet() = default;
};

// Builds the devices of one port of the port map.
using TDeviceFactory = void (*)(IDeviceSet& devices, int port, const TMemMapItem& item);

} // namespace korvo
