#pragma once

#include <string>
#include <vector>

namespace korvo {

// The log pane as the core sees it. Lines that begin with "!" are progress
// messages, "?" errors, "Line " assembler errors and "Failure: " failed file
// or setting operations; the front end colours them by that prefix.
class ILog {
public:
    virtual ~ILog() = default;
    virtual void AddLogLine(const std::string& text) = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
};

// Brackets a run of log lines; ends the update on every way out.
class TLogUpdateGuard {
public:
    explicit TLogUpdateGuard(ILog& log) : log_(log) { log_.BeginUpdate(); }
    ~TLogUpdateGuard() { log_.EndUpdate(); }
    TLogUpdateGuard(const TLogUpdateGuard&) = delete;
    TLogUpdateGuard& operator=(const TLogUpdateGuard&) = delete;

private:
    ILog& log_;
};

// Collects the lines in memory; used by tests and by front ends that print
// the lines afterwards.
class TStringListLog : public ILog {
public:
    void AddLogLine(const std::string& text) override { Lines.push_back(text); }
    void BeginUpdate() override { ++UpdateDepth; }
    void EndUpdate() override { --UpdateDepth; }
    std::vector<std::string> Lines;
    int UpdateDepth = 0;
};

// Discards everything.
class TNullLog : public ILog {
public:
    void AddLogLine(const std::string&) override {}
};

} // namespace korvo
